#!/usr/bin/env bash
# Listings that read like a book, as a reader of the PDF files finds them: the
# outline of a real file's units with the embed points put into it, its pages
# and nesting read back with qpdf; the same text with and without outline;
# line numbers and "Page N of M" on the pages; the same bytes for the same
# input; a project printed with the options.
#   listing_extras_test.sh TARNLIST CORPUS SCRATCH
set -u
tarnlist=$1 corpus=$2 scratch=$3
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

tl_need_tools pdfinfo pdftotext qpdf python3
source_file=$corpus/real/CarlTBarnes__Wordle/PlayWordle.clw
[ -f "$source_file" ] || tl_skip "the corpus is not here"

export LC_ALL=C.UTF-8 TZ=UTC SOURCE_DATE_EPOCH=1700000000
tl_work_folder "$scratch"

# The corpus has no embed points: put one (with a Windows-1252 title) after
# the CODE of the first three units that have one.
file=$work/Wordle.clw
awk '{ sub(/\r$/, "") }
  /^ *CODE *$/ && n < 3 {
    print; n++
    print "  ! Before Embed Point: %Setup" n ") DESC(Setup \xe9t\xe9 " n ") ARG()"
    print "  x = " n
    print "  ! After Embed Point: %Setup" n ") DESC(Setup \xe9t\xe9 " n ") ARG()"
    next }
  { print }' "$source_file" >"$file"


tl_group "outline of units and embed points"
"$tarnlist" --pdf "$work/w.pdf" "$file" 2>"$work/err" || tl_fail "printing failed: $(cat "$work/err")"
qpdf --check "$work/w.pdf" >/dev/null 2>&1 || tl_fail "qpdf --check fails"
tl_outline "$work/w.pdf" >"$work/outline"
# What the unit and embed lists hold, in the order the outline must have.
"$tarnlist" --dump structure "$file" >"$work/structure"
units=$(grep -c '^unit' "$work/structure")
[ "$(grep -c '^0' "$work/outline")" -eq "$units" ] ||
  tl_fail "$(grep -c '^0' "$work/outline") top-level entries for $units units"
[ "$(grep -c '^1' "$work/outline")" -eq 3 ] || tl_fail "the embed points are not the units' children"
grep -qP '^1\tSetup \x{e9}t\x{e9} 2   ARG\(\)\t' "$work/outline" ||
  tl_fail "the Windows-1252 title reads: $(grep '^1' "$work/outline" | head -n1)"
# Titles as the unit list shows them; each leads to the page its label prints on.
awk -F'\t' '$1 == 0 { print $2 }' "$work/outline" | head -n4 >"$work/titles"
[ "$(sed -n 2p "$work/titles")" = "UI PROCEDURE" ] || tl_fail "second entry: $(sed -n 2p "$work/titles")"
previous=0
while IFS=$'\t' read -r depth title page; do
  [ "$page" -ge "$previous" ] || tl_fail "$title on page $page after page $previous"
  previous=$page
  label=${title%% *}
  [ "$depth" = 0 ] || continue
  tl_page_text "$work/w.pdf" "$page" | grep -qF -- "$label" || tl_fail "$title: not on page $page"
done <"$work/outline"
qpdf --json --json-key=qpdf "$work/w.pdf" | grep -q '"/PageMode": "/UseOutlines"' ||
  tl_fail "the file does not open with its outline"
[ "$(pdfinfo "$work/w.pdf" | sed -n 's/^Title: *//p')" = "Wordle.clw" ] || tl_fail "the title is not the file's name"
pdfinfo "$work/w.pdf" | grep -q '^Creator: *Tarnlist for Clarion ' || tl_fail "no creator"
pdfinfo "$work/w.pdf" | grep -q '^CreationDate: .*2023' || tl_fail "the creation date is not SOURCE_DATE_EPOCH's"
tl_group_end

