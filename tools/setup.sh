# Sourced by run.sh and test.sh: installs the Debian packages the build and
# the tests need when they are missing, then configures and builds.

TARNLIST_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libfontconfig-dev
  libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation fonts-dejavu-core xdg-utils)
TARNLIST_TEST_PACKAGES=(poppler-utils qpdf cups cups-client cups-bsd
  printer-driver-cups-pdf xvfb xauth fonts-urw-base35 fonts-noto-mono
  dpkg-dev file desktop-file-utils libxml2-utils shared-mime-info man-db bash-completion lintian)

tarnlist_log() { echo "[tarnlist] $*" >&2; }

# Whether clang can link a libFuzzer target here (clang, libclang-rt-14-dev).
tarnlist_can_fuzz() {
  command -v clang++ >/dev/null 2>&1 || return 1
  local probe
  probe=$(mktemp -d)
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    >"$probe/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" >/dev/null 2>&1
  local ok=$?
  rm -rf "$probe"
  return $ok
}

tarnlist_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || echo "$p"
  done
}

tarnlist_ensure_packages() {
  local missing
  missing=$(tarnlist_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo="sudo"; else
      tarnlist_log "missing packages and no root rights to install them:" $missing
      return 1
    fi
  fi
  tarnlist_log "installing:" $missing
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq >&2
  # shellcheck disable=SC2086
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing >&2
}

# tarnlist_configure DIR [cmake options...]: configures DIR with these options
# every time (an option given by another script before must not linger), then
# the build is incremental.
tarnlist_configure() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >&2
}

# tarnlist_program REPO: the program the benchmarks run: $TARNLIST, else
# REPO/build/tarnlist, built (Release) when missing.
tarnlist_program() {
  local repo=$1
  if [ -n "${TARNLIST:-}" ]; then echo "$TARNLIST"; return; fi
  if [ ! -x "$repo/build/tarnlist" ]; then
    tarnlist_ensure_packages "${TARNLIST_BUILD_PACKAGES[@]}"
    tarnlist_configure "$repo/build" -DCMAKE_BUILD_TYPE=Release
    cmake --build "$repo/build" --target tarnlist >&2
  fi
  echo "$repo/build/tarnlist"
}
