#!/usr/bin/env bash
# Builds the fuzz targets with clang (build/fuzz) and runs each in turn for
# SECONDS (default 60) from its seed corpus and dictionary. The corpus a run
# grows is kept in build/fuzz/corpus, not in the repository; an input that
# breaks a target is written to build/fuzz/findings and ends the script with
# a non-zero status. Extra arguments go to every target (e.g. -fork=1
# -ignore_crashes=1 to go on past a finding). QUINTOR_FUZZ_TARGETS names the
# targets to run (default: all four); 0 seconds builds them and runs none.
#
#   scripts/fuzz.sh [SECONDS] [libFuzzer options...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
SECONDS_EACH=${1:-60}
shift || true
read -r -a TARGETS <<< "${QUINTOR_FUZZ_TARGETS:-ProfileFileFuzz RegistryStoreFuzz TopTenFileFuzz VersionBlockFuzz}"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINTOR_FUZZ=ON >/dev/null
cmake --build build/fuzz --target fuzzers -j "$(nproc)"
if [ "$SECONDS_EACH" -eq 0 ]; then exit 0; fi

# The files the targets write go to memory where there is some, and away afterwards.
QUINTOR_FUZZ_SCRATCH=$(mktemp -d "$( [ -d /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}")/quintor-fuzz.XXXXXX")
export QUINTOR_FUZZ_SCRATCH
trap 'rm -rf "$QUINTOR_FUZZ_SCRATCH"' EXIT
export ASAN_OPTIONS="abort_on_error=0:halt_on_error=1:detect_leaks=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
mkdir -p build/fuzz/findings
status=0
for target in "${TARGETS[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  echo "== $target for ${SECONDS_EACH}s"
  if ! build/fuzz/fuzz/$target "$corpus" "fuzz/corpus/$target" -dict="fuzz/dict/$target.dict" \
      -max_total_time="$SECONDS_EACH" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="build/fuzz/findings/$target-" -print_final_stats=1 "$@" 2>build/fuzz/$target.log; then
    status=1
    grep -E 'fuzz rule broken|ERROR:|SUMMARY' -A3 build/fuzz/$target.log | head -20 || true
    echo "   $target FAILED: its input is in build/fuzz/findings, its log in build/fuzz/$target.log"
  fi
  # The executions: the final count, or in -fork mode the last progress line.
  grep -E '^stat::number_of_executed_units' build/fuzz/$target.log | sed "s/^/   /" ||
    grep -E '^#[0-9]+' build/fuzz/$target.log | tail -1 | sed "s/^/   /" || true
done
exit $status
