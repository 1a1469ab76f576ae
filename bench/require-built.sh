# Sourced by the bench scripts: stops with the build command when a program they run is missing.
# require_built PREFIX BUILD_DIR BINARY...
require_built() {
    local prefix=$1 build=$2 binary
    shift 2
    for binary in "$@"; do
        if [ ! -x "$binary" ]; then
            echo "$prefix: $binary is missing; build it first:" >&2
            echo "  cmake -S . -B $build -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build $build -j2" >&2
            exit 2
        fi
    done
}
