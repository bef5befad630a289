#!/usr/bin/env bash
# A project as one PDF book, as its reader finds it: contents, listings and the
# procedure index on the right pages; the outline; every link read back with
# qpdf and pdftotext landing on the page of what it names; the same bytes for
# any number of jobs; an analysis error ending a run on two jobs in order;
# archive marks kept when the book cannot be written.
#   project_book_test.sh TARNLIST CORPUS SCRATCH
set -u
tarnlist=$1 corpus=$2 scratch=$3
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

tl_need_tools pdfinfo pdftotext qpdf python3
export LC_ALL=C.UTF-8 TZ=UTC SOURCE_DATE_EPOCH=1700000000
tl_work_folder "$scratch"

# A project in folders: a member found through --include-path, a routine, a
# procedure defined twice (Dup: no link from its call), calls across files.
app=$work/app
mkdir -p "$app/lib"
printf "  PROGRAM\n  MAP\n    MODULE('ONE.CLW')\nAlpha PROCEDURE\n    END\n    MODULE('TWO.CLW')\nBeta PROCEDURE\n    END\n  END\n  CODE\n  Alpha()\n  DO Setup\nSetup ROUTINE\n  Beta()\n" >"$app/MAIN.CLW"
{
  printf "  MEMBER('MAIN')\nAlpha PROCEDURE\n  CODE\n  Beta()\n  Dup()\n"
  # Long enough that Dup is defined on a later page.
  for i in $(seq 1 300); do printf '  x%d = %d\n' "$i" "$i"; done
  printf "Dup PROCEDURE\n  CODE\n"
} >"$app/lib/ONE.CLW"
printf "  MEMBER('MAIN')\nBeta PROCEDURE\n  CODE\n  Alpha()\nDup PROCEDURE\n  CODE\n" >"$app/TWO.CLW"

# links PDF: one line a link: page, target page, the words under it, the words
# of its target line's page (pages from 1).
links() {
  qpdf --json "$1" >"$work/json" && pdftotext -bbox "$1" "$work/bbox.html" && python3 - "$work/json" "$work/bbox.html" <<'PY'
import json, re, sys
d = json.load(open(sys.argv[1]))
objects = d["qpdf"][1]
value = lambda r: objects["obj:" + r]["value"]
pages = [p["object"] for p in d["pages"]]
words = []  # by page: (x0, y0, x1, y1, word), y from the top
height = []
for page in re.findall(r'<page width="[\d.]+" height="([\d.]+)">(.*?)</page>', open(sys.argv[2]).read(), re.S):
    height.append(float(page[0]))
    words.append([(float(a), float(b), float(c), float(e), w) for a, b, c, e, w in
                  re.findall(r'xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<', page[1])])
for i, p in enumerate(pages):
    for a in value(p).get("/Annots", []):
        link = value(a)
        l, b, r, t = link["/Rect"]
        to = pages.index(link["/Dest"][0])
        top = height[i] - t
        under = [w for x0, y0, x1, y1, w in words[i]
                 if l - 1 <= (x0 + x1) / 2 <= r + 1 and top - 1 <= (y0 + y1) / 2 <= top + (t - b) + 1]
        clean = lambda ws: " ".join(filter(None, (re.sub(r"[^\w.]", "", w) for w in ws)))
        print(i + 1, to + 1, clean(under), clean(w for *_, w in words[to]), sep="\t")
PY
}

tl_group "the book of a project in folders"
"$tarnlist" --project "$app/MAIN.CLW" --include-path "$app/lib" --pdf "$work/book.pdf" 2>"$work/err" ||
  tl_fail "book: $(cat "$work/err")"
qpdf --check "$work/book.pdf" >/dev/null 2>&1 || tl_fail "qpdf --check fails"
pages=$(tl_page_count "$work/book.pdf")
# Contents 1, ONE.CLW 3, MAIN.CLW 1, TWO.CLW 1, index 1.
[ "$pages" = 7 ] || tl_fail "$pages pages"
contents=$(tl_page_layout "$work/book.pdf" 1 | tl_squeeze)
for row in "lib/ONE.CLW 3 2" "MAIN.CLW 1 5" "TWO.CLW 1 6"; do
  [[ $contents == *"$row"* ]] || tl_fail "contents lack '$row': $contents"
done
index=$(tl_page_layout "$work/book.pdf" "$pages" | tl_squeeze)
for row in "Procedures" "Alpha lib/ONE.CLW 2 2" "Beta TWO.CLW 2 6" "Dup lib/ONE.CLW 306 4" "Dup TWO.CLW 5 6"; do
  [[ $index == *"$row"* ]] || tl_fail "index lacks '$row': $index"
done
tl_page_text "$work/book.pdf" 4 | grep -q "END OF LISTING" || tl_fail "ONE.CLW does not end on its own last page"
tl_page_text "$work/book.pdf" 3 | grep -q "END OF LISTING" && tl_fail "ONE.CLW ends before its last page"
tl_outline "$work/book.pdf" >"$work/outline"
[ "$(awk -F'\t' '$1 == 0 { printf "%s:%s ", $2, $3 }' "$work/outline")" = \
  "lib/ONE.CLW:2 MAIN.CLW:5 TWO.CLW:6 Contents:1 Procedures:7 " ] ||
  tl_fail "outline: $(tr '\n' ' ' <"$work/outline")"
grep -qP '^1\tDup PROCEDURE\t4$' "$work/outline" || tl_fail "the units are not under their file"
tl_group_end

