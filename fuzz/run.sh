#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz, replays the saved reproducers of each target
# (fuzz/regressions/<target>/*), then fuzzes each target briefly from a copy of its seeds.
# libFuzzer's output goes to logs under build-fuzz; the console gets one line per target, the
# tail of the log of any that failed, and last the count: "fuzz: N passed, M failed".
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
seconds="${QUVEX_FUZZ_SECONDS:-12}"
targets=(answer_number unit_answer settings_file)
# Room for answers beyond the link's 4 KiB limit, so the cut itself gets exercised.
declare -A max_len=([answer_number]=4096 [unit_answer]=8192 [settings_file]=4096)

export ASAN_OPTIONS="detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"

finish() {
    echo "fuzz: $1 passed, $2 failed"
    if (($2 > 0)); then exit 1; fi
    exit 0
}

show_tail() {
    echo "---- last lines of $1"
    tail -n "${2:-40}" "$1"
    echo "----"
}

mkdir -p "$build"
# A folder configured with another compiler cannot be switched to clang in place.
if [[ -f "$build/CMakeCache.txt" ]] && ! grep -q '^CMAKE_CXX_COMPILER:.*clang++' "$build/CMakeCache.txt"; then
    rm -rf "$build"
    mkdir -p "$build"
fi

if ! CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DQUVEX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >"$build/configure.log" 2>&1; then
    echo "fuzz: configure failed"
    show_tail "$build/configure.log"
    finish 0 "${#targets[@]}"
fi
if ! cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}" >"$build/build.log" 2>&1; then
    echo "fuzz: build failed"
    grep -E 'error|warning' "$build/build.log" | head -n 40
    show_tail "$build/build.log" 20
    finish 0 "${#targets[@]}"
fi
if grep -q 'warning:' "$build/build.log"; then
    # The project builds warning-free; a warning here is a failure like any other.
    echo "fuzz: build has warnings"
    grep -A3 'warning:' "$build/build.log" | head -n 40
    finish 0 "${#targets[@]}"
fi

passed=0
failed=0
for target in "${targets[@]}"; do
    binary="$build/fuzz_$target"
    work="$build/fuzz-work/$target"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$root/fuzz/corpus/$target/"* "$work/corpus/"
    # No -max_len on replay: libFuzzer would cut a longer reproducer down to it.
    common=(-timeout=5 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/")

    shopt -s nullglob
    reproducers=("$root/fuzz/regressions/$target/"*)
    shopt -u nullglob
    if ((${#reproducers[@]} > 0)) && ! "$binary" "${common[@]}" "${reproducers[@]}" >"$work/replay.log" 2>&1; then
        echo "fuzz_$target: FAILED replaying fuzz/regressions/$target"
        show_tail "$work/replay.log" 40
        ((++failed))
        continue
    fi

    if "$binary" "${common[@]}" -max_len="${max_len[$target]}" -max_total_time="$seconds" -print_final_stats=1 "$work/corpus" \
        >"$work/fuzz.log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")"
        echo "fuzz_$target: passed (${#reproducers[@]} reproducers, ${runs:-?} runs in ${seconds}s)"
        ((++passed))
    else
        echo "fuzz_$target: FAILED while fuzzing; input saved as:"
        find "$work/artifacts" -type f -printf '  %p\n'
        show_tail "$work/fuzz.log" 40
        ((++failed))
    fi
done

finish "$passed" "$failed"
