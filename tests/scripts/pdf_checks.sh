# shellcheck shell=bash
# Shared by the script tests: reading produced listings back with poppler's
# pdfinfo and pdftotext, and reporting failures without stopping at the first.
# Sourced; the caller sets nothing but may read TL_FAILURES afterwards.

TL_FAILURES=0

tl_fail() {
  echo "FAIL: $*"
  TL_FAILURES=$((TL_FAILURES + 1))
}

tl_ok() { echo "ok: $*"; }

# tl_group NAME ... tl_group_end: one "ok" line for a group of checks that
# all passed.
tl_group() { TL_GROUP=$1 TL_GROUP_START=$TL_FAILURES; }
tl_group_end() { [ "$TL_FAILURES" -ne "$TL_GROUP_START" ] || tl_ok "$TL_GROUP${1:+ ($1)}"; }

# tl_skip REASON: ends the test as skipped (CTest's SKIP_RETURN_CODE).
tl_skip() {
  echo "SKIPPED: $*"
  exit 77
}

# tl_work_folder SCRATCH: makes a fresh folder in SCRATCH as `work`, removed
# at exit unless a check failed, and points the program's settings, profile,
# state and printers into it.
tl_work_folder() {
  mkdir -p "$1"
  work=$(mktemp -d "$1/run.XXXXXX")
  trap 'if [ "$TL_FAILURES" -eq 0 ]; then rm -rf "$work"; else echo "files kept in $work"; fi' EXIT
  export TARNLIST_CONFIG=$work/tarnlist.DAT TARNLIST_PROFILE=$work/win.ini HOME=$work/home
  export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
  export CUPS_SERVER=$work/no-cups.sock
  unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM PRINTER LPDEST
  mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
}

tl_need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || tl_skip "$tool is not installed"
  done
}

tl_page_count() {
  pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'
}

tl_page_text() {
  pdftotext -f "$2" -l "$2" "$1" - 2>/dev/null
}

# The page as laid out: a band's texts stay on one line.
tl_page_layout() {
  pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null
}

# tl_outline PDF: the outline, one line an item: depth, title, page.
tl_outline() {
  qpdf --json --json-key=outlines "$1" | python3 -c '
import json, sys
def walk(items, depth):
    for i in items:
        print(depth, i["title"], i["destpageposfrom1"], sep="\t")
        walk(i["kids"], depth + 1)
walk(json.load(sys.stdin)["outlines"], 0)'
}

# Whitespace squeezed, so that a column's padding never decides a match.
tl_squeeze() { tr -s '[:space:]' ' '; }

# The first word (up to 12 plain characters) of the first or last line with a
# letter or digit on it: proof that the file's text really reached the page.
tl_first_word() { grep -a -m1 '[[:alnum:]]' "$1" | tr -d '\r' | grep -aoE '[[:alnum:]_:!.]{1,12}' | head -n1; }
tl_last_word() { grep -a '[[:alnum:]]' "$1" | tail -n1 | tr -d '\r' | grep -aoE '[[:alnum:]_:!.]{1,12}' | head -n1; }

# shellcheck disable=SC2034  # TL_PAGES is read by the callers
# tl_check_listing PDF SOURCE [NAME]: the checks every printed listing must
# pass. NAME is the file name the header shows (default: SOURCE's).
# Sets TL_PAGES to the page count.
tl_check_listing() {
  local pdf=$1 source=$2 name=${3:-$(basename "$2")}
  local failures_before=$TL_FAILURES
  TL_PAGES=0
  if [ ! -s "$pdf" ]; then
    tl_fail "$name: no PDF at $pdf"
    return 1
  fi
  local pages lines
  pages=$(tl_page_count "$pdf")
  if ! [ "${pages:-0}" -gt 0 ] 2>/dev/null; then
    tl_fail "$name: pdfinfo finds no pages in $pdf"
    return 1
  fi
  TL_PAGES=$pages
  # Two columns of about 80 lines a page and at least one printed line per
  # source line: far fewer pages means lost text, far more means empty pages.
  lines=$(wc -l <"$source")
  if [ "$pages" -lt $((lines / 200)) ] || [ "$pages" -gt $((lines / 10 + 1)) ]; then
    tl_fail "$name: $pages pages is implausible for $lines lines"
  fi
  local n text last_has_end=0
  for ((n = 1; n <= pages; n++)); do
    text=$(tl_page_text "$pdf" "$n")
    grep -qF -- "$name" <<<"$text" || tl_fail "$name: page $n has no file name in its header"
    grep -qE "(^|[[:space:]])Page $n([[:space:]]|\$)" <<<"$text" ||
      tl_fail "$name: page $n does not say 'Page $n'"
    grep -qF "Printed:" <<<"$text" || tl_fail "$name: page $n has no 'Printed:' in its footer"
    grep -qF "Modified:" <<<"$text" || tl_fail "$name: page $n has no 'Modified:' in its footer"
    if grep -qF "END OF LISTING" <<<"$text"; then
      if [ "$n" -eq "$pages" ]; then last_has_end=1; else
        tl_fail "$name: 'END OF LISTING' on page $n of $pages"
      fi
    fi
  done
  [ "$last_has_end" -eq 1 ] || tl_fail "$name: no 'END OF LISTING' on the last page ($pages)"
  local first last
  first=$(tl_first_word "$source")
  last=$(tl_last_word "$source")
  if [ -n "$first" ] && ! tl_page_text "$pdf" 1 | grep -qF -- "$first"; then
    tl_fail "$name: the file's first word '$first' is not on page 1"
  fi
  # When the text ends exactly as a page fills, the end marker gets a page of
  # its own, so the last line may stand on the page before.
  if [ -n "$last" ] && ! { tl_page_text "$pdf" "$pages"; tl_page_text "$pdf" $((pages - 1)); } |
    grep -qF -- "$last"; then
    tl_fail "$name: the file's last word '$last' is not on the last pages"
  fi
  [ "$TL_FAILURES" -eq "$failures_before" ]
}
