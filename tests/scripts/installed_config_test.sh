#!/usr/bin/env bash
# The program as installed: in a folder its user cannot write, started by a
# user whose configuration folder is still empty. Its settings go to
# $XDG_CONFIG_HOME/tarnlist/, the first run is silent, nothing lands beside
# the program or in the current folder.
#   installed_config_test.sh TARNLIST CORPUS SCRATCH
set -u
tarnlist=$1 corpus=$2 scratch=$3
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

# Root may write anywhere: the runs then go as "nobody", for whom the
# program's folder is as closed as /usr/bin is to a user.
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null 2>&1 || tl_skip "running as root without setpriv"
  as_user() { setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"; }
  open_mode=0777
else
  as_user() { "$@"; }
  open_mode=0755
fi

mkdir -p "$scratch"
work=$(mktemp -d "$scratch/run.XXXXXX")
chmod 0755 "$work"
if ! as_user test -x "$work"; then
  rm -rf "$work"
  work=$(mktemp -d "${TMPDIR:-/tmp}/tarnlist-installed.XXXXXX")
  chmod 0755 "$work"
fi
finish() {
  chmod -R u+w "$work" 2>/dev/null
  if [ "$TL_FAILURES" -eq 0 ]; then rm -rf "$work"; else echo "files kept in $work"; fi
}
trap finish EXIT

bin=$work/prefix/bin
mkdir -p "$bin" "$work/home/config" "$work/cwd" "$work/out" "$work/runtime"
cp "$tarnlist" "$bin/tarnlist"
chmod 0555 "$bin" "$work/prefix"
chmod "$open_mode" "$work/home" "$work/home/config" "$work/cwd" "$work/out"
chmod 0700 "$work/runtime"
[ "$(id -u)" -ne 0 ] || chown 65534:65534 "$work/runtime"
as_user test -w "$bin" && tl_skip "the program's folder stays writable for this user"

# A Clarion file the analyser accepts, from the corpus when it is here.
source_file=
if [ -d "$corpus" ]; then
  while IFS= read -r f; do
    if TARNLIST_CONFIG=$work/probe.DAT "$tarnlist" --dump structure "$f" >/dev/null 2>&1 &&
      as_user test -r "$f"; then
      source_file=$f
      break
    fi
  done < <(find "$corpus" -type f -iname '*.clw' | LC_ALL=C sort | head -n 20)
fi
if [ -z "$source_file" ]; then
  source_file=$work/main.clw
  printf '  PROGRAM\n  MAP\n  END\n  CODE\n  RETURN\n' >"$source_file"
  chmod 0644 "$source_file"
fi

# run_installed VAR=VALUE...: a clean environment, as a new session has it.
err=$work/stderr
run_installed() {
  (cd "$work/cwd" && as_user env -i PATH="$PATH" LC_ALL=C TZ=UTC XDG_RUNTIME_DIR="$work/runtime" \
    CUPS_SERVER="$work/no-cups.sock" ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} "$@" \
    "$bin/tarnlist" --pdf "$work/out/listing.pdf" "$source_file") >/dev/null 2>"$err"
  status=$?
}
config=$work/home/config/tarnlist/tarnlist.DAT
nothing_left_about() {
  [ -z "$(ls -A "$work/cwd")" ] || tl_fail "$1: files in the current folder: $(ls -A "$work/cwd")"
  [ "$(ls -A "$bin")" = tarnlist ] || tl_fail "$1: files beside the program: $(ls -A "$bin")"
}

tl_group "first run of an installed program with an empty configuration folder"
run_installed HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
[ "$status" -eq 0 ] || tl_fail "first run: exit status $status"
[ ! -s "$err" ] || tl_fail "first run wrote on standard error: $(head -n3 "$err")"
[ -s "$work/out/listing.pdf" ] || tl_fail "first run printed no PDF"
if [ "$(stat -c %s "$config" 2>/dev/null)" != 550 ] ||
  [ "$(od -An -tx1 -N4 "$config" | tr -d ' ')" != 01000000 ]; then
  tl_fail "no 550-byte version-1 settings file at $config"
fi
nothing_left_about "first run"
run_installed HOME="$work/home" XDG_CONFIG_HOME="$work/home/config"
[ "$status" -eq 0 ] && [ ! -s "$err" ] ||
  tl_fail "second run: exit status $status, standard error: $(head -n3 "$err")"
tl_group_end

# Without HOME and XDG_CONFIG_HOME the home folder comes from the password
# database; nobody's does not exist, so the save fails and says so.
if [ "$(id -u)" -eq 0 ] && home=$(getent passwd 65534 | cut -d: -f6) && [ ! -e "$home" ]; then
  tl_group "no home folder at all"
  run_installed
  grep -qF "Error writing config file" "$err" ||
    tl_fail "no home: no 'Error writing config file' (got: $(head -n3 "$err"))"
  nothing_left_about "no home"
  tl_group_end
fi

if [ "$TL_FAILURES" -gt 0 ]; then
  echo "$TL_FAILURES check(s) failed"
  exit 1
fi
echo "all installed-configuration checks passed"
