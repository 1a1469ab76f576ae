#!/usr/bin/env bash
# fuzz/run.sh SECONDS [target...]
# Builds the fuzz targets in build-san (configuring it first if needed), runs each target (all of
# them when none is named) for SECONDS and prints one line per target: its executions, executions
# per second, corpus size and what it found. FUZZ_JOBS=2 runs two targets at a time. Each run
# starts from the target's seeds alone; the corpus it grows is kept in memory while it runs and
# left in build-san/fuzz/<name>.corpus afterwards. Exits non-zero when a target found something;
# what it found is kept in build-san/fuzz/artifacts/ and its output in build-san/fuzz/<name>.log.
set -euo pipefail

if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [target...]" >&2
    exit 2
fi
seconds=$1
shift

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-san
all=(fuzz_ini fuzz_profile fuzz_bargraph fuzz_line_message fuzz_id3 fuzz_playlist fuzz_seti
    fuzz_expand fuzz_device_answers fuzz_lcd_protocol fuzz_mqtt fuzz_character_mapping)
targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
    targets=("${all[@]}")
fi
for t in "${targets[@]}"; do
    if [[ ! " ${all[*]} " =~ " $t " ]]; then
        echo "unknown target: $t (one of: ${all[*]})" >&2
        exit 2
    fi
done

. "$root/scripts/ensure-packages.sh"
ensure_packages "${BUILD_PACKAGES[@]}" "${SANITIZER_PACKAGES[@]}"
if [[ ! -f $build/CMakeCache.txt ]]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DRELAYEUR_SANITIZE=ON -DRELAYEUR_FUZZ=ON -DRELAYEUR_BUILD_BENCH=OFF
fi
cmake --build "$build" -j2 --target "${targets[@]}"

export LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
# A report does not say where the faulty block was allocated and freed: finding is the same, and
# not recording every allocation's stack makes the targets, which allocate at every input, a sixth
# faster. An input kept in artifacts/ replays with the full stacks: build-san/fuzz/<target> <input>.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0}
artifacts=$build/fuzz/artifacts
mkdir -p "$artifacts"

# Writing each new input to ext4 cost a few percent of a run: the corpus grows in /dev/shm.
memory=/dev/shm
[[ -d $memory ]] || memory=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$memory/relayeur-corpora-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The longest input of each target, where libFuzzer's 4 KiB is more than it can use. A 10-minute
# run at 4 KiB kept no input of these four that reaches code it does not reach cut to its first
# KiB, while the longer inputs it tried on the way took about a fifth of its time. The INI reader
# and the variable expansion go further: 5-minute runs at 1 KiB and at 512 bytes, side by side from
# the seeds, reached the same code, and at 512 bytes ran 5 % (INI) and 33 % (expansion) more
# inputs. A profile's inputs are mostly a page count and a page or two: at 256 bytes, beside a run
# at 512, it reached nearly the same code (763 code points against 764) with 21 % more inputs. The
# LCDd protocol and the SETI files keep 4 KiB: their long lines and files reach code of their own.
declare -A max_len=([fuzz_ini]=512 [fuzz_profile]=256 [fuzz_line_message]=1024
    [fuzz_expand]=512)

run_one() {
    local name=$1
    local corpus=$scratch/$name.corpus
    local options=()
    mkdir -p "$corpus"
    if [[ -f $root/fuzz/$name.dict ]]; then
        options+=(-dict="$root/fuzz/$name.dict")
    fi
    if [[ -n ${max_len[$name]:-} ]]; then
        options+=(-max_len="${max_len[$name]}")
    fi
    "$build/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/$name-" "${options[@]}" \
        "$corpus" "$root/fuzz/corpus/$name" >"$build/fuzz/$name.log" 2>&1 || true
    rm -rf "$build/fuzz/$name.corpus"
    cp -r "$corpus" "$build/fuzz/$name.corpus"
}

jobs=${FUZZ_JOBS:-1}
for t in "${targets[@]}"; do
    while [[ $(jobs -rp | wc -l) -ge $jobs ]]; do
        wait -n || true
    done
    run_one "$t" &
done
wait

status=0
for t in "${targets[@]}"; do
    log=$build/fuzz/$t.log
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    corpus=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | cut -d' ' -f2)
    found=$(grep -m1 -oE 'ERROR: libFuzzer: [a-z-]+|ERROR: (Address|Leak|UndefinedBehavior)Sanitizer: [a-zA-Z-]+|runtime error: .{0,60}|check failed: .{0,60}' "$log" || true)
    if [[ -n $found ]] || ! grep -q '^Done [0-9]* runs' "$log"; then
        status=1
        artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
        found="FOUND ${found:-an abnormal end} ${artifact:+-> $artifact}"
    else
        found="nothing found"
    fi
    printf '%-18s %12s execs %7s/s  corpus %-12s %s\n' "$t" "${execs:-?}" "${rate:-?}" \
        "${corpus:-?}" "$found"
done
exit $status
