#!/usr/bin/env bash
# Line and branch coverage of the program (src/ and tools/) by the whole test suite.
#
#   scripts/coverage.sh             builds in build-cov with gcc's --coverage, runs ctest there and
#                                 prints the line and branch coverage of src/ + tools/
#   scripts/coverage.sh --files     the same, with the figures of every file
#   scripts/coverage.sh --no-build  reports on the counts the last run left, without building or
#                                 running anything again
#
# The counts add up over runs, so every run starts from zero. Branches that only an exception
# takes, and those the compiler proved unreachable, are left out: they are not choices a test can
# make. Tests, fuzz targets, benchmarks and the files Qt generates (moc, ui) are not counted.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build-cov

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; }

per_file=false
run=true
for arg in "$@"; do
    case $arg in
    --files) per_file=true ;;
    --no-build) run=false ;;
    -h | --help) usage; exit 0 ;;
    *) echo "coverage.sh : option inconnue « $arg » (voir --help)" >&2; exit 2 ;;
    esac
done

. scripts/ensure-packages.sh
# The test programs share a precompiled header; ccache caches what is built with it only when told
# to leave its definitions and its fresh modification time aside.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" gcovr ccache

if $run; then
    # Counts are updated atomically: the worker threads (values, MQTT) would otherwise race on
    # them, and a count that goes negative stops gcovr.
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DRELAYEUR_BUILD_TESTS=ON \
        -DRELAYEUR_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="--coverage -fprofile-abs-path -fprofile-update=atomic" \
        -DCMAKE_EXE_LINKER_FLAGS="--coverage" -DCMAKE_SHARED_LINKER_FLAGS="--coverage" \
        -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null
    cmake --build "$build" -j"$(nproc)"
    find "$build" -name '*.gcda' -delete
    # A failing test still leaves its counts: report them, then fail.
    status=0
    (cd "$build" && ctest -j"$(nproc)" --timeout 300 --output-on-failure) || status=$?
fi

# A source that a target no longer builds (moved to another target, or gone) leaves its notes
# behind in the build folder, and gcovr would merge them with the current ones: they go first.
find "$build" -name '*.gcno' | while read -r notes; do
    dir=${notes%%.dir/*}.dir
    object=${notes#"$dir"/}
    if ! grep -qF "${dir##*/}/${object%.gcno}.o:" "$dir/build.make" 2>/dev/null; then
        rm -f "$notes" "${notes%.gcno}.gcda"
    fi
done

# The counts are looked for in the build folder itself, not given as --object-directory: ccache
# hands the compiler paths relative to each file's own build folder, which gcovr finds from where
# the counts lie. gcov runs once; the reports read what it found.
trace=$build/coverage.json
gcovr --root "$root" "$root/$build" --filter "$root/src/" --filter "$root/tools/" \
    --exclude '.*_autogen/.*' --exclude '.*/ui_[^/]*\.h' \
    --exclude-unreachable-branches --exclude-throw-branches --json "$trace" 2>"$build/gcovr.log" || {
    echo "coverage.sh : gcovr n'a pas pu lire les comptes ($build/gcovr.log) :" >&2
    tail -n 3 "$build/gcovr.log" >&2
    exit 1
}
report=(gcovr --root "$root" --add-tracefile "$trace")

if $per_file; then
    "${report[@]}"
    "${report[@]}" --branches
fi
# The two figures, one line each. The report itself goes to a file of the build folder: gcovr
# replaces its output file, which would turn /dev/null into a plain file when run as root.
"${report[@]}" --print-summary --output "$build/coverage.txt" | grep -E '^(lines|branches):'
exit "${status:-0}"