tl_group "links land on what they name"
links "$work/book.pdf" >"$work/links"
# Contents and index lines lead to the page their last number gives.
while IFS=$'\t' read -r page to under target; do
  if [ "$page" = 1 ] || [ "$page" = "$pages" ]; then
    [ "${under##* }" = "$to" ] || tl_fail "page $page: '$under' leads to page $to"
  else
    name=$under
    [[ " $target " == *" $name PROCEDURE "* || " $target " == *" $name ROUTINE "* ]] ||
      tl_fail "page $page: '$name' leads to page $to, which does not define it"
  fi
done <"$work/links"
# Alpha, Beta (twice), Alpha, DO Setup, Beta; not Dup, and no definition.
listing=$(awk -F'\t' '$1 != 1 && $1 != '"$pages"' { printf "%s ", $3 }' "$work/links")
[ "$listing" = "Beta Alpha Beta Alpha Setup Beta Alpha " ] || tl_fail "listing links: $listing"
[ "$(awk -F'\t' '$1 == 1' "$work/links" | wc -l)" = 3 ] || tl_fail "not every contents line is a link"
[ "$(awk -F'\t' '$1 == '"$pages" "$work/links" | wc -l)" = 4 ] || tl_fail "not every index line is a link"
# A single listing links its own routine.
"$tarnlist" --pdf "$work/main.pdf" "$app/MAIN.CLW" 2>"$work/err" || tl_fail "main: $(cat "$work/err")"
[ "$(links "$work/main.pdf" | cut -f3 | tr '\n' ' ')" = "Setup " ] ||
  tl_fail "single listing links: $(links "$work/main.pdf" | cut -f3 | tr '\n' ' ')"
tl_group_end

tl_group "the same bytes for any number of jobs"
project=$corpus/real/MbeleLebohang__Clarion_Application/EmployeesApp/EmployeesApp.clw
[ -f "$project" ] || project=$app/MAIN.CLW
for jobs in 1 2 3; do
  "$tarnlist" --project "$project" --include-path "$app/lib" --pdf "$work/b$jobs.pdf" --jobs $jobs 2>"$work/err$jobs" ||
    tl_fail "--jobs $jobs: $(cat "$work/err$jobs")"
  "$tarnlist" --project "$project" --include-path "$app/lib" --pdf "$work/d$jobs" --jobs $jobs 2>>"$work/err$jobs" ||
    tl_fail "--jobs $jobs into a folder: $(cat "$work/err$jobs")"
done
cmp -s "$work/b1.pdf" "$work/b2.pdf" && cmp -s "$work/b1.pdf" "$work/b3.pdf" || tl_fail "books differ by --jobs"
diff -r "$work/d1" "$work/d2" >/dev/null && diff -r "$work/d1" "$work/d3" >/dev/null || tl_fail "folders differ by --jobs"
tl_group_end

tl_group "an analysis error in the third of five files on two jobs"
bad=$work/bad
mkdir -p "$bad"
printf "  PROGRAM\n  MAP\n    MODULE('B.CLW')\n    END\n    MODULE('C.CLW')\n    END\n    MODULE('D.CLW')\n    END\n    MODULE('E.CLW')\n    END\n  END\n  CODE\n" >"$bad/A.CLW"
for f in B D E; do printf "  MEMBER('A')\n%s PROCEDURE\n  CODE\n" $f >"$bad/$f.CLW"; done
printf "  MEMBER('A')\n  END\n  x\n" >"$bad/C.CLW"
"$tarnlist" --project "$bad/A.CLW" --pdf "$bad/out" --jobs 2 2>"$work/err"
status=$?
[ "$status" = 1 ] || tl_fail "exit status $status"
[ "$(cd "$bad/out" && echo *.pdf)" = "A.CLW.pdf B.CLW.pdf" ] || tl_fail "written: $(cd "$bad/out" && echo *)"
[ "$(grep -vc "OK to resume" "$work/err")" = 1 ] && grep -q "Bad compund structure" "$work/err" ||
  tl_fail "messages: $(cat "$work/err")"
"$tarnlist" --project "$bad/A.CLW" --pdf "$bad/book.pdf" --jobs 2 2>"$work/err" && tl_fail "a book despite the error"
[ -e "$bad/book.pdf" ] && tl_fail "a book was written despite the error"
tl_group_end

tl_group "archive marks: kept by a failed book, cleared by a written one"
# The settings with clearArchive on (offset 438 of the record, behind the 4-byte version).
"$tarnlist" --pdf "$work/seed.pdf" "$app/MAIN.CLW" 2>/dev/null
printf '\x01\x00\x00\x00' | dd of="$TARNLIST_CONFIG" bs=1 seek=442 conv=notrunc status=none
marks() { "$tarnlist" --dump project "$app/MAIN.CLW" --include-path "$app/lib" | awk -F'\t' '$1 == "file" { printf "%s ", $3 }'; }
[ "$(marks)" = "32 32 32 " ] || tl_fail "marks before: $(marks)"
"$tarnlist" --project "$app/MAIN.CLW" --include-path "$app/lib" --modified-only --pdf "$work/no/such/folder/b.pdf" 2>"$work/err" &&
  tl_fail "a book into a missing folder succeeded"
grep -q "Could not write the book '$work/no/such/folder/b.pdf'" "$work/err" || tl_fail "message: $(cat "$work/err")"
[ "$(marks)" = "32 32 32 " ] || tl_fail "a failed book cleared marks: $(marks)"
"$tarnlist" --project "$app/MAIN.CLW" --include-path "$app/lib" --modified-only --pdf "$work/m.pdf" 2>"$work/err" ||
  tl_fail "book: $(cat "$work/err")"
[ "$(marks)" = "0 0 0 " ] || tl_fail "a written book left marks: $(marks)"
tl_group_end

[ "$TL_FAILURES" -eq 0 ] || { echo "$TL_FAILURES failures"; exit 1; }
