#!/usr/bin/env bash
# Runs the lake benchmarks, bench_lake_gl on a private Xvfb (Mesa) and bench_lake_headless, and
# prints their results as one table, optionally with some of the machine's cores held busy.
# Usage: bench/run_bench.sh [--busy N] [build dir (build)] [frames per measurement (120)] [rounds (5)]
#                           [only the GL rows whose label contains this]
# --busy N: N busy loops of our own run beside the benchmarks (other programs holding N cores);
# they end with the script, and on their own after an hour whatever happens to it.
set -u
busy=0
if [[ ${1:-} == --busy ]]; then
  busy=${2:-}
  if ! [[ $busy =~ ^[0-9]+$ ]]; then
    echo "run_bench.sh: --busy needs a number of loops" >&2
    exit 2
  fi
  shift 2
fi
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
frames=${2:-120}
rounds=${3:-5}
only=${4:-}
for prog in bench_lake_gl bench_lake_headless; do
  if [[ ! -x "$build/bench/$prog" ]]; then
    echo "run_bench.sh: $build/bench/$prog is missing: build first" >&2
    exit 1
  fi
done

busy_pids=()
end_busy() {
  if ((${#busy_pids[@]})); then kill "${busy_pids[@]}" 2>/dev/null; fi
  busy_pids=()
}
trap end_busy EXIT
trap 'exit 130' INT TERM
for ((i = 0; i < busy; ++i)); do
  # A loop that checks the time as it spins: it stops by itself after the limit.
  (
    end=$((SECONDS + 3600))
    while ((SECONDS < end)); do :; done
  ) &
  busy_pids+=($!)
done

# The sound library's complaints about a machine without sound are noise here.
quiet() { grep -v -e '^ALSA lib' -e 'sound could not be opened' >&2; }

gl_args=("$frames" "$rounds")
[[ -n $only ]] && gl_args+=("$only")
gl=$("$here/../tests/run_with_xvfb.sh" "$build/bench/bench_lake_gl" "${gl_args[@]}" 2> >(quiet))
gl_status=$?
headless=$("$build/bench/bench_lake_headless" 300 2> >(quiet))
headless_status=$?
load=$(cut -d' ' -f1-3 /proc/loadavg)
end_busy

echo "cores: $(nproc), busy loops of our own: $busy, load at the end: $load"
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
