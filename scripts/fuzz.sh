#!/usr/bin/env bash
# Fuzzes one reader with libFuzzer: builds build-fuzz with clang (address and undefined-behaviour
# sanitizers on), runs fuzz_<reader> for the given seconds on a scratch corpus started from
# fuzz/corpus/<reader>, then merges the inputs that reach new code into fuzz/corpus/<reader>.
# Crashes, time-outs and out-of-memory inputs are written to build-fuzz/findings/<reader>/.
# Usage: scripts/fuzz.sh <reader> [seconds] [more libFuzzer options]
#   readers: save stock lake_model texture wave
set -euo pipefail
cd "$(dirname "$0")/.."
reader=${1:?usage: scripts/fuzz.sh <reader> [seconds] [libFuzzer options]}
seconds=${2:-600}
shift $(( $# >= 2 ? 2 : 1 ))

if [[ ! -f build-fuzz/CMakeCache.txt ]]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLAKESIDE_FUZZ=ON \
    -DBUILD_TESTING=OFF >/dev/null
fi
cmake --build build-fuzz -j"${FUZZ_JOBS:-4}" --target "fuzz_$reader" >/dev/null

work=build-fuzz/work/$reader
findings=build-fuzz/findings/$reader
mkdir -p "$work" "$findings"
status=0
build-fuzz/fuzz/fuzz_"$reader" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
  -artifact_prefix="$findings/" -print_final_stats=1 "$@" "$work" "fuzz/corpus/$reader" || status=$?
build-fuzz/fuzz/fuzz_"$reader" -merge=1 "fuzz/corpus/$reader" "$work" 2>&1 | grep -E "MERGE-OUTER: [0-9]+ new files" || true
exit $status
