#!/usr/bin/env bash
# Rewrites the recorded page layouts in tests/data/layout from the current
# build, then shows what changed: review every change before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target tarn_printout_tests >/dev/null
TARNLIST_UPDATE_GOLDEN=1 ./build/tests/tarn_printout_tests --gtest_filter='LayoutGolden*' >/dev/null
git status --short tests/data/layout
git --no-pager diff --stat tests/data/layout
