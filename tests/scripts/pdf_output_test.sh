#!/usr/bin/env bash
# Prints real and generated Clarion files from the command line with --pdf and
# reads every produced PDF back: pages, header, footer, end marker, markers of
# cut and wrapped lines, list files, error messages and exit statuses.
#   pdf_output_test.sh TARNLIST CORPUS SCRATCH
set -u
tarnlist=$1 corpus=$2 scratch=$3
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

tl_need_tools pdfinfo pdftotext

export LC_ALL=C TZ=UTC
mkdir -p "$scratch"
work=$(mktemp -d "$scratch/run.XXXXXX")
finish() {
  if [ "$TL_FAILURES" -eq 0 ]; then rm -rf "$work"; else echo "files kept in $work"; fi
}
trap finish EXIT

# A private world: the user's settings, profile and printers stay out of it.
export TARNLIST_CONFIG=$work/tarnlist.DAT TARNLIST_PROFILE=$work/win.ini
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state XDG_RUNTIME_DIR=$work/runtime
export CUPS_SERVER=$work/no-cups.sock
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM PRINTER LPDEST
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SOURCE_DATE_EPOCH=1700000000  # 2023-11-14 22:13 UTC
printf '[Intl]\niDate=2\n' >"$TARNLIST_PROFILE"
printed_date='Printed: 2023/11/14 22:13'

# run ARGS...: runs the program; sets status, and err to its messages.
err=$work/stderr
run() {
  "$tarnlist" "$@" >"$work/stdout" 2>"$err"
  status=$?
}
messages() { grep -a '^tarnlist:' "$err"; }
expect_status() {
  [ "$status" -eq "$1" ] || tl_fail "$2: exit status $status, expected $1 ($(messages | head -n3))"
}
expect_message() {
  grep -qaF -- "$1" "$err" || tl_fail "$2: no message '$1' on standard error (got: $(messages | head -n3))"
}
expect_silence() {
  ! messages >/dev/null || tl_fail "$1: unexpected messages: $(messages | head -n3)"
}
pdfs_in() { find "$1" -maxdepth 1 -name '*.pdf' -printf '%f\n' 2>/dev/null | sort | tr '\n' ' '; }

# Settings files are the program's own defaults (written by a first run) with
# single fields changed; offsets are those of the settings record, which
# follows the 4-byte version.
base_config=$work/defaults.DAT
make_base_config() {
  printf '  CODE\n' >"$work/seed.clw"
  TARNLIST_CONFIG=$base_config run --pdf "$work/seed.pdf" "$work/seed.clw"
  if [ "$(stat -c %s "$base_config" 2>/dev/null)" != 550 ] ||
    [ "$(od -An -tx1 -N4 "$base_config" | tr -d ' ')" != 01000000 ]; then
    tl_fail "a run without settings file did not write a 550-byte version-1 settings file"
    return 1
  fi
}
# config NAME FIELD=VALUE...: a copy of the defaults with int32 fields set.
config() {
  local file=$work/$1.DAT field value offset
  shift
  cp "$base_config" "$file"
  for field in "$@"; do
    value=${field#*=}
    case ${field%%=*} in
      portrait) offset=4 ;; landscape) offset=8 ;; columns) offset=12 ;;
      wrapLine) offset=40 ;; printMode) offset=434 ;; clearArchive) offset=438 ;;
      *) echo "unknown field $field" >&2; return 1 ;;
    esac
    printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $((value & 255)) $((value >> 8 & 255)) \
      $((value >> 16 & 255)) $((value >> 24 & 255)))" |
      dd of="$file" bs=1 seek=$((4 + offset)) conv=notrunc status=none
  done
  echo "$file"
}
set_header_text() {
  printf '%s\0' "$2" | dd of="$1" bs=1 seek=$((4 + 446)) conv=notrunc status=none
}

corpus_files() {
  find "$corpus" -type f \( -iname '*.clw' -o -iname '*.inc' -o -iname '*.equ' -o -iname '*.int' \
    -o -iname '*.cwproj' -o -iname '*.md' \) | LC_ALL=C sort
}
# Two small real files that the analyser accepts, for the list cases; two
# generated ones when the real sources are not on this machine.
small_files=()
if [ -d "$corpus" ]; then
  while IFS= read -r f; do small_files+=("$f"); done < <(
    corpus_files | grep -iE '\.(clw|inc)$' | while IFS= read -r f; do
      lines=$(wc -l <"$f")
      [ "$lines" -ge 50 ] && [ "$lines" -le 300 ] &&
        "$tarnlist" --dump structure "$f" >/dev/null 2>&1 && echo "$f"
    done | head -n2)
