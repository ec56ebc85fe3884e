#!/usr/bin/env bash
# Formats every C++ file in the repository with the root .clang-format.
# With --check nothing is changed: the script lists what is unformatted and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -d '' files < <(git ls-files -z '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run -Werror "${files[@]}"
else
    clang-format -i "${files[@]}"
fi
