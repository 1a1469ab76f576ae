#!/usr/bin/env bash
# Installs what is missing, builds Relayeur and its tests, and runs the whole test suite twice:
# once as built for use, once built by clang under AddressSanitizer and UndefinedBehaviorSanitizer,
# where every fuzz target also gets a short run.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${SANITIZER_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRELAYEUR_BUILD_TESTS=ON \
    -DRELAYEUR_BUILD_BENCH=ON >/dev/null
cmake --build build -j"$(nproc)"
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 120)

CC=clang CXX=clang++ cmake -S . -B build-san -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRELAYEUR_SANITIZE=ON -DRELAYEUR_FUZZ=ON -DRELAYEUR_BUILD_TESTS=ON \
    -DRELAYEUR_BUILD_BENCH=OFF >/dev/null
cmake --build build-san -j"$(nproc)"
# A sanitizer's report fails the test that caused it, programs started by the tests included.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-san && ctest --output-on-failure -j"$(nproc)" --timeout 300)
