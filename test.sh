#!/usr/bin/env bash
# Sets up, builds and runs every test: the Release build with all tests, then
# all tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the printout's tests (print-all on several threads) under ThreadSanitizer,
# and every fuzz target for a short while where clang is at hand.
set -euo pipefail
cd "$(dirname "$0")"
. tools/setup.sh

tarnlist_ensure_packages "${TARNLIST_BUILD_PACKAGES[@]}" "${TARNLIST_TEST_PACKAGES[@]}"

jobs=$(nproc 2>/dev/null || echo 2)

tarnlist_log "release build and tests"
tarnlist_configure build -DCMAKE_BUILD_TYPE=Release -DTARNLIST_WERROR=ON
cmake --build build -j "$jobs"
status=0
ctest --test-dir build --output-on-failure -j "$jobs" || status=1
if [ -f build/tests/scripts/cups_print/SKIPPED ]; then
  tarnlist_log "the real printing test was skipped: $(cat build/tests/scripts/cups_print/SKIPPED)"
fi

tarnlist_log "all tests again under AddressSanitizer and UndefinedBehaviorSanitizer"
# The Qt layers and the program too: the PDF writer and its TrueType reader
# parse the system's fonts, and the scripts print real files through the program.
tarnlist_configure build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNLIST_SANITIZE=ON \
  -DTARNLIST_WITH_QT=ON -DTARNLIST_BENCHMARKS=OFF -DTARNLIST_WERROR=ON
cmake --build build-san -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0" \
  ctest --test-dir build-san --output-on-failure -j "$jobs" || status=1

tarnlist_log "print-all on several threads under ThreadSanitizer"
# The core only: Qt's own libraries are not built for it.
tarnlist_configure build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNLIST_THREAD_SANITIZE=ON \
  -DTARNLIST_WITH_QT=OFF -DTARNLIST_BENCHMARKS=OFF -DTARNLIST_WERROR=ON
cmake --build build-tsan -j "$jobs" --target tarn_printout_tests
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" -L printout ||
  status=1

if tarnlist_can_fuzz; then
  tarnlist_log "every fuzz target over its seeds, then for 20 seconds of new inputs"
  tools/fuzz.sh 20 || status=1
else
  tarnlist_log "clang with libFuzzer is not on this machine: the fuzz targets were not run"
fi

exit $status
