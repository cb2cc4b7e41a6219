#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the repository's .clang-format makes of it.
# Debian 12's clang-format (14) is the reference; other versions may break lines differently.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh clang-format
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Unformatted code: run  clang-format -i \$(git ls-files '*.cpp' '*.h')" >&2
  exit 1
fi
echo "formatting: ${#files[@]} files checked"
