#!/usr/bin/env bash
# Sets up what Tarnlist needs on a Debian 12 machine, builds it and runs it.
#   ./run.sh [ARGS]    e.g. ./run.sh --pdf out.pdf FILE.CLW
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
. tools/setup.sh

tarnlist_ensure_packages "${TARNLIST_BUILD_PACKAGES[@]}"
tarnlist_configure build -DCMAKE_BUILD_TYPE=Release
cmake --build build --target tarnlist >&2

cd - >/dev/null
exec "$here/build/tarnlist" "$@"
