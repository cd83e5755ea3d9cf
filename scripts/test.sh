#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: the native build (GCC with sanitizers)
# and the 32-bit Windows build, whose tests CTest runs under Wine. Stops at the first failure.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

start=$SECONDS
step="setup"
trap 'echo "test.sh: FAILED at $step after $((SECONDS - start)) s"' ERR

bash scripts/setup.sh
for preset in native win32; do
  step="$preset configure"
  cmake --preset "$preset"
  step="$preset build"
  cmake --build --preset "$preset"
  step="$preset tests"
  ctest --preset "$preset"
done

echo "test.sh: all native and win32 tests passed in $((SECONDS - start)) s"
