#!/usr/bin/env bash
# Runs the lake benchmarks, bench_lake_gl on a private Xvfb (Mesa) and bench_lake_headless, and
# prints their results as one table.
# Usage: bench/run_bench.sh [build dir (build)] [frames per measurement (120)] [rounds (5)]
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
frames=${2:-120}
rounds=${3:-5}
for prog in bench_lake_gl bench_lake_headless; do
  if [[ ! -x "$build/bench/$prog" ]]; then
    echo "run_bench.sh: $build/bench/$prog is missing: build first" >&2
    exit 1
  fi
done

# The sound library's complaints about a machine without sound are noise here.
quiet() { grep -v -e '^ALSA lib' -e 'sound could not be opened' >&2; }

gl=$("$here/../tests/run_with_xvfb.sh" "$build/bench/bench_lake_gl" "$frames" "$rounds" 2> >(quiet))
gl_status=$?
headless=$("$build/bench/bench_lake_headless" 300 2> >(quiet))
headless_status=$?

echo "cores: $(nproc), load: $(cut -d' ' -f1-3 /proc/loadavg)"
grep -v '^|' <<<"$gl"
grep -v '^|' <<<"$headless"
echo
if [[ $gl_status -eq 0 ]]; then
  grep '^|' <<<"$gl"
else
  echo "| what | ms per frame | frames per second | ms issuing (CPU) | GL draws per frame | CPU ms issuing | CPU ms, all threads |"
  echo "|---|---:|---:|---:|---:|---:|---:|"
  echo "(bench_lake_gl did not run: status $gl_status)" >&2
fi
grep '^|' <<<"$headless"
[[ $gl_status -eq 0 && $headless_status -eq 0 ]]