tl_group "without outline the same text, with it the same bytes each time"
"$tarnlist" --pdf "$work/again.pdf" "$file" 2>/dev/null
cmp -s "$work/w.pdf" "$work/again.pdf" || tl_fail "the same input gave other bytes"
printf '[Tarnlist]\nPdfOutline=0\n' >"$TARNLIST_PROFILE"
"$tarnlist" --pdf "$work/plain.pdf" "$file" 2>/dev/null
[ -z "$(tl_outline "$work/plain.pdf")" ] || tl_fail "PdfOutline=0 still writes an outline"
cmp -s <(pdftotext -layout "$work/w.pdf" -) <(pdftotext -layout "$work/plain.pdf" -) ||
  tl_fail "the outline changes the text"
rm -f "$TARNLIST_PROFILE"
tl_group_end

tl_group "line numbers and page count"
"$tarnlist" --line-numbers --page-count --pdf "$work/n.pdf" "$file" 2>/dev/null
pages=$(tl_page_count "$work/n.pdf")
for ((p = 1; p <= pages; p++)); do
  tl_page_text "$work/n.pdf" "$p" | grep -q "Page $p of $pages" || tl_fail "page $p lacks 'Page $p of $pages'"
done
# The first line of the file that has a word on it, behind its number.
first=$(grep -n -m1 '[A-Za-z]' "$file")
number=${first%%:*} words=$(echo "${first#*:}" | tr -s ' ' | sed 's/^ //' | cut -c1-20)
tl_page_layout "$work/n.pdf" 1 | grep -qF -- "$number $words" ||
  tl_fail "line $number is not printed behind its number: $(tl_page_layout "$work/n.pdf" 1 | sed -n 3,5p)"
tl_check_listing "$work/n.pdf" "$file"
tl_group_end

tl_group "a project with the options, each file its own count"
project=$corpus/real/MbeleLebohang__Clarion_Application/TableExample/TableExample.clw
if [ -f "$project" ]; then
  "$tarnlist" --page-count --project "$project" --pdf "$work/project" 2>"$work/err" ||
    tl_fail "project: $(cat "$work/err")"
  for pdf in "$work"/project/*.pdf; do
    n=$(tl_page_count "$pdf")
    tl_page_text "$pdf" "$n" | grep -q "Page $n of $n" || tl_fail "$(basename "$pdf"): no 'Page $n of $n'"
    [ -n "$(tl_outline "$pdf")" ] || tl_fail "$(basename "$pdf"): no outline"
  done
fi
tl_group_end

tl_group "a file five folders deep, portrait, one column: the page text stays readable"
deep=$work/home/user/projects/clients/acme/libsrc/win/generated/by/the/application/generator
mkdir -p "$deep"
cp "$file" "$deep/ctReaderWriter_Base.clw"
# The default settings turned to portrait with one column.
python3 - "$(dirname "$0")/../data/fuzz/config/default.dat" "$work/portrait.DAT" <<'PY'
import struct, sys
image = bytearray(open(sys.argv[1], "rb").read())
struct.pack_into("<iii", image, 8, 1, 0, 1)  # portrait, landscape, columns
open(sys.argv[2], "wb").write(image)
PY
TARNLIST_CONFIG=$work/portrait.DAT "$tarnlist" --page-count --pdf "$work/deep.pdf" \
  "$deep/ctReaderWriter_Base.clw" 2>"$work/err" || tl_fail "deep: $(cat "$work/err")"
n=$(tl_page_count "$work/deep.pdf")
header=$(tl_page_layout "$work/deep.pdf" 1 | grep -m1 'ctReaderWriter_Base.clw')
# The folder shortened in its middle, its last folders kept, the page text whole.
case $header in
  *"ctReaderWriter_Base.clw"*"/..."*"/application/generator)"*"  Page 1 of $n") ;;
  *) tl_fail "header line: '$header'" ;;
esac
tl_group_end

[ "$TL_FAILURES" -eq 0 ] || { echo "$TL_FAILURES failures"; exit 1; }
