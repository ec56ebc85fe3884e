#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
# Usage: scripts/test.sh [--sanitize] [--werror] [ctest arguments...]
#   --sanitize  the core layers' tests in the address and undefined-behaviour sanitizer build
#   --werror    compiler warnings are errors (as in CI)
set -euo pipefail
cd "$(dirname "$0")/.."

preset=default
werror=OFF
while [ $# -gt 0 ]; do
    case "$1" in
    --sanitize) preset=sanitize ;;
    --werror) werror=ON ;;
    *) break ;;
    esac
    shift
done

bash scripts/setup.sh
cmake --preset "$preset" -DTROVECART_WERROR="$werror" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2 "$@"
