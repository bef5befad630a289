#!/usr/bin/env bash
# tools/fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang
# in build-fuzz/ and runs each for SECONDS (default 60), as many at once as
# there are processors. New inputs are kept in build-fuzz/corpus/TARGET; a
# crash, leak, timeout (> 2 s an input) or out-of-memory (> 2 GB) fails the
# run and names the reproducer under build-fuzz/findings/TARGET/.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/setup.sh

seconds=${1:-60}
shift || true
all=(analysis project redirection list config profile layout fonts)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
corpus=${TARNLIST_CORPUS:-$PWD/../shared/corpus}
out=build-fuzz

tarnlist_can_fuzz || { tarnlist_log "fuzzing needs clang with libFuzzer (packages clang, libclang-rt-14-dev)"; exit 2; }
tarnlist_configure "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DTARNLIST_FUZZ=ON "-DTARNLIST_CORPUS=$corpus"
cmake --build "$out" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Seeds: what tests/data/fuzz holds for the target, the real sources for the
# readers of sources, the machine's own small font files for the font readers.
seeds() {
  local name=$1
  echo "tests/data/fuzz/$name"
  case $name in
    analysis | layout | project) [ -d "$corpus/real" ] && echo "$corpus/real" ;;
    fonts)
      mkdir -p "$out/seeds/fonts"
      find /usr/share/fonts \( -name '*.ttf' -o -name '*.otf' -o -name '*.t1' -o -name '*.pfb' \
        -o -name '*.pfa' \) -size -200k 2>/dev/null | head -40 | xargs -r cp -t "$out/seeds/fonts"
      echo "$out/seeds/fonts" ;;
  esac
}

run() {
  local name=$1 log="$out/fuzz-$1.log"
  mkdir -p "$out/corpus/$name" "$out/findings/$name"
  local extra=()
  case $name in analysis | layout | project | redirection) extra=(-dict=tests/fuzz/clarion.dict) ;; esac
  # Real files are long; their first 16 KB hold the structures, and short
  # inputs run many times faster.
  case $name in analysis | layout | project) extra+=(-max_len=16384) ;; esac
  # shellcheck disable=SC2046
  if ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    "$out/tests/fuzz/fuzz_$name" "$out/corpus/$name" $(seeds "$name") "${extra[@]}" \
      -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 -malloc_limit_mb=2048 \
      -artifact_prefix="$out/findings/$name/" -print_final_stats=1 >"$log" 2>&1; then
    tarnlist_log "fuzz_$name: $(grep -E '^#[0-9]+.*DONE' "$log" | tail -1 | sed 's/ *$//')"
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" | tr '\n' ' ' >&2; echo >&2
  else
    tarnlist_log "fuzz_$name FAILED (log: $log)"
    grep -E 'ERROR|invariant broken|SUMMARY' "$log" | head -5 >&2 || true
    ls -t "$out/findings/$name"/* 2>/dev/null | head -1 | sed 's/^/reproducer: /' >&2
    return 1
  fi
}

status=0
jobs=$(nproc 2>/dev/null || echo 2)
pids=()
for name in "${targets[@]}"; do
  run "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || status=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
