#!/usr/bin/env bash
# Runs one fuzz target on its seed corpus and fails on a finding (a crash, a sanitizer report, a
# broken property, a leak or a time-out):
#   run_fuzzer.sh FUZZER SEEDS runs N        a fixed number of runs (the tests: bounded time)
#   run_fuzzer.sh FUZZER SEEDS time SECONDS CORPUS
#                                            as long as asked, growing CORPUS (make fuzz)
# New inputs go to a scratch folder (or CORPUS), never into the seeds. Scratch files of the
# targets go to /dev/shm when it is there, so that the saves' flushes cost nothing.
set -u
fuzzer=$1 seeds=$2 mode=$3 amount=$4
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
common=(-timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$scratch/")
case $mode in
  runs) "$fuzzer" "${common[@]}" -seed=1 -runs="$amount" "$scratch" "$seeds"; status=$? ;;
  time) corpus=$5; mkdir -p "$corpus"
        "$fuzzer" "${common[@]}" -max_total_time="$amount" "$corpus" "$seeds"; status=$? ;;
  *) echo "run_fuzzer.sh: mode must be runs or time" >&2; exit 2 ;;
esac
if [ "$status" -ne 0 ]; then
  for f in "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* "$scratch"/oom-*; do
    [ -e "$f" ] || continue
    keep=${FUZZ_ARTIFACTS:-$PWD}/$(basename "$fuzzer")-$(basename "$f")
    cp "$f" "$keep" && echo "finding kept in $keep (re-run: $fuzzer $keep)" >&2
  done
fi
exit "$status"