else
  mkdir -p "$work/small"
  for name in ALPHA.CLW BETA.CLW; do
    for i in $(seq 12); do
      printf 'Proc%02d PROCEDURE\n  CODE\n  Total += %d  ! add\n  RETURN\n\n' "$i" "$i"
    done >"$work/small/$name"
    small_files+=("$work/small/$name")
  done
fi
[ "${#small_files[@]}" -eq 2 ] || tl_skip "the corpus has no two Clarion files of 50 to 300 lines"
file_a=${small_files[0]} file_b=${small_files[1]}
name_a=$(basename "$file_a") name_b=$(basename "$file_b")

# --- Every corpus file, with the default settings -----------------------------
corpus_sweep() {
  local f name pdf printed=0 refused=0 i=0
  mkdir -p "$work/corpus"
  tl_group "every corpus file"
  while IFS= read -r f; do
    i=$((i + 1))
    name=$(basename "$f")
    pdf=$work/corpus/$i-$name.pdf
    run --pdf "$pdf" "$f"
    if [ "$status" -eq 0 ]; then
      expect_silence "$name"
      tl_check_listing "$pdf" "$f" && printed=$((printed + 1))
    elif [ "$status" -eq 1 ] && grep -qa 'Error in syntax in line' "$err"; then
      # Some real files are beyond the analyser; it must say so, not print.
      [ ! -e "$pdf" ] || tl_fail "$name: a PDF although the analysis failed"
      refused=$((refused + 1))
    else
      tl_fail "$name: exit status $status ($(messages | head -n2))"
    fi
  done < <(corpus_files)
  [ "$printed" -gt 0 ] || tl_fail "no corpus file printed"
  tl_group_end "$printed files printed and checked, $refused refused by the analysis"
}

# --- Generated files: cut and continuation markers, header text, dates --------
generated_layout() {
  local gen=$work/gen text all pdf n
  mkdir -p "$gen"
  {
    printf '  PROGRAM\n  MAP\n  END\nTotal LONG\nCount LONG\n  CODE\n'
    # One statement of many tokens and one comment, each far wider than a column.
    printf '  Total = 0%s\n' "$(printf ' + Value%03d' $(seq 1 40))"
    printf '  ! %s\n' "$(printf 'word%03d ' $(seq 1 60))"
    for n in $(seq 1 400); do printf '  Count += %d\n' "$n"; done
    printf '  RETURN\n'
  } >"$gen/wide.clw"
  touch -d '2021-03-04 05:06:00' "$gen/wide.clw"

  local cfg
  tl_group "cut marker, header text and dates"
  cfg=$(config header) && set_header_text "$cfg" "TARNLIST E2E HEADER"
  pdf=$gen/cut.pdf
  TARNLIST_CONFIG=$cfg run --pdf "$pdf" "$gen/wide.clw"
  expect_status 0 "wide lines cut"
  expect_silence "wide lines cut"
  if tl_check_listing "$pdf" "$gen/wide.clw"; then
    all=$(pdftotext "$pdf" - 2>/dev/null)
    grep -qE '^ *Total = 0 \+ Value001 .*\.\.\. *$' <<<"$all" ||
      tl_fail "cut: the wide statement does not end in the cut marker '...'"
    grep -qE '^ *! word001 .*\.\.\. *$' <<<"$all" ||
      tl_fail "cut: the wide comment does not end in the cut marker '...'"
    ! grep -qE 'Value040|word060' <<<"$all" || tl_fail "cut: text beyond the column was printed"
    ! grep -qF '»' <<<"$all" || tl_fail "cut: continuation marker without wrapping"
    for ((n = 1; n <= TL_PAGES; n++)); do
      text=$(tl_page_layout "$pdf" "$n" | tl_squeeze)
      grep -qF "TARNLIST E2E HEADER" <<<"$text" || tl_fail "page $n lacks the header text"
      grep -qF "$printed_date" <<<"$text" || tl_fail "page $n lacks '$printed_date'"
      grep -qF "Modified: 2021/03/04 05:06" <<<"$text" ||
        tl_fail "page $n lacks the file's time 'Modified: 2021/03/04 05:06'"
    done
  fi
  tl_group_end "$TL_PAGES pages"

  tl_group "continuation marker with wrapping on"
  pdf=$gen/wrap.pdf
  TARNLIST_CONFIG=$(config wrap wrapLine=1) run --pdf "$pdf" "$gen/wide.clw"
  expect_status 0 "wrapping"
  if tl_check_listing "$pdf" "$gen/wide.clw"; then
    all=$(pdftotext "$pdf" - 2>/dev/null)
    grep -qE '^ *» *\+? *Value0' <<<"$all" ||
      tl_fail "wrap: no continuation line beginning with '»'"
    for n in $(seq -f '%03g' 1 40); do
      if [ "$(grep -oE "Value$n\\b" <<<"$all" | wc -l)" -ne 1 ]; then
        tl_fail "wrap: Value$n is not printed exactly once"
        break
      fi
    done
  fi
  tl_group_end "$TL_PAGES pages"

  tl_group "landscape by default, portrait from the settings"
  # Landscape is the default; portrait comes from the settings.
  local size
  size=$(pdfinfo "$gen/cut.pdf" 2>/dev/null | awk '/^Page size:/ { print ($3 > $5) ? "landscape" : "portrait" }')
  [ "$size" = landscape ] || tl_fail "default settings print $size pages"
  TARNLIST_CONFIG=$(config portrait portrait=1 landscape=0) run --pdf "$gen/portrait.pdf" "$gen/wide.clw"
  size=$(pdfinfo "$gen/portrait.pdf" 2>/dev/null | awk '/^Page size:/ { print ($3 > $5) ? "landscape" : "portrait" }')
  [ "$size" = portrait ] || tl_fail "portrait settings print ${size:-no} pages"
  tl_group_end
}

