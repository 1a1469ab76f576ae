#!/usr/bin/env bash
# Frame times of the running program on a serial panel, with and without values that are slow to
# come (a command that hangs, a FIFO nobody writes, an MQTT broker that never answers): they must
# cost the refresh nothing. See bench/frame-times.py.
#
#   bench/frame-times.sh [SECONDS [RUNS]]      (defaults: 60 s, 3 runs)
#
# Environment: RELAYEUR_BUILD (default build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${RELAYEUR_BUILD:-build-bench}
. scripts/ensure-packages.sh
ensure_packages python3
. bench/require-built.sh
require_built frame-times "$build" "$PWD/$build/relayeur"
exec python3 bench/frame-times.py "$PWD/$build/relayeur" "${1:-60}" "${2:-3}"
