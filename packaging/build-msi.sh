#!/usr/bin/env bash
# Builds the Windows Installer package around one edition of quenlar.exe:
#
#   packaging/build-msi.sh x86|x64 VERSION EPOCH STAGE OUT.msi
#
# STAGE holds quenlar.exe, README.txt and LICENSE.txt as they are to be installed, dated
# EPOCH (the cabinet keeps each file's time). The release is the x86 package; an x64 one is
# built for tests on hosts that run no 32-bit code. Needs wixl and msibuild (msitools).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# The cabinet's file times and the summary information's dates are read in this zone.
export TZ=UTC

if [[ $# -ne 5 ]]; then
  echo "usage: $0 x86|x64 VERSION EPOCH STAGE OUT.msi" >&2
  exit 2
fi
arch="$1" version="$2" epoch="$3" stage="$4" out="$(realpath -m "$5")"
case "$arch" in
  x86) program_files=ProgramFilesFolder ;;
  x64) program_files=ProgramFiles64Folder ;;
  *) echo "error: no package architecture '$arch'; use x86 or x64" >&2; exit 2 ;;
esac

# The icon and the empty settings file of an install for every user, dated like the rest.
cp "$here/../res/quenlar.ico" "$stage/quenlar.ico"
: >"$stage/settings.qnl"
touch -d "@$epoch" "$stage/quenlar.ico" "$stage/settings.qnl"

files=("$stage/quenlar.exe" "$stage/README.txt" "$stage/LICENSE.txt" "$stage/quenlar.ico"
  "$stage/settings.qnl" "$here/quenlar.wxs")
product_code="" package_code="" component_program="" component_settings=""
eval "$(python3 "$here/release.py" codes "$version.0" "$arch" "${files[@]}")"

# wixl finds files by paths relative to the folder it runs in (absolute ones it cannot open),
# and reports each table it leaves to Windows Installer's defaults as "unimplemented".
(cd "$stage" && wixl -a "$arch" -o "$out" \
  -D Version="$version.0" -D ProductCode="$product_code" -D PackageCode="$package_code" \
  -D ComponentProgram="$component_program" -D ComponentSettings="$component_settings" \
  -D ProgramFiles="$program_files" -D Exe=quenlar.exe -D Readme=README.txt \
  -D Licence=LICENSE.txt -D Icon=quenlar.ico -D Settings=settings.qnl \
  "$here/quenlar.wxs" 2> >(grep -v 'builder.vala:[0-9]*: unimplemented' >&2))
python3 "$here/release.py" finish "$out" "$arch" "$version" "$epoch" "$package_code"
