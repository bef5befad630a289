#!/usr/bin/env bash
# Prints 1 MB of real Clarion source (the corpus's .CLW and .INC files joined)
# with `tarnlist --pdf` and with enscript + ps2pdf in a comparable layout (two
# columns, landscape, highlighting), best of five runs each, and compares
# wall time, peak memory, pages and PDF size against the targets.
#   bench/compare_enscript.sh            uses build/tarnlist (built when missing)
# Environment: TARNLIST (the program), TARNLIST_CORPUS (the corpus folder).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
. tools/setup.sh

tarnlist_ensure_packages enscript ghostscript time poppler-utils
tarnlist=$(tarnlist_program "$repo")
corpus=${TARNLIST_CORPUS:-$repo/../shared/corpus}
[ -d "$corpus" ] && corpus=$(cd "$corpus" && pwd)
[ -d "$corpus" ] || { tarnlist_log "no corpus at $corpus"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tarnlist-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

# The same text as the other benchmarks: files in name order, a missing final
# line end supplied, repeated when needed, cut at the last line end within 1 MB.
size=1000000
source=$work/bench.clw
mapfile -d '' files < <(find "$corpus" -type f \( -iname '*.clw' -o -iname '*.inc' \) -print0 | sort -z)
[ "${#files[@]}" -gt 0 ] || { tarnlist_log "no .CLW or .INC files in $corpus"; exit 1; }
: >"$work/joined"
while [ "$(stat -c %s "$work/joined")" -lt "$size" ]; do
  for f in "${files[@]}"; do
    cat "$f"
    [ -z "$(tail -c1 "$f")" ] || printf '\r\n'
  done >>"$work/joined"
done
head -c "$size" "$work/joined" >"$source"
[ -z "$(tail -c1 "$source")" ] || truncate -s -"$(tail -n1 "$source" | wc -c)" "$source"
lines=$(wc -l <"$source")
bytes=$(stat -c %s "$source")

# Private settings: the defaults (landscape, two columns, full source).
export TARNLIST_CONFIG=$work/bench.DAT TARNLIST_PROFILE=$work/win.ini
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state
printf '[Intl]\niDate=1\n' >"$TARNLIST_PROFILE"
unset DISPLAY WAYLAND_DISPLAY

# measure NAME COMMAND...: sets NAME_time and NAME_rss to the best wall time
# (seconds, taken around the run: time's own figure has only centiseconds) of
# five runs and that run's peak RSS (kB).
measure() {
  local name=$1 best_time="" best_rss="" t rss start end
  shift
  for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/$name.err" || {
      tarnlist_log "$name failed:"; cat "$work/$name.err" >&2; exit 1
    }
    end=$(date +%s%N)
    t=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", (b - a) / 1e9 }')
    rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    if [ -z "$best_time" ] || awk -v a="$t" -v b="$best_time" 'BEGIN { exit !(a < b) }'; then
      best_time=$t best_rss=$rss
    fi
  done
  printf -v "${name}_time" '%s' "$best_time"
  printf -v "${name}_rss" '%s' "$best_rss"
}

tarnlist_time='' tarnlist_rss='' enscript_time='' enscript_rss='' postscript_time='' postscript_rss=''
tl_pdf=$work/tarnlist.pdf
en_pdf=$work/enscript.pdf
measure tarnlist "$tarnlist" --pdf "$tl_pdf" "$source"
measure postscript enscript -q -2 -r -G -Epascal --color -o "$work/enscript.ps" "$source"
measure enscript bash -c 'enscript -q -2 -r -G -Epascal --color -o - "$1" | ps2pdf - "$2"' _ "$source" "$en_pdf"

pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }
tl_pages=$(pages "$tl_pdf") en_pages=$(pages "$en_pdf")
tl_size=$(stat -c %s "$tl_pdf") en_size=$(stat -c %s "$en_pdf")
ratio=$(awk -v a="$tarnlist_time" -v b="$enscript_time" 'BEGIN { printf "%.2f", a / b }')

echo "Input: $bytes bytes, $lines lines of Clarion from $corpus ($(nproc) cores)"
echo
printf '%-20s %10s %14s %8s %14s\n' "" "time (s)" "peak RSS (MB)" "pages" "PDF (bytes)"
printf '%-20s %10.3f %14.1f %8s %14s\n' "tarnlist --pdf" "$tarnlist_time" \
  "$(awk -v k="$tarnlist_rss" 'BEGIN { print k / 1024 }')" "$tl_pages" "$tl_size"
printf '%-20s %10.3f %14.1f\n' "enscript (PS only)" "$postscript_time" \
  "$(awk -v k="$postscript_rss" 'BEGIN { print k / 1024 }')"
printf '%-20s %10.2f %14.1f %8s %14s\n' "enscript | ps2pdf" "$enscript_time" \
  "$(awk -v k="$enscript_rss" 'BEGIN { print k / 1024 }')" "$en_pages" "$en_size"
echo
echo "time ratio tarnlist/enscript: $ratio"
ps_ratio=$(awk -v a="$tarnlist_time" -v b="$postscript_time" 'BEGIN { printf "%.2f", a / b }')
echo "time ratio tarnlist/enscript writing PostScript only: $ps_ratio"

verdict() { if awk "BEGIN { exit !($1) }"; then echo "holds"; else echo "MISSED"; fi; }
echo
echo "targets:"
echo "  time ratio <= 0.3:              $(verdict "$ratio <= 0.3")"
echo "  tarnlist under 1.5 s:           $(verdict "$tarnlist_time < 1.5")"
echo "  no slower than enscript's PS:   $(verdict "$ps_ratio <= 1")"
echo "  tarnlist peak memory < 200 MB:  $(verdict "$tarnlist_rss < 200 * 1024")"
echo "  PDF no larger than enscript's:  $(verdict "$tl_size <= $en_size")"
