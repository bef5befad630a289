#!/usr/bin/env bash
# Checks what a user installs: the desktop entry, file type, manual page and
# shell completion with the tools that read them, then the Debian package
# built by CPack: its contents, its control data, lintian, and the program
# unpacked from it printing a real file and finding its help page.
#   package_test.sh TARNLIST CORPUS SCRATCH BUILD_DIR SOURCE_DIR CPACK
set -u
tarnlist=$1 corpus=$2 scratch=$3 build=$4 source=$5 cpack=$6
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

tl_need_tools dpkg-deb dpkg desktop-file-validate xmllint update-mime-database man pdfinfo pdftotext

export LC_ALL=C.UTF-8 TZ=UTC
mkdir -p "$scratch"
work=$(mktemp -d "$scratch/run.XXXXXX")
finish() {
  if [ "$TL_FAILURES" -eq 0 ]; then rm -rf "$work"; else echo "files kept in $work"; fi
}
trap finish EXIT

export TARNLIST_CONFIG=$work/tarnlist.DAT TARNLIST_PROFILE=$work/win.ini HOME=$work/home
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
export CUPS_SERVER=$work/no-cups.sock QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY PRINTER LPDEST
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

pkg=$source/packaging
desktop=$pkg/tarnlist.desktop
mime=$pkg/tarnlist.xml
manpage=$build/packaging/tarnlist.1
completion=$pkg/tarnlist.bash-completion

# Every long option the program's --help names, and --open: the manual page
# and the completion must know them all.
mapfile -t options < <({ "$tarnlist" --help | grep -oE -- '--[a-z][a-z-]+'; echo --open; } | sort -u)
[ "${#options[@]}" -ge 8 ] || tl_fail "--help names only ${#options[@]} options: ${options[*]}"
version=$("$tarnlist" --version | sed -n 's/^tarnlist //p')
[ -n "$version" ] || tl_fail "--version shows no version"

