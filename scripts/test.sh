#!/usr/bin/env bash
# Sets up the machine, then builds and runs every test: the native build (GCC with sanitizers),
# then both Windows editions (i686 and x86_64), whose tests run under Wine on every edition
# this host can run, then the release (scripts/release.sh) and its package's install under
# Wine. QUENLAR_WINE_ARCH=32 or 64 runs one edition only. Stops at the first failure; fails
# when no Windows edition can run at all.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

start=$SECONDS
step="setup"
trap 'echo "test.sh: FAILED at $step after $((SECONDS - start)) s"' ERR

bash scripts/setup.sh
# shellcheck source=tools/wine/env.sh
source tools/wine/env.sh

run_preset() { # preset
  step="$1 configure"
  cmake --preset "$1"
  step="$1 build"
  cmake --build --preset "$1"
}

run_preset native
step="native tests"
ctest --preset native -j2

# The file formats the program reads, fuzzed for a short while from their seeds.
run_preset fuzz
step="fuzz runs"
ctest --preset fuzz

for edition in 32 64; do run_preset "win$edition"; done

step="choosing the Windows editions"
qw_editions
if [[ -z "$QW_EDITIONS" ]]; then
  echo "test.sh: no Windows edition can run on this host: $QW_SKIPPED" >&2
  false
fi
ran=""
for edition in $QW_EDITIONS; do
  step="win$edition tests"
  echo "test.sh: running the $edition-bit edition's Windows tests under Wine"
  ctest --preset "win$edition"
  ran+="${ran:+, }$edition-bit (build/win$edition)"
done

# The release as scripts/release.sh makes it (a work tree with changes too: this checks that it
# builds, it publishes nothing), then its package installed, run and removed under Wine on the
# first edition this host runs.
step="release"
QUENLAR_RELEASE_DIRTY=1 bash scripts/release.sh
step="the package's install test"
bash tests/release/install.sh "${QW_EDITIONS%% *}"

echo "test.sh: Windows editions run: $ran${QW_SKIPPED:+; skipped: $QW_SKIPPED}"
echo "test.sh: all native and Windows tests passed in $((SECONDS - start)) s"
