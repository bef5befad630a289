#!/usr/bin/env bash
# Print-all of a 300-file project (about 12 MB of real Clarion: the corpus's
# .CLW and .INC files joined into members of about 40 kB) into PDF files with
# --jobs 1 and --jobs 2, and as one book; best of three whole runs each,
# compared with the targets.
#   bench/compare_project.sh            uses build/tarnlist (built when missing)
# Environment: TARNLIST (the program), TARNLIST_CORPUS (the corpus folder).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
. tools/setup.sh

tarnlist=$(tarnlist_program "$repo")
corpus=${TARNLIST_CORPUS:-$repo/../shared/corpus}
[ -d "$corpus" ] || { tarnlist_log "no corpus at $corpus"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnlist-project.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C SOURCE_DATE_EPOCH=1700000000
export TARNLIST_CONFIG=$work/bench.DAT TARNLIST_PROFILE=$work/win.ini
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
printf '[Intl]\niDate=1\n' >"$TARNLIST_PROFILE"
unset DISPLAY WAYLAND_DISPLAY

# Files of at most 16 kB make members of 32 to 48 kB.
mapfile -d '' files < <(find "$corpus" -type f \( -iname '*.clw' -o -iname '*.inc' \) -size -16k -print0 | sort -z)
[ "${#files[@]}" -gt 0 ] || { tarnlist_log "no .CLW or .INC files in $corpus"; exit 1; }
app=$work/app
mkdir -p "$app"
main=$app/MAIN.CLW
printf '  PROGRAM\n  MAP\n' >"$main"
next=0
for m in $(seq -w 1 299); do
  member=$app/M$m.CLW
  printf "  MEMBER('MAIN')\n" >"$member"
  while [ "$(stat -c %s "$member")" -lt 36000 ]; do
    f=${files[next % ${#files[@]}]}
    next=$((next + 1))
    cat "$f" >>"$member"
    [ -z "$(tail -c1 "$f")" ] || printf '\r\n' >>"$member"
  done
  printf "    MODULE('M%s.CLW')\n    END\n" "$m" >>"$main"
done
printf '  END\n  CODE\n' >>"$main"
bytes=$(cat "$app"/*.CLW | wc -c)

# best NAME COMMAND...: NAME_time, the best wall time of three runs (seconds).
best() {
  local name=$1 best_time="" start end t
  shift
  for _ in 1 2 3; do
    rm -rf "$work/out" "$work/book.pdf"
    start=$(date +%s%N)
    "$@" >/dev/null 2>"$work/$name.err" || { tarnlist_log "$name failed:"; cat "$work/$name.err" >&2; exit 1; }
    end=$(date +%s%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    if [ -z "$best_time" ] || awk -v a="$t" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then best_time=$t; fi
  done
  printf -v "${name}_time" '%s' "$best_time"
}
one_time='' two_time='' book_time='' book1_time=''
best one "$tarnlist" --project "$main" --pdf "$work/out" --jobs 1
best two "$tarnlist" --project "$main" --pdf "$work/out" --jobs 2
best book "$tarnlist" --project "$main" --pdf "$work/book.pdf" --jobs 2
best book1 "$tarnlist" --project "$main" --pdf "$work/book.pdf" --jobs 1
"$tarnlist" --project "$main" --pdf "$work/book.pdf" 2>/dev/null
"$tarnlist" --project "$main" --pdf "$work/out" 2>/dev/null
files_size=$(cat "$work"/out/*.pdf | wc -c)
book_pages=$(pdfinfo "$work/book.pdf" 2>/dev/null | awk '/^Pages:/ { print $2 }')
book_size=$(stat -c %s "$work/book.pdf")

echo "Input: 300 files, $bytes bytes of Clarion from $corpus ($(nproc) cores)"
echo
printf '%-34s %10s\n' "" "time (s)"
printf '%-34s %10.2f\n' "PDF files, --jobs 1" "$one_time" "PDF files, --jobs 2" "$two_time" \
  "book, --jobs 1" "$book1_time" "book, --jobs 2" "$book_time"
echo "book: $book_pages pages, $book_size bytes; the PDF files: $files_size bytes"
parallel=$(awk -v a="$two_time" -v b="$one_time" 'BEGIN { printf "%.2f", a / b }')
book=$(awk -v a="$book_time" -v b="$two_time" 'BEGIN { printf "%.2f", a / b }')
verdict() { if awk "BEGIN { exit !($1) }"; then echo "holds"; else echo "MISSED"; fi; }
echo
echo "targets:"
echo "  --jobs 2 / --jobs 1 <= 0.6:     $parallel $(verdict "$parallel <= 0.6")"
echo "  book / PDF files <= 1.2:        $book $(verdict "$book <= 1.2")"