# desktop_value FILE GROUP KEY
desktop_value() {
  awk -F= -v group="[$2]" -v key="$3" '
    /^\[/ { in_group = ($0 == group) }
    in_group && $1 == key { sub(/^[^=]*=/, ""); print; exit }' "$1"
}

# --- Desktop entry -------------------------------------------------------------
tl_group "desktop entry"
out=$(desktop-file-validate "$desktop" 2>&1)
grep -E 'error|warning' <<<"$out" && tl_fail "desktop-file-validate: $out"
# The file manager's "Open with" must open files, never print them.
exec_line=$(desktop_value "$desktop" "Desktop Entry" Exec)
[ "$exec_line" = "tarnlist --open %F" ] || tl_fail "Exec is '$exec_line'"
action=$(desktop_value "$desktop" "Desktop Entry" Actions)
[ -n "$action" ] && [ "$(desktop_value "$desktop" "Desktop Action ${action%%;*}" Exec)" = "tarnlist %f" ] ||
  tl_fail "no desktop action printing through 'tarnlist %f'"
# Every type the entry claims is one the MIME file defines.
IFS=';' read -ra types <<<"$(desktop_value "$desktop" "Desktop Entry" MimeType)"
[ "${#types[@]}" -gt 0 ] || tl_fail "the desktop entry names no MimeType"
for t in "${types[@]}"; do
  grep -qF "<mime-type type=\"$t\">" "$mime" || tl_fail "MimeType $t is not defined in tarnlist.xml"
done
tl_group_end

# --- File type ----------------------------------------------------------------
tl_group "MIME type file"
xmllint --noout "$mime" || tl_fail "xmllint rejects tarnlist.xml"
schema=/usr/share/shared-mime-info/shared-mime-info.xsd
if [ -f "$schema" ]; then
  xmllint --noout --schema "$schema" "$mime" 2>&1 || tl_fail "tarnlist.xml does not follow $schema"
fi
# What the desktop's own tool makes of it: a weight and a case flag per glob.
mimedb=$work/mime
mkdir -p "$mimedb/packages" && cp "$mime" "$mimedb/packages/"
update-mime-database "$mimedb" >"$work/mime.log" 2>&1 || tl_fail "update-mime-database: $(cat "$work/mime.log")"
grep -qx 'text/x-clarion text/plain' "$mimedb/subclasses" 2>/dev/null ||
  tl_fail "text/x-clarion is not a sub-class of text/plain"
# glob, weight; the .inc globs weigh less, since other languages use .inc too.
while read -r glob weight; do
  grep -qxF "$weight:text/x-clarion:$glob:cs" "$mimedb/globs2" 2>/dev/null ||
    tl_fail "no case-sensitive glob $glob of weight $weight for text/x-clarion"
done <<'EOF'
*.clw 50
*.CLW 50
*.inc 30
*.INC 30
EOF
grep -q '^50:text/x-clarion:\*\.equ$' "$mimedb/globs2" || tl_fail "no glob *.equ for text/x-clarion"
tl_group_end

# --- Manual page ----------------------------------------------------------------
tl_group "manual page"
if [ -f "$manpage" ]; then
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$manpage" 2>&1 >"$work/man.txt")
  [ -z "$warnings" ] || tl_fail "man --warnings: $warnings"
  for section in NAME SYNOPSIS DESCRIPTION OPTIONS ENVIRONMENT FILES "EXIT STATUS" EXAMPLES; do
    grep -qx "$section" "$work/man.txt" || tl_fail "the manual page has no $section section"
  done
  for o in "${options[@]}"; do
    grep -qF -- "$o" "$work/man.txt" || tl_fail "the manual page does not describe $o"
  done
  for v in TARNLIST_CONFIG TARNLIST_PROFILE TARNLIST_EDITOR SOURCE_DATE_EPOCH XDG_CONFIG_HOME \
    XDG_STATE_HOME; do
    grep -qF -- "$v" "$work/man.txt" || tl_fail "the manual page does not mention $v"
  done
  grep -qF "tarnlist $version" "$work/man.txt" || tl_fail "the manual page does not show version $version"
else
  tl_fail "no manual page built at $manpage"
fi
tl_group_end

# --- Bash completion --------------------------------------------------------------
if [ -f /usr/share/bash-completion/bash_completion ]; then
  tl_group "bash completion"
  files=$work/completion
  mkdir -p "$files/sub dir" "$files/lib"
  touch "$files"/{a.clw,B.CLW,c.inc,D.INC,e.equ,f.txt,g.pdf}
  # Each case: the words typed (the last one being completed) | the sorted
  # completions expected.
  cases=$(
    cat <<'EOF'
tarnlist ''|B.CLW D.INC a.clw c.inc e.equ lib sub dir
tarnlist --open a.clw ''|B.CLW D.INC a.clw c.inc e.equ lib sub dir
tarnlist --project ''|B.CLW a.clw lib sub dir
tarnlist --pdf ''|g.pdf lib sub dir
tarnlist @''|@B.CLW @D.INC @a.clw @c.inc @e.equ @f.txt @g.pdf @lib @sub dir
tarnlist --dump ''|layout project structure tokens
tarnlist --dump s|structure
tarnlist --include-path l|lib
tarnlist --include-path sub:l|lib
tarnlist --unit ''|
tarnlist --emb|--embed
EOF
  )
  got=$(
    cd "$files" && bash -c '
      . /usr/share/bash-completion/bash_completion
      . "$1"
      while IFS="|" read -r typed _; do
        eval "COMP_WORDS=($typed)"
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE=${COMP_WORDS[*]}
        COMP_POINT=${#COMP_LINE}
        COMPREPLY=()
        _tarnlist tarnlist "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s|%s\n" "$typed" "$(printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd" ")"
      done' _ "$completion" <<<"$cases" 2>&1
  )
  while IFS= read -r want; do
    grep -qxF -- "$want" <<<"$got" ||
      tl_fail "completion of '${want%%|*}': got '$(grep -F -- "${want%%|*}|" <<<"$got" | cut -d'|' -f2-)', expected '${want#*|}'"
  done <<<"$cases"
  offered=$(
    bash -c '. /usr/share/bash-completion/bash_completion; . "$1"
      COMP_WORDS=(tarnlist --); COMP_CWORD=1 COMP_LINE="tarnlist --" COMP_POINT=11
      _tarnlist tarnlist -- tarnlist; printf "%s\n" "${COMPREPLY[@]}"' _ "$completion"
  )
  for o in "${options[@]}"; do
    grep -qxF -- "$o" <<<"$offered" || tl_fail "the completion does not offer $o"
  done
  tl_group_end
else
  echo "notice: bash-completion is not installed; the completion file was not tried"
fi

# --- The Debian package ---------------------------------------------------------
[ -x "$cpack" ] || tl_skip "no cpack at $cpack"
[ -f "$build/CPackConfig.cmake" ] || { tl_fail "no CPackConfig.cmake in $build"; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/pkg/tarnlist_${version}_$arch.deb
if ! "$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  [ ! -f "$deb" ]; then
  tl_fail "cpack did not write $(basename "$deb"): $(tail -n 5 "$work/cpack.log"; ls "$work/pkg")"
  exit 1
fi
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"

tl_group "package contents"
dpkg-deb -c "$deb" >"$work/contents" || tl_fail "dpkg-deb -c failed"
for path in usr/bin/tarnlist usr/share/tarnlist/quorlo.html usr/share/applications/tarnlist.desktop \
  usr/share/icons/hicolor/scalable/apps/tarnlist.svg usr/share/icons/hicolor/48x48/apps/tarnlist.png \
  usr/share/icons/hicolor/256x256/apps/tarnlist.png usr/share/mime/packages/tarnlist.xml \
  usr/share/man/man1/tarnlist.1.gz usr/share/bash-completion/completions/tarnlist \
  usr/share/doc/tarnlist/copyright usr/share/doc/tarnlist/changelog.gz; do
  grep -qE " \./$path\$" "$work/contents" || tl_fail "the package has no /$path"
done
awk '$2 != "root/root" || $6 !~ /^\.\/usr\// && $6 != "./" && $6 != "./usr/"' "$work/contents" |
  grep . && tl_fail "entries not owned by root or outside /usr (above)"
grep -qE '^-rwxr-xr-x .* \./usr/bin/tarnlist$' "$work/contents" || tl_fail "/usr/bin/tarnlist is not mode 0755"
tl_group_end

tl_group "package control data"
dpkg-deb -I "$deb" >"$work/info" || tl_fail "dpkg-deb -I failed"
sed 's/^/  /' "$work/info"
[ "$(dpkg-deb -f "$deb" Package)" = tarnlist ] || tl_fail "the package is not named tarnlist"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
  tl_fail "package version $(dpkg-deb -f "$deb" Version), the program says $version"
depends=$(dpkg-deb -f "$deb" Depends)
depended=$(sed 's/, */\n/g' <<<"$depends" | awk '{ print $1 }')
for d in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libstdc++6 fonts-liberation \
  fonts-dejavu-core xdg-utils; do
  grep -qxF "$d" <<<"$depended" || tl_fail "Depends lacks $d: $depends"
done
mkdir -p "$work/control"
dpkg-deb -e "$deb" "$work/control"
for script in postinst postrm; do
  [ "$(stat -c %a "$work/control/$script" 2>/dev/null)" = 755 ] ||
    tl_fail "maintainer script $script missing or not mode 0755"
  sh -n "$work/control/$script" 2>/dev/null || tl_fail "maintainer script $script is not valid sh"
done
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || tl_fail "the package has no long description"
tl_group_end

# --- The unpacked program ---------------------------------------------------------
root=$work/root
dpkg-deb -x "$deb" "$root" || tl_fail "dpkg-deb -x failed"
program=$root/usr/bin/tarnlist

tl_group "unpacked files"
# The package ships the repository's files as they are.
while read -r packaged original; do
  cmp -s "$root/$packaged" "$original" || tl_fail "/$packaged differs from $original"
done <<EOF
usr/share/applications/tarnlist.desktop $desktop
usr/share/mime/packages/tarnlist.xml $mime
usr/share/icons/hicolor/scalable/apps/tarnlist.svg $pkg/icons/tarnlist.svg
usr/share/icons/hicolor/48x48/apps/tarnlist.png $pkg/icons/tarnlist-48.png
usr/share/icons/hicolor/256x256/apps/tarnlist.png $pkg/icons/tarnlist-256.png
usr/share/bash-completion/completions/tarnlist $completion
usr/share/doc/tarnlist/copyright $source/LICENSE
usr/share/tarnlist/quorlo.html $source/help/quorlo.html
EOF
gzip -dc "$root/usr/share/man/man1/tarnlist.1.gz" | cmp -s - "$manpage" ||
  tl_fail "the packaged manual page is not the built one"
# The icon sizes are those of their folders.
for size in 48 256; do
  file_size=$(od -An -tu1 -j16 -N8 "$root/usr/share/icons/hicolor/${size}x${size}/apps/tarnlist.png" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 "x" $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
  [ "$file_size" = "${size}x$size" ] || tl_fail "the ${size}x$size icon is $file_size"
done
# The help page where the installed program looks for it, and finds it.
page=$(realpath -e "$(dirname "$program")/../share/tarnlist/quorlo.html" 2>/dev/null) ||
  tl_fail "no help page at ../share/tarnlist/quorlo.html from the program"
found=$("$program" --help | sed -n 's/^Help page: //p')
[ -n "$found" ] && [ "$(realpath -e "$found" 2>/dev/null)" = "$page" ] ||
  tl_fail "the unpacked program does not find its help page: '${found:-no Help page line}'"
tl_group_end

tl_group "unpacked program"
if command -v file >/dev/null; then
  file -b "$program" | grep -q ', stripped' || tl_fail "the program is not stripped: $(file -b "$program")"
fi
ldd "$program" 2>&1 | grep -F 'not found' && tl_fail "the program misses libraries (above)"
if command -v readelf >/dev/null; then
  readelf -d "$program" | grep -E 'RPATH|RUNPATH' && tl_fail "the program keeps a library path (above)"
fi
[ "$("$program" --version)" = "tarnlist $version" ] || tl_fail "the unpacked program's --version differs"
listing=$(find "$corpus" -type f -iname '*.clw' 2>/dev/null | LC_ALL=C sort | while IFS= read -r f; do
  n=$(wc -l <"$f")
  if [ "$n" -ge 50 ] && [ "$n" -le 400 ]; then echo "$f"; break; fi
done)
if [ -n "$listing" ]; then
  SOURCE_DATE_EPOCH=1700000000 "$program" --pdf "$work/listing.pdf" "$listing" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -eq 0 ] || tl_fail "the unpacked program printing $listing: status $status: $(head -n3 "$work/err")"
  [ -s "$work/err" ] && tl_fail "the unpacked program wrote messages: $(head -n3 "$work/err")"
  tl_check_listing "$work/listing.pdf" "$listing"
  [ "$(stat -c %s "$TARNLIST_CONFIG" 2>/dev/null)" = 550 ] ||
    tl_fail "the unpacked program did not save its 550-byte configuration file"
else
  echo "notice: no corpus file of 50 to 400 lines in $corpus; the unpacked program printed nothing"
fi
tl_group_end

# As installed: a user who may not write the program's folder and has no
# configuration yet gets one in $XDG_CONFIG_HOME/tarnlist, without a word.
tl_group "unpacked program as a new user"
# user_run COMMAND...: as an unprivileged user; status 77 when that cannot be.
user_run() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  if command -v setpriv >/dev/null && id nobody >/dev/null 2>&1; then
    user_run() { setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups -- "$@"; }
  else
    user_run() { return 77; }
  fi
fi
user=$work/user
mkdir -p "$user/config" "$user/state" "$user/home"
printf '  PROGRAM\n  CODE\n  MESSAGE(%s)\n' "'hello'" >"$user/hello.clw"
chmod -R a+rwX "$user" && chmod a+rx "$work"
mkdir -m 700 "$user/runtime"
[ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1 && chown nobody "$user/runtime"
chmod a-w "$root/usr/bin"
user_run env -u TARNLIST_CONFIG -u TARNLIST_PROFILE HOME="$user/home" \
  XDG_CONFIG_HOME="$user/config" XDG_STATE_HOME="$user/state" XDG_RUNTIME_DIR="$user/runtime" "$program" --pdf "$user/hello.pdf" "$user/hello.clw" >"$user/out" 2>"$user/err"
status=$?
chmod u+w "$root/usr/bin"
if [ "$status" -eq 77 ]; then
  echo "notice: running as root without setpriv; the new-user run was not tried"
else
  [ "$status" -eq 0 ] || tl_fail "status $status: $(head -n3 "$user/err")"
  [ -s "$user/err" ] && tl_fail "messages on standard error: $(head -n3 "$user/err")"
  [ "$(stat -c %s "$user/config/tarnlist/tarnlist.DAT" 2>/dev/null)" = 550 ] ||
    tl_fail "no configuration file written to \$XDG_CONFIG_HOME/tarnlist/tarnlist.DAT"
  [ -e "$root/usr/bin/tarnlist.DAT" ] && tl_fail "a configuration file was written beside the program"
  [ -s "$user/hello.pdf" ] || tl_fail "no PDF written"
fi
tl_group_end

# --- lintian ------------------------------------------------------------------------
if command -v lintian >/dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian" 2>&1
  status=$?
  echo "lintian: $(grep -c '^E:' "$work/lintian") errors, $(grep -c '^W:' "$work/lintian") warnings," \
    "$(grep -c '^I:' "$work/lintian") notes"
  sed 's/^/  /' "$work/lintian"
  [ "$status" -eq 0 ] || tl_fail "lintian finds errors (status $status)"
else
  echo "notice: lintian is not installed; the package was not checked by it"
fi

[ "$TL_FAILURES" -eq 0 ] || { echo "$TL_FAILURES failures"; exit 1; }
echo "all package checks passed"
