#!/usr/bin/env bash
# Builds and runs every test: the suite, the same suite under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short run of each fuzzer.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

"$root/scripts/setup.sh" --test

# Release is what ships: every target has to compile there without a warning.
cmake -S "$root" -B "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DQUVEX_WERROR=ON >/dev/null
cmake --build "$root/build-release" -j"$jobs"
(cd "$root/build-release" && ctest --output-on-failure -j"$jobs")

cmake -S "$root" -B "$root/build-sanitize" -DCMAKE_BUILD_TYPE=Debug -DQUVEX_SANITIZE=ON -DQUVEX_WERROR=ON >/dev/null
cmake --build "$root/build-sanitize" -j"$jobs"
(cd "$root/build-sanitize" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --output-on-failure -j"$jobs")

if [[ -x "$root/fuzz/run.sh" ]]; then
    "$root/fuzz/run.sh"
fi
"$root/scripts/check_package.sh"
