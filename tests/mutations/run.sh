#!/usr/bin/env bash
# Mutation check for the test suite: applies each deliberate fault of faults.tsv to a fresh copy
# of the committed tree, rebuilds, runs the suite and notes whether any test failed. A fault the
# suite misses is a hole in the tests. Not part of the test command: a full run rebuilds once per
# fault and takes about half an hour.
#
#   tests/mutations/run.sh [ID...]     all faults, or the ones named
#
# faults.tsv: one fault per line, tab-separated: id, file, text to find (literal, first
# occurrence; \n a line break, \\ a backslash), text to put in its place (never empty: read
# takes two tabs in a row for one), what the fault is. Lines starting with # are comments.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
faults="$root/tests/mutations/faults.tsv"
work="$(mktemp -d)"
tree="$work/tree"
trap 'git -C "$root" worktree remove --force "$tree" >/dev/null 2>&1; rm -rf "$work"' EXIT

git -C "$root" worktree add --detach "$tree" HEAD >/dev/null 2>&1 || { echo "cannot make a worktree" >&2; exit 1; }
build="$tree/build-release"
cmake -S "$tree" -B "$build" -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
echo "building the unchanged tree..."
cmake --build "$build" -j"$(nproc)" >"$work/build.log" 2>&1 || { tail -30 "$work/build.log"; exit 1; }
(cd "$build" && ctest -j"$(nproc)" >"$work/clean.log" 2>&1) || { echo "the unchanged suite fails:"; grep -E 'Failed|\*\*\*' "$work/clean.log"; exit 1; }

# Replaces the first occurrence of $2 by $3 in file $1; fails when $2 is not there.
replace_once() {
    local content
    content="$(cat "$1"; printf x)"
    content="${content%x}"
    [[ "$content" == *"$2"* ]] || return 1
    printf '%s' "${content/"$2"/"$3"}" >"$1"
}

caught=0; missed=0; broken=0
while IFS=$'\t' read -r id file search replacement what; do
    [[ -z "$id" || "$id" == \#* ]] && continue
    if (($# > 0)) && [[ " $* " != *" $id "* ]]; then continue; fi
    search="$(printf '%bx' "$search")"; search="${search%x}"
    replacement="$(printf '%bx' "$replacement")"; replacement="${replacement%x}"
    if ! replace_once "$tree/$file" "$search" "$replacement"; then
        printf '%-4s NOT FOUND  %s (%s)\n' "$id" "$what" "$file"; ((broken++)); continue
    fi
    if ! cmake --build "$build" -j"$(nproc)" >"$work/$id.build.log" 2>&1; then
        printf '%-4s NO BUILD   %s\n' "$id" "$what"; ((broken++))
    elif (cd "$build" && ctest -j"$(nproc)" >"$work/$id.test.log" 2>&1); then
        printf '%-4s MISSED     %s\n' "$id" "$what"; ((missed++))
    else
        printf '%-4s caught by  %s: %s\n' "$id" \
            "$(grep -oE '[0-9]+ - [a-z_]+' "$work/$id.test.log" | sed 's/^[0-9]* - //' | xargs)" "$what"
        ((caught++))
    fi
    git -C "$tree" checkout -- "$file"
done <"$faults"
echo "mutations: $caught caught, $missed missed, $broken could not be applied or built"
((missed == 0 && broken == 0))
