#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, and nothing when all is there.
# Runs apt-get as root, or through sudo; without either it prints the commands to run.
# Packages named as arguments are installed too (scripts/release.sh adds its own).
set -euo pipefail

packages=(
  cmake g++ make                           # native build
  clang libclang-rt-14-dev                 # the fuzz targets (libFuzzer)
  libgtest-dev libgmock-dev googletest     # GoogleTest (sources in /usr/src/googletest)
  g++-mingw-w64-i686 g++-mingw-w64-x86-64  # cross compilers for the 32- and 64-bit editions
  wine wine64 wine32:i386                  # run them; wine32 installs on every host, even
                                           # where it cannot run (64-bit-only kernels)
  gstreamer1.0-plugins-base:i386           # media playback inside Wine, for each edition
  gstreamer1.0-plugins-good:i386
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xdotool imagemagick x11-utils       # headless display, window lookup, screenshots
  xclip                                    # the end-to-end runs paste names typing cannot give
  fonts-wine fonts-liberation              # Wine's Tahoma, MS Sans Serif, Marlett; Arial's metrics
  python3                                  # the stand-in web site of the update check tests
  bc procps                                # the end-to-end runs: timings, process lookup
  "$@"
)

missing=()
for pkg in "${packages[@]}"; do
  status="$(dpkg-query -W -f='${db:Status-Abbrev}' "$pkg" 2>/dev/null || true)"
  [[ "$status" == "ii "* ]] || missing+=("$pkg")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

# wine32 and the gstreamer plugins for it are i386 packages.
add_i386=false
if ! dpkg --print-foreign-architectures | grep -qx i386 &&
  printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  add_i386=true
fi

if [[ $EUID -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root:" >&2
  if $add_i386; then echo "  dpkg --add-architecture i386" >&2; fi
  echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi

echo "Installing: ${missing[*]}"
if $add_i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
# A mirror caught in the middle of its sync fails the update for a minute or so: try again, and
# go on with the lists there are when it still fails (the install says whether they suffice).
for attempt in 1 2 3; do
  "${as_root[@]}" apt-get update && break
  echo "setup.sh: apt-get update failed (attempt $attempt of 3)" >&2
  ((attempt == 3)) || sleep 20
done
install() { "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$@"; }
if install "${missing[@]}"; then exit 0; fi
# A list that stayed old for one architecture (the security suite's i386 list mid-sync) leaves
# the two architectures of a library at different versions, which wine32 cannot install. Then
# the install is tried once more from the main suites alone, which are consistent by themselves.
echo "setup.sh: the install failed; trying again without the security suite's lists" >&2
lists="$(mktemp -d)"
trap 'rm -rf "$lists"' EXIT
mkdir "$lists/parts"
for file in /etc/apt/sources.list.d/*.sources; do
  [[ -e "$file" ]] || continue
  awk 'BEGIN { RS = ""; ORS = "\n\n" } !/debian-security/' "$file" >"$lists/parts/$(basename "$file")"
done
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  if [[ -e "$file" ]]; then grep -v debian-security "$file" >>"$lists/main.list" || true; fi
done
touch "$lists/main.list"
only_main=(-o "Dir::Etc::sourceparts=$lists/parts" -o "Dir::Etc::sourcelist=$lists/main.list")
"${as_root[@]}" apt-get "${only_main[@]}" update
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${only_main[@]}" install -y "${missing[@]}"