# --- List files and output paths -----------------------------------------------
lists() {
  local out=$work/lists
  mkdir -p "$out"
  tl_group "list files: two files, CR LF, empty line, same names, new folders"

  printf '%s\n%s\n' "$file_a" "$file_b" >"$out/two.lst"
  run --pdf "$out/two" "@$out/two.lst"
  expect_status 0 "@list of two files"
  expect_silence "@list of two files"
  [ "$(pdfs_in "$out/two")" = "$(printf '%s\n' "$name_a.pdf" "$name_b.pdf" | sort | tr '\n' ' ')" ] ||
    tl_fail "@list of two files gives '$(pdfs_in "$out/two")' in the folder"
  tl_check_listing "$out/two/$name_a.pdf" "$file_a"
  tl_check_listing "$out/two/$name_b.pdf" "$file_b"

  # A list written on Windows.
  printf '%s\r\n%s\r\n' "$file_a" "$file_b" >"$out/crlf.lst"
  run --pdf "$out/crlf" "@$out/crlf.lst"
  expect_status 0 "@list with CR LF"
  [ -s "$out/crlf/$name_a.pdf" ] && [ -s "$out/crlf/$name_b.pdf" ] ||
    tl_fail "@list with CR LF line ends gives '$(pdfs_in "$out/crlf")'"

  printf '%s\n\n%s\n' "$file_a" "$file_b" >"$out/gap.lst"
  run --pdf "$out/gap" "@$out/gap.lst"
  expect_status 0 "@list with an empty line"
  [ "$(pdfs_in "$out/gap")" = "$name_a.pdf " ] ||
    tl_fail "an empty line must end the list; printed: '$(pdfs_in "$out/gap")'"

  # Two files of one name must not overwrite each other.
  mkdir -p "$out/one" "$out/two-src"
  cp "$file_a" "$out/one/same.clw"
  cp "$file_b" "$out/two-src/same.clw"
  printf '%s\n%s\n' "$out/one/same.clw" "$out/two-src/same.clw" >"$out/same.lst"
  run --pdf "$out/same" "@$out/same.lst"
  expect_status 0 "@list of two files of one name"
  local got
  got=$(find "$out/same" -name '*.pdf' 2>/dev/null | wc -l)
  [ "$got" -eq 2 ] || tl_fail "two files named same.clw give $got PDFs"
  local headers
  headers=$(for f in "$out/same"/*.pdf; do tl_page_text "$f" 1 | grep -oE '/(one|two-src)\)'; done | sort -u | wc -l)
  [ "$headers" -eq 2 ] || tl_fail "the two same.clw listings do not show their two folders"

  # One file and a folder that does not exist yet: PATH/<file name>.pdf.
  run --pdf "$out/new/folder" "$file_a"
  expect_status 0 "one file into a new folder"
  [ -s "$out/new/folder/$name_a.pdf" ] ||
    tl_fail "--pdf FOLDER FILE wrote '$(pdfs_in "$out/new/folder")' instead of $name_a.pdf"
  tl_group_end
}

# --- Files and lists that cannot be read, analysis that fails ---------------------
errors() {
  local out=$work/errors missing=$work/errors/no-such-file.clw
  mkdir -p "$out"
  tl_group "unreadable files and lists, failed analysis"

  run --pdf "$out/single" "$missing"
  expect_status 1 "a missing file"
  expect_message "Could not read file '$missing'" "a missing file"

  printf '%s\n%s\n' "$missing" "$file_a" >"$out/missing.lst"
  run --pdf "$out/missing" "@$out/missing.lst"
  expect_status 1 "@list with a missing file"
  expect_message "Could not read file '$missing'" "@list with a missing file"
  tl_check_listing "$out/missing/$name_a.pdf" "$file_a" ||
    tl_fail "the file after a missing one was not printed"

  run --pdf "$out/nolist" "@$out/no-such-list.lst"
  expect_status 1 "a missing list file"
  expect_message "Could not read file '$out/no-such-list.lst'" "a missing list file"
  [ -z "$(pdfs_in "$out/nolist")" ] || tl_fail "a missing list file printed something"

  # The analysis fails on the second file: the first is printed, the third not.
  printf '  END\n  x\n' >"$out/x.clw"
  printf '%s\n%s\n%s\n' "$file_a" "$out/x.clw" "$file_b" >"$out/bad.lst"
  run --pdf "$out/bad" "@$out/bad.lst"
  expect_status 1 "a file whose analysis fails"
  expect_message "Error in syntax in line 1: Bad compund structure" "a file whose analysis fails"
  [ "$(pdfs_in "$out/bad")" = "$name_a.pdf " ] ||
    tl_fail "after a failed analysis the folder holds '$(pdfs_in "$out/bad")', expected only $name_a.pdf"
  tl_group_end
}

# --- Print mode 3: only files with embed points ----------------------------------
print_mode_3() {
  local out=$work/mode3 cfg plain=$file_a
  mkdir -p "$out"
  tl_group "print mode 3 skips files without embed points"
  if "$tarnlist" --dump structure "$plain" 2>/dev/null | grep -q '^embed'; then
    tl_fail "setup: $plain has embed points"
    return
  fi
  cat >"$out/embeds.clw" <<'EOF'
  MEMBER('x')
OutsideRegion PROCEDURE
  CODE
  OutsideRegion = 1
  ! Before Embed Point: %ProcedureSetup) DESC(Procedure Setup) ARG()
  InsideEmbed = 1
  ! After Embed Point: %ProcedureSetup) DESC(Procedure Setup) ARG()
  RETURN
EOF
  cfg=$(config mode3 printMode=3)
  TARNLIST_CONFIG=$cfg run --pdf "$out/plain" "$plain"
  expect_status 0 "mode 3, a file without embed points"
  expect_silence "mode 3, a file without embed points"
  [ ! -e "$out/plain" ] || [ -z "$(pdfs_in "$out/plain")" ] ||
    tl_fail "mode 3 printed a file without embed points"

  printf '%s\n%s\n' "$plain" "$out/embeds.clw" >"$out/both.lst"
  TARNLIST_CONFIG=$cfg run --pdf "$out/both" "@$out/both.lst"
  expect_status 0 "mode 3, a list"
  [ "$(pdfs_in "$out/both")" = "embeds.clw.pdf " ] ||
    tl_fail "mode 3 on a list printed '$(pdfs_in "$out/both")', expected embeds.clw.pdf only"
  local text
  text=$(pdftotext "$out/both/embeds.clw.pdf" - 2>/dev/null)
  grep -qF "InsideEmbed = 1" <<<"$text" || tl_fail "mode 3 left out the embed point's code"
  ! grep -qF "OutsideRegion = 1" <<<"$text" || tl_fail "mode 3 printed code outside every region"
  grep -qF "END OF LISTING" <<<"$text" || tl_fail "mode 3 listing has no end marker"
  tl_group_end
}

# Printing with clearArchive on clears the file's archive bit (shown by the
# project dump's attributes); writing the file sets it again.
archive_bit() {
  tl_group "archive attribute"
  local dir=$work/archive
  mkdir -p "$dir"
  printf '  PROGRAM\n  CODE\n' >"$dir/main.clw"
  attribute() { "$tarnlist" --dump project "$dir/main.clw" | awk -F'\t' '$1 == "file" { print $3 }'; }
  [ "$(attribute)" = 32 ] || tl_fail "a new file reads attributes $(attribute), expected 32 (archive)"
  TARNLIST_CONFIG=$(config keep clearArchive=0) run --pdf "$dir/out" "$dir/main.clw"
  [ "$(attribute)" = 32 ] || tl_fail "printing without clearArchive changed the attributes to $(attribute)"
  local before
  before=$(stat -c '%Y %s' "$dir/main.clw")
  TARNLIST_CONFIG=$(config clear clearArchive=1) run --pdf "$dir/out" "$dir/main.clw"
  expect_status 0 "printing with clearArchive"
  [ "$(attribute)" = 0 ] || tl_fail "printing with clearArchive left attributes $(attribute), expected 0"
  [ "$(stat -c '%Y %s' "$dir/main.clw")" = "$before" ] || tl_fail "clearing the archive bit touched the file"
  sleep 1
  printf '  ! changed\n' >>"$dir/main.clw"
  [ "$(attribute)" = 32 ] || tl_fail "a changed file reads attributes $(attribute), expected 32 again"
  tl_group_end
}

# --- A project printed with --clw-only ------------------------------------------
# The PROGRAM file keeps its own case: main.clw is a .CLW file too.
project_clw_only() {
  local dir=$work/project
  mkdir -p "$dir"
  tl_group "project with --clw-only"
  printf "  PROGRAM\n  MAP\n    MODULE('util.clw')\n    END\n  END\n  INCLUDE('equ.inc')\n  CODE\n" >"$dir/main.clw"
  printf "  MEMBER('main')\nUtil PROCEDURE\n  CODE\n" >"$dir/util.clw"
  printf 'Answer EQUATE(42)\n' >"$dir/equ.inc"
  run --project "$dir/main.clw" --pdf "$dir/out" --clw-only
  expect_status 0 "--clw-only"
  expect_silence "--clw-only"
  [ "$(pdfs_in "$dir/out")" = "main.clw.pdf util.clw.pdf " ] ||
    tl_fail "--clw-only printed '$(pdfs_in "$dir/out")', expected main.clw.pdf and util.clw.pdf"
  tl_check_listing "$dir/out/main.clw.pdf" "$dir/main.clw"
  tl_group_end
}

# --- A project whose files lie in other folders ------------------------------------
# Class modules through a redirection file, includes through the include path
# (command line, else the profile), two files of one name in two folders.
project_folders() {
  local dir=$work/folders out names
  mkdir -p "$dir/app/sub" "$dir/classes" "$dir/lib"
  tl_group "project files in other folders"
  cat >"$dir/app/main.clw" <<'EOF'
  PROGRAM
Zip CLASS,TYPE,MODULE('zip.clw')
  END
  INCLUDE('equ.inc')
  INCLUDE 'sub\equ.inc'
  MAP
    MODULE('util.clw')
    END
  END
  CODE
EOF
  printf "  MEMBER('main')\nUtil PROCEDURE\n  CODE\n" >"$dir/app/util.clw"
  printf 'Inner EQUATE(7)\n' >"$dir/app/sub/equ.inc"
  printf -- '-- shared classes\r\n[Common]\r\n*.clw = %%ROOT%%\\libsrc; ..\\nowhere\r\n*.clw = ..\\Classes\r\n' >"$dir/app/build.red"
  printf "  MEMBER('main')\nZip.Run PROCEDURE\n  CODE\n" >"$dir/classes/zip.clw"
  printf 'Answer EQUATE(42)\n' >"$dir/lib/equ.inc"

  names=$("$tarnlist" --dump project --include-path "$work/nowhere:$dir/lib" "$dir/app/main.clw" |
    awk -F'\t' '$1 == "file" { print $2 }' | tr '\n' ' ')
  [ "$names" = '../classes/ZIP.CLW ../lib/EQU.INC main.clw SUB\\EQU.INC UTIL.CLW ' ] ||
    tl_fail "--dump project lists the files as '$names'"
  printf '[Tarnlist]\nIncludePath=%s\n' "$dir/lib" >"$work/include.ini"
  names=$(TARNLIST_PROFILE=$work/include.ini "$tarnlist" --dump project "$dir/app/main.clw" |
    awk -F'\t' '$1 == "file" { print $2 }' | grep -c '^\.\./lib/EQU\.INC$')
  [ "$names" = 1 ] || tl_fail "the profile's IncludePath is not searched"

  out=$dir/out
  run --project "$dir/app/main.clw" --pdf "$out" --include-path "$dir/lib"
  expect_status 0 "project in folders"
  expect_silence "project in folders"
  [ "$(pdfs_in "$out")" = "equ.inc-2.pdf equ.inc.pdf main.clw.pdf util.clw.pdf zip.clw.pdf " ] ||
    tl_fail "the project in folders printed '$(pdfs_in "$out")'"
  tl_check_listing "$out/equ.inc.pdf" "$dir/lib/equ.inc"
  tl_check_listing "$out/equ.inc-2.pdf" "$dir/app/sub/equ.inc"
  tl_check_listing "$out/zip.clw.pdf" "$dir/classes/zip.clw"
  tl_page_text "$out/equ.inc-2.pdf" 1 | grep -qF '/app/sub)' ||
    tl_fail "equ.inc-2.pdf does not show the folder app/sub"

  run --include-path "$dir/lib" "$dir/app/main.clw"
  expect_status 2 "--include-path without a project"
  expect_message "--include-path goes with --project or --dump project" "--include-path without a project"
  tl_group_end
}

# --- File names in UTF-8: headers and messages show them as written ----------
file_names_utf8() {
  local dir="$work/names/ü dir" name pdf
  mkdir -p "$dir"
  tl_group "UTF-8 file names in headers and messages"
  for name in Müller Łódź Ωmega Привет; do
    printf '  PROGRAM\n  CODE\n  Total = 1\n' >"$dir/$name.clw"
    pdf=$work/names/$name.pdf
    run --pdf "$pdf" "$dir/$name.clw"
    expect_status 0 "$name.clw"
    expect_silence "$name.clw"
    # Checks the name on every page's header, among the rest.
    tl_check_listing "$pdf" "$dir/$name.clw" || continue
    tl_page_text "$pdf" 1 | grep -qF "ü dir)" || tl_fail "$name.clw: the header does not show 'ü dir'"
  done
  run --pdf "$work/names/out" "$dir/Łódź-gone.clw"
  expect_status 1 "a missing file of a UTF-8 name"
  expect_message "Could not read file '$dir/Łódź-gone.clw'" "a missing file of a UTF-8 name"
  tl_group_end
}
file_names_utf8

if make_base_config; then
  archive_bit
  if [ -d "$corpus" ]; then corpus_sweep; else echo "no corpus at $corpus: its files are not printed"; fi
  generated_layout
  lists
  errors
  print_mode_3
  project_clw_only
  project_folders
fi

# --- No printer: each file's own message first, the printer's once; NUL in a list --
no_printer_and_list_nul() {
  local out=$work/noprinter missing=$work/noprinter/gone.clw expected
  mkdir -p "$out"
  tl_group "no printer: file messages first, printer message once; a NUL ends a list path"
  : >"$out/empty.clw"
  run "$missing"
  expect_status 1 "a missing file without a printer"
  [ "$(messages)" = "tarnlist: Could not read file '$missing'" ] ||
    tl_fail "a missing file without a printer says '$(messages | head -n3)'"
  run "$out/empty.clw"
  expect_status 0 "nothing to print, without a printer"
  expect_silence "nothing to print, without a printer"

  printf '%s\n%s\n%s\n%s\n' "$missing" "$out/empty.clw" "$file_a" "$file_b" >"$out/all.lst"
  run "@$out/all.lst"
  expect_status 1 "a list without a printer"
  expected="tarnlist: Could not read file '$missing'
tarnlist: Print Error: No printer is set up. Use --pdf PATH to print into PDF files."
  [ "$(messages)" = "$expected" ] ||
    tl_fail "a list without a printer says '$(messages | head -n4)'"

  # The rest of the line is no part of the path; a line that starts with NUL is empty.
  printf '%s\0junk\n%s\n\0%s\n%s\n' "$file_a" "$file_b" "$missing" "$out/empty.clw" >"$out/nul.lst"
  run --pdf "$out/nul" "@$out/nul.lst"
  expect_status 0 "a list with NUL bytes"
  expect_silence "a list with NUL bytes"
  [ "$(pdfs_in "$out/nul")" = "$(printf '%s\n' "$name_a.pdf" "$name_b.pdf" | sort | tr '\n' ' ')" ] ||
    tl_fail "a list with NUL bytes gives '$(pdfs_in "$out/nul")'"
  tl_check_listing "$out/nul/$name_a.pdf" "$file_a"
  tl_group_end
}
no_printer_and_list_nul

if [ "$TL_FAILURES" -gt 0 ]; then
  echo "$TL_FAILURES check(s) failed"
  exit 1
fi
echo "all PDF output checks passed"
