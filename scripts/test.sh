#!/usr/bin/env bash
# Installs what is missing, builds and runs every test. With --sanitize: the core layers' tests
# in the address and undefined-behaviour sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
if [ "${1:-}" = "--sanitize" ]; then
    preset=sanitize
    shift
fi

bash scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2 "$@"
