#!/usr/bin/env bash
# Sets up the machine, builds both editions from this commit in fresh build folders and writes
# the release to dist/:
#
#   quenlar-VERSION-win32.zip, quenlar-VERSION-win64.zip   quenlar.exe, README.txt, LICENSE.txt
#   quenlar-VERSION-x86.msi                                the installer, around the 32-bit edition
#   SHA256SUMS
#
# The version is the one in CMakeLists.txt's project(). Two runs on the same commit give the
# same bytes: every date is the commit's (SOURCE_DATE_EPOCH, unless set already), the program's
# header has no link time, and the archives and the package are written in a fixed order with
# codes derived from what they hold.
#
# The work tree must be clean, as the commit names what was built; QUENLAR_RELEASE_DIRTY=1
# builds anyway, for trying the release out before committing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root="$PWD"

bash scripts/setup.sh wixl msitools

if [[ -n "$(git status --porcelain)" ]]; then
  if [[ "${QUENLAR_RELEASE_DIRTY:-}" != 1 ]]; then
    echo "release.sh: the work tree has changes; commit them first (or QUENLAR_RELEASE_DIRTY=1):" >&2
    git status --short >&2
    exit 1
  fi
  echo "release.sh: building a work tree with uncommitted changes; it is not what the commit holds" >&2
fi

version="$(sed -n 's/^project(Quenlar VERSION \([0-9][0-9.]*\) .*/\1/p' CMakeLists.txt)"
[[ "$version" =~ ^[0-9]+\.[0-9]+$ ]] || {
  echo "release.sh: no MAJOR.MINOR version in CMakeLists.txt's project() (found '$version')" >&2
  exit 1
}
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
# Dates written into the archives and the cabinet are read in this zone, names sorted alike.
export TZ=UTC LC_ALL=C

work="$root/build/release"
dist="$root/dist"
rm -rf "$work" "$dist"
mkdir -p "$work" "$dist"

for edition in 32 64; do
  case $edition in 32) arch=i686 ;; 64) arch=x86_64 ;; esac
  echo "release.sh: building the $edition-bit edition"
  cmake -S . -B "$work/win$edition" --toolchain "$root/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release >"$work/win$edition.log"
  cmake --build "$work/win$edition" --target quenlar -j2 >>"$work/win$edition.log"

  # What goes to Windows users: Windows line ends, the commit's date on every file.
  stage="$work/stage$edition"
  mkdir -p "$stage"
  cp "$work/win$edition/quenlar.exe" "$stage/"
  sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' packaging/README.txt >"$stage/README.txt"
  sed -e 's/$/\r/' packaging/LICENSE.txt >"$stage/LICENSE.txt"
  touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
  python3 packaging/release.py zip "$dist/quenlar-$version-win$edition.zip" "$SOURCE_DATE_EPOCH" \
    "quenlar.exe=$stage/quenlar.exe" "README.txt=$stage/README.txt" "LICENSE.txt=$stage/LICENSE.txt"
done

echo "release.sh: building the installer package"
bash packaging/build-msi.sh x86 "$version" "$SOURCE_DATE_EPOCH" "$work/stage32" "$dist/quenlar-$version-x86.msi"

(cd "$dist" && sha256sum "quenlar-$version-win32.zip" "quenlar-$version-win64.zip" \
  "quenlar-$version-x86.msi" >SHA256SUMS)
echo "release.sh: Quenlar $version from commit $(git rev-parse --short HEAD)," \
  "dated $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC'), in $dist:"
cat "$dist/SHA256SUMS"
