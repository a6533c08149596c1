#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# every test headless; then does the same again in a second build with
# AddressSanitizer and UndefinedBehaviorSanitizer; then runs each fuzz target
# for a short while (QUINTOR_FUZZ_SECONDS, default 30; QUINTOR_FUZZ_TARGETS
# picks targets), so that a reader that now crashes or breaks its rules is
# caught. Exits non-zero on any failure or
# sanitizer finding.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
JOBS=$(nproc)

echo "== Build and test"
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINTOR_WERROR=ON >/dev/null
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUINTOR_WERROR=ON -DQUINTOR_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$JOBS"
export ASAN_OPTIONS="abort_on_error=0:halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build/sanitize --output-on-failure -j "$JOBS"

echo "== Fuzz targets, ${QUINTOR_FUZZ_SECONDS:-30} s each"
# A fixed seed: a finding in CI is found again by the same command.
scripts/fuzz.sh "${QUINTOR_FUZZ_SECONDS:-30}" -seed=1

echo "== All tests passed, also under the sanitizers and the fuzz targets"
