#!/usr/bin/env bash
# Prints through the real printing system: a private cupsd (never the
# machine's own, whose printers and default stay untouched) with a cups-pdf
# queue as its default printer; `tarnlist FILE` and `tarnlist @LIST` without
# --pdf; then the PDFs the queue wrote are read back.
#   cups_print_test.sh TARNLIST CORPUS SCRATCH
# As root the queue uses the cups-pdf backend itself. That backend refuses to
# run without root rights, so for other users cupsd runs as that user and a
# stand-in backend keeps the PostScript the queue's filters made, which
# ghostscript turns into the PDF as cups-pdf would.
set -u
tarnlist=$1 corpus=$2 scratch=$3
# shellcheck source=tests/scripts/pdf_checks.sh
. "$(dirname "$0")/pdf_checks.sh"

mkdir -p "$scratch"
# test.sh reports a skipped run from this file.
rm -f "$scratch/SKIPPED"
skip() {
  echo "$*" >"$scratch/SKIPPED"
  tl_skip "$*"
}

PATH=$PATH:/usr/sbin:/sbin
for tool in cupsd lpadmin lpstat pdfinfo pdftotext; do
  command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || skip "printer-driver-cups-pdf is not installed ($ppd)"
export LC_ALL=C TZ=UTC

# Not in the build tree: the socket path must stay short (108 bytes at most),
# and the filters' user must be able to reach the folder.
base=$(mktemp -d /tmp/tarnlist-cups.XXXXXX) || skip "no temporary folder in /tmp"
# Filters run as another user and read the queue's PPD below it.
chmod 755 "$base"
sock=$base/cups.sock
queue=tarnlist-e2e-$$-${base##*.}
out=$base/out
mkdir -p "$out" "$base"/{log,spool,state,cache,home} "$base/spool/tmp"
chmod 1777 "$out"

cupsd_pid=
pdf_conf=
finish() {
  if [ -n "$cupsd_pid" ]; then
    kill -TERM "$cupsd_pid" 2>/dev/null
    local _
    for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.2; done
    kill -KILL "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  [ -n "$pdf_conf" ] && rm -f "$pdf_conf"
  if [ "$TL_FAILURES" -gt 0 ]; then
    local log
    for log in "$base"/log/error_log "$base"/log/cups-pdf*_log; do
      [ -s "$log" ] && { echo "--- end of $(basename "$log")"; tail -n 20 "$log"; }
    done
    rm -rf "$scratch/last-failure"
    cp -r "$base" "$scratch/last-failure" 2>/dev/null
    echo "cupsd's folder (logs, output) kept in $scratch/last-failure"
  fi
  rm -rf "$base"
}
trap finish EXIT
trap 'exit 1' INT TERM

if [ "$(id -u)" -eq 0 ]; then
  backend=/usr/lib/cups/backend/cups-pdf
  [ -x "$backend" ] || skip "the cups-pdf backend is missing ($backend)"
  if ! getent passwd lp >/dev/null || ! getent group lp >/dev/null; then
    skip "no user and group lp to run the filters"
  fi
  run_user=lp run_group=lp system_group=root server_bin=/usr/lib/cups
  # cups-pdf reads its settings only from /etc/cups: cups-pdf:/NAME selects
  # /etc/cups/cups-pdf-NAME.conf, a file of this run alone.
  device=cups-pdf:/$queue
  pdf_conf=/etc/cups/cups-pdf-$queue.conf
  printf 'Out %s\nAnonDirName %s\nSpool %s\nLog %s\nLogType 3\nGrp lp\n' \
    "$out" "$out" "$base/cups-pdf-spool" "$base/log" >"$pdf_conf" ||
    skip "cannot write $pdf_conf"
else
  command -v ps2pdf >/dev/null 2>&1 || skip "ps2pdf (ghostscript) is not installed"
  run_user=$(id -un) run_group=$(id -gn) system_group=$(id -gn)
  server_bin=$base/bin
  mkdir -p "$server_bin/backend"
  for d in filter daemon cgi-bin driver monitor notifier; do
    [ -e "/usr/lib/cups/$d" ] && ln -s "/usr/lib/cups/$d" "$server_bin/$d"
  done
  cat >"$server_bin/backend/tarnlist" <<EOF
#!/bin/sh
# argv: job user title copies options [file]; without arguments: discovery.
[ \$# -eq 0 ] && { echo 'direct tarnlist "Unknown" "tarnlist test output"'; exit 0; }
if [ \$# -ge 6 ]; then cat "\$6"; else cat; fi >"$out/job-\$1.ps.part" &&
  mv "$out/job-\$1.ps.part" "$out/job-\$1.ps"
EOF
  chmod 755 "$server_bin/backend/tarnlist"
  device=tarnlist:/
fi

cat >"$base/cupsd.conf" <<EOF
Listen $sock
Browsing No
LogLevel warn
DefaultAuthType None
WebInterface No
ErrorPolicy abort-job
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess all
  JobPrivateValues none
  SubscriptionPrivateAccess all
  SubscriptionPrivateValues none
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
cat >"$base/cups-files.conf" <<EOF
User $run_user
Group $run_group
SystemGroup $system_group
ServerRoot $base
ServerBin $server_bin
StateDir $base/state
CacheDir $base/cache
RequestRoot $base/spool
TempDir $base/spool/tmp
AccessLog $base/log/access_log
ErrorLog $base/log/error_log
PageLog $base/log/page_log
EOF

cupsd -f -c "$base/cupsd.conf" -s "$base/cups-files.conf" >"$base/log/cupsd.out" 2>&1 &
cupsd_pid=$!
started=0
for _ in $(seq 100); do
  if ! kill -0 "$cupsd_pid" 2>/dev/null; then break; fi
  if [ -S "$sock" ] && lpstat -h "$sock" -r 2>/dev/null | grep -q 'is running'; then
    started=1
    break
  fi
  sleep 0.2
done
if [ "$started" -eq 0 ]; then
  reason=$(cat "$base/log/cupsd.out" "$base/log/error_log" 2>/dev/null | grep -v '^W ' | tail -n1)
  kill -0 "$cupsd_pid" 2>/dev/null || cupsd_pid=
  skip "cupsd could not start: ${reason:-no answer on $sock within 20 s}"
fi

# Everything the program and the client tools see of CUPS is this server:
# no lpoptions or client.conf of the machine or the user, no PRINTER.
export CUPS_SERVER=$sock CUPS_SERVERROOT=$base HOME=$base/home
unset PRINTER LPDEST DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export TARNLIST_CONFIG=$base/tarnlist.DAT TARNLIST_PROFILE=$base/win.ini
export XDG_CONFIG_HOME=$base/home/.config XDG_STATE_HOME=$base/home/.state
export XDG_RUNTIME_DIR=$base/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
export SOURCE_DATE_EPOCH=1700000000
printf '[Intl]\niDate=2\n' >"$TARNLIST_PROFILE"

# The renderer the package itself gives its queue: the default one turns the
# fonts into bitmaps that no text can be read from.
if ! lpadmin -h "$sock" -p "$queue" -E -v "$device" -P "$ppd" \
  -o pdftops-renderer-default=pdftocairo -o printer-is-shared=false 2>"$base/log/lpadmin.err"; then
  tl_fail "lpadmin could not add the queue: $(cat "$base/log/lpadmin.err")"
  exit 1
fi
lpadmin -h "$sock" -d "$queue" 2>/dev/null
default=$(lpstat -d 2>/dev/null)
[ "$default" = "system default destination: $queue" ] || {
  tl_fail "the queue did not become the server's default: $default"
  exit 1
}

# A real file of some pages and two small ones, all accepted by the analyser.
pick() {
  local min=$1 max=$2 count=$3 f lines
  find "$corpus" -type f \( -iname '*.clw' -o -iname '*.inc' \) | LC_ALL=C sort |
    while IFS= read -r f; do
      lines=$(wc -l <"$f")
      [ "$lines" -ge "$min" ] && [ "$lines" -le "$max" ] &&
        "$tarnlist" --dump structure "$f" >/dev/null 2>&1 && echo "$f"
    done | head -n "$count"
}
# generate PATH PROCEDURES: Clarion source of about 12 lines a procedure.
generate() {
  local i
  {
    printf '  MEMBER()\n'
    for i in $(seq "$2"); do
      printf '!--------------------------------\nProc%03d PROCEDURE(LONG pValue)\nLoc:Total   LONG\n' "$i"
      printf '  CODE\n  LOOP I# = 1 TO pValue\n    Loc:Total += I# * %d   ! running total\n  END\n' "$i"
      printf "  IF Loc:Total > 1000 THEN MESSAGE('Total ' & Loc:Total).\n  RETURN\n\n"
    done
  } >"$1"
}
if [ -d "$corpus" ]; then
  main_file=$(pick 500 1500 1)
  small=()
  while IFS= read -r f; do small+=("$f"); done < <(pick 50 300 2)
else
  # Without the real sources the printing path is tested all the same.
  mkdir -p "$base/src"
  generate "$base/src/MAIN.CLW" 70
  generate "$base/src/SMALL1.CLW" 8
  generate "$base/src/SMALL2.CLW" 12
  main_file=$base/src/MAIN.CLW
  small=("$base/src/SMALL1.CLW" "$base/src/SMALL2.CLW")
fi
if [ -z "$main_file" ] || [ "${#small[@]}" -ne 2 ]; then
  skip "the corpus lacks files of the sizes this test prints"
fi

completed() { lpstat -W completed -o "$queue" 2>/dev/null | grep -c "^$queue-"; }
outputs() { find "$out" -maxdepth 1 -name "$1" 2>/dev/null | LC_ALL=C sort; }

# wait_for_jobs N: until N jobs have completed and none is left (60 s at most).
wait_for_jobs() {
  local _
  for _ in $(seq 120); do
    if [ -z "$(lpstat -o "$queue" 2>/dev/null)" ] && [ "$(completed)" -ge "$1" ]; then return 0; fi
    sleep 0.5
  done
  tl_fail "after 60 s the queue has completed $(completed) of $1 job(s); pending: $(lpstat -o "$queue" 2>&1 | head -n3)"
  return 1
}

# The PDFs of the finished jobs, in job order.
job_pdfs() {
  local ps
  if [ "$(id -u)" -ne 0 ]; then
    for ps in $(outputs 'job-*.ps'); do
      [ -f "${ps%.ps}.pdf" ] || ps2pdf "$ps" "${ps%.ps}.pdf" 2>/dev/null || tl_fail "ps2pdf failed on $ps"
    done
  fi
  ls -1tr "$out"/*.pdf 2>/dev/null
}

# run ARGS...: the program as a user starts it, without --pdf.
run() {
  "$tarnlist" "$@" >"$base/log/stdout" 2>"$base/log/stderr"
  status=$?
  [ "$status" -eq 0 ] ||
    tl_fail "tarnlist $*: exit status $status: $(grep -a '^tarnlist:' "$base/log/stderr" | head -n3)"
  ! grep -qa '^tarnlist:' "$base/log/stderr" ||
    tl_fail "tarnlist $*: $(grep -a '^tarnlist:' "$base/log/stderr" | head -n3)"
}

# the_pdf_of NAME PDF...: the one listing whose first page names NAME.
the_pdf_of() {
  local name=$1 pdf
  shift
  for pdf in "$@"; do
    tl_page_text "$pdf" 1 | grep -qF -- "$name" && { echo "$pdf"; return; }
  done
}

tl_group "tarnlist FILE on the default printer"
name=$(basename "$main_file")
run "$main_file"
if wait_for_jobs 1; then
  mapfile -t pdfs < <(job_pdfs)
  [ "$(completed)" -eq 1 ] || tl_fail "one file gave $(completed) jobs"
  if [ "${#pdfs[@]}" -ne 1 ]; then
    tl_fail "one job gave ${#pdfs[@]} PDFs in the queue's folder"
  elif tl_check_listing "${pdfs[0]}" "$main_file"; then
    pages=$TL_PAGES
    "$tarnlist" --pdf "$base/direct.pdf" "$main_file" 2>/dev/null
    echo "$name: $pages pages through CUPS, $(tl_page_count "$base/direct.pdf") with --pdf"
  fi
fi
tl_group_end "${pages:-?} pages"

tl_group "tarnlist @LIST: one job per file on the same printer"
printf '%s\n%s\n' "${small[0]}" "${small[1]}" >"$base/two.lst"
run "@$base/two.lst"
if wait_for_jobs 3; then
  mapfile -t pdfs < <(job_pdfs)
  [ "$(completed)" -eq 3 ] || tl_fail "a list of two files gave $(($(completed) - 1)) jobs"
  if [ "${#pdfs[@]}" -ne 3 ]; then
    tl_fail "the list's two jobs gave $((${#pdfs[@]} - 1)) new PDFs"
  else
    for f in "${small[@]}"; do
      pdf=$(the_pdf_of "$(basename "$f")" "${pdfs[@]}")
      if [ -z "$pdf" ]; then
        tl_fail "no PDF from the queue names $(basename "$f")"
      else
        tl_check_listing "$pdf" "$f"
      fi
    done
  fi
fi
tl_group_end

if [ "$TL_FAILURES" -gt 0 ]; then
  echo "$TL_FAILURES check(s) failed"
  exit 1
fi
echo "all printing system checks passed"
