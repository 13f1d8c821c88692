#!/usr/bin/env bash
# Builds everything and runs the whole test suite.
#   scripts/test.sh              Release build in build/
#   scripts/test.sh --sanitize   AddressSanitizer and UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build display

dir=build
flags=(-DCMAKE_BUILD_TYPE=Release)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIGURES_SANITIZE=ON)
fi

cmake -S . -B "$dir" "${flags[@]}" -DFIGURES_WINDOW=ON -DBUILD_TESTING=ON >/dev/null
cmake --build "$dir" -j "$(nproc)"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
