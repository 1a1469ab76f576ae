#!/usr/bin/env bash
# Makes small faults in the program one at a time and tells which of them the test suite misses.
#
#   scripts/mutate.sh                  every mutation of scripts/mutations.txt
#   scripts/mutate.sh NAME...          only the mutations with these names
#   scripts/mutate.sh --list FILE ...  the mutations of another list
#   scripts/mutate.sh --no-baseline    skips the first run of the suite on the sources as they are
#   scripts/mutate.sh --check          only checks that every mutation of the list applies
#
# Each mutation replaces one text, which must occur exactly once, in one file under src/ or
# tools/. The program and its tests are then built in build-mut (kept between mutations and runs,
# through ccache) and the whole ctest suite runs there, stopping at its first failure; the file is
# put back before the next mutation, and also when the script is stopped. A mutation is "caught"
# when the suite fails, "survived" when it passes, "broken" when it does not build. The survivors
# are listed at the end; the exit status is 1 when any mutation survived or did not build.
#
# The list holds one mutation per paragraph (paragraphs apart by a blank line, # starts a
# comment line):
#   name: a-short-name
#   file: src/render/RefreshLCD.cpp
#   from: the exact text of one line, or part of one
#   to: what replaces it
# A text starts after the one space that follows the colon and keeps any further space; a text
# of several lines repeats "from:" or "to:" on each of them.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-mut
list=scripts/mutations.txt
baseline=true
check=false
wanted=()

usage() { sed -n '2,/^set -euo/p' "$0" | sed '$d' | sed 's/^# \{0,1\}//'; }

while [ $# -gt 0 ]; do
    case $1 in
    --list) list=$2; shift ;;
    --no-baseline) baseline=false ;;
    --check) check=true ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "mutate.sh : option inconnue « $1 » (voir --help)" >&2; exit 2 ;;
    *) wanted+=("$1") ;;
    esac
    shift
done

# The list, read into parallel arrays.
names=() files=() froms=() tos=()
read_list() {
    local line key value name="" file="" from="" to="" have_from=false have_to=false
    flush() {
        if [ -n "$name$file$from$to" ]; then
            if [ -z "$name" ] || [ -z "$file" ] || ! $have_from || ! $have_to; then
                echo "$list : mutation incomplète « ${name:-sans nom} »" >&2
                exit 2
            fi
            names+=("$name") files+=("$file") froms+=("$from") tos+=("$to")
        fi
        name="" file="" from="" to="" have_from=false have_to=false
    }
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in
        '#'*) continue ;;
        '') flush; continue ;;
        esac
        key=${line%%:*}
        value=${line#*:}
        value=${value# }
        case $key in
        name) name=$value ;;
        file) file=$value ;;
        # A text of several lines takes one "from:" or "to:" line each.
        from) if $have_from; then from+=$'\n'$value; else from=$value have_from=true; fi ;;
        to) if $have_to; then to+=$'\n'$value; else to=$value have_to=true; fi ;;
        *) echo "$list : ligne inattendue « $line »" >&2; exit 2 ;;
        esac
    done <"$list"
    flush
}
read_list

# How many times `text` occurs in `file`.
occurrences() {
    local content=$1 text=$2 count=0
    while [[ $content == *"$text"* ]]; do
        content=${content#*"$text"}
        count=$((count + 1))
    done
    echo "$count"
}

# Every selected mutation must apply before anything is built: a stale list fails at once.
selected=()
for i in "${!names[@]}"; do
    if [ ${#wanted[@]} -gt 0 ] && [[ " ${wanted[*]} " != *" ${names[i]} "* ]]; then
        continue
    fi
    case ${files[i]} in
    src/* | tools/*) ;;
    *) echo "${names[i]} : ${files[i]} n'est ni sous src/ ni sous tools/" >&2; exit 2 ;;
    esac
    if [ ! -f "${files[i]}" ]; then
        echo "${names[i]} : ${files[i]} introuvable" >&2
        exit 2
    fi
    n=$(occurrences "$(<"${files[i]}")" "${froms[i]}")
    if [ "$n" -ne 1 ]; then
        echo "${names[i]} : le texte à remplacer apparaît $n fois dans ${files[i]}" >&2
        exit 2
    fi
    selected+=("$i")
done
if [ ${#selected[@]} -eq 0 ]; then
    echo "Aucune mutation choisie" >&2
    exit 2
fi
if $check; then
    echo "${#selected[@]} mutations, toutes applicables"
    exit 0
fi

. scripts/ensure-packages.sh
# The test programs share a precompiled header; ccache caches what is built with it only when told
# to leave its definitions and its fresh modification time aside.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" ccache

mkdir -p "$build"
backup="$build/mutated-file.orig"
mutated=""
restore() {
    if [ -n "$mutated" ]; then
        cat "$backup" >"$mutated"
        mutated=""
    fi
}
trap restore EXIT
trap 'restore; exit 130' INT
trap 'restore; exit 143' TERM

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRELAYEUR_BUILD_TESTS=ON \
    -DRELAYEUR_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache >/dev/null

build_and_test() {
    cmake --build "$build" -j"$(nproc)" >"$build/mutate-build.log" 2>&1 || return 2
    (cd "$build" && ctest -j"$(nproc)" --timeout 120 --stop-on-failure) \
        >"$build/mutate-test.log" 2>&1 || return 1
}

if $baseline; then
    echo "Suite sur les sources telles quelles…"
    status=0
    build_and_test || status=$?
    if [ "$status" -ne 0 ]; then
        echo "La suite échoue déjà sans mutation (voir $build/mutate-build.log, mutate-test.log)" >&2
        exit 2
    fi
fi

survivors=()
broken=()
for i in "${selected[@]}"; do
    file=${files[i]}
    cp "$file" "$backup"
    mutated=$file
    content=$(<"$backup")
    # $(<) drops the last newline: put it back.
    printf '%s\n' "${content/"${froms[i]}"/"${tos[i]}"}" >"$file"
    started=$SECONDS
    status=0
    build_and_test || status=$?
    restore
    case $status in
    0) verdict=survécu; survivors+=("${names[i]}") ;;
    1) verdict=attrapé ;;
    *) verdict="ne compile pas"; broken+=("${names[i]}") ;;
    esac
    printf '%-40s %-15s %4ds\n' "${names[i]}" "$verdict" $((SECONDS - started))
done

echo
echo "${#selected[@]} mutations, ${#survivors[@]} survivante(s), ${#broken[@]} qui ne compile(nt) pas"
for name in "${survivors[@]}"; do echo "  survécu : $name"; done
for name in "${broken[@]}"; do echo "  ne compile pas : $name"; done
[ ${#survivors[@]} -eq 0 ] && [ ${#broken[@]} -eq 0 ]
