#!/usr/bin/env bash
# The README's install sequence in a clean clone, as a new user runs it:
# ./run.sh, then `cmake --install build --prefix P`; the installed program
# must run and find its help page, and every installed file be there.
#   readme_install_test.sh TARNLIST CORPUS SCRATCH SOURCE_DIR
set -u
scratch=$3 source=$4
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

tl_need_tools git cmake
git -C "$source" rev-parse HEAD >/dev/null 2>&1 || tl_skip "the sources are no git checkout"

tl_work_folder "$scratch"
export QT_QPA_PLATFORM=offscreen

tl_group "clone, ./run.sh, cmake --install"
# What has been committed, as CI and a new user get it.
git clone -q "$source" "$work/clone" || tl_fail "git clone failed"
cd "$work/clone" || exit 1
./run.sh --version >"$work/run.out" 2>"$work/run.err" ||
  { tail -n 20 "$work/run.err"; tl_fail "./run.sh --version failed"; }
grep -q '^tarnlist ' "$work/run.out" || tl_fail "./run.sh --version printed: $(cat "$work/run.out")"
prefix=$work/prefix
cmake --install build --prefix "$prefix" >"$work/install.out" 2>&1 ||
  { cat "$work/install.out"; tl_fail "cmake --install build --prefix P failed after ./run.sh"; }
tl_group_end

tl_group "the installed files"
for f in bin/tarnlist share/man/man1/tarnlist.1.gz share/tarnlist/quorlo.html \
  share/applications/tarnlist.desktop share/mime/packages/tarnlist.xml \
  share/bash-completion/completions/tarnlist share/doc/tarnlist/copyright \
  share/doc/tarnlist/changelog.gz share/icons/hicolor/scalable/apps/tarnlist.svg; do
  [ -s "$prefix/$f" ] || tl_fail "not installed: $f"
done
gzip -t "$prefix/share/man/man1/tarnlist.1.gz" 2>/dev/null || tl_fail "the manual page is no gzip file"
"$prefix/bin/tarnlist" --version | grep -q '^tarnlist ' || tl_fail "the installed program does not run"
"$prefix/bin/tarnlist" --help | grep -qF "Help page: $prefix/share/tarnlist/quorlo.html" ||
  tl_fail "the installed program does not find its help page"
tl_group_end

[ "$TL_FAILURES" -eq 0 ] || { echo "$TL_FAILURES failures"; exit 1; }
