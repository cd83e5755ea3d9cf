#!/usr/bin/env bash
# The installer package under Wine, end to end, after scripts/release.sh:
#
#   tests/release/install.sh 32|64
#
# 32: the release's own package (dist/quenlar-VERSION-x86.msi), on a host that runs 32-bit code.
# 64: on a host that runs 64-bit code only, the same package built once more around the 64-bit
#     edition (build/release/quenlar-VERSION-x64-test.msi), which is not part of the release.
#
# In a Wine prefix of its own, made afresh: an older version, then this one, installed quietly
# for the user alone; the program in its folder, the Start-menu shortcut, one entry in Programs
# and Features; the program started from the shortcut's target remembers a choice across two
# runs; a quiet removal takes the program's files and the shortcut and leaves the settings
# file. Then the same for every user (ALLUSERS=1), with the program's folder closed to new
# files as Program Files is to users on Windows: the choice is still kept, in the one file the
# installer made. The program is driven as in tests/e2e (build/winNN/e2e_driver.exe reads its
# windows); pictures go to build/release/install/.
set -euo pipefail

if [[ $# -ne 1 || ! "$1" =~ ^(32|64)$ ]]; then
  echo "usage: $0 32|64" >&2
  exit 2
fi
edition="$1"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"

# As tests/e2e/run.sh: a folder closed to new files must be closed to root too.
kNoOverride=--bounding-set=-dac_override,-dac_read_search
if [[ $EUID -eq 0 && -z "${QUENLAR_INSTALL_CONFINED:-}" ]] && setpriv "$kNoOverride" true 2>/dev/null; then
  export QUENLAR_INSTALL_CONFINED=1
  exec setpriv "$kNoOverride" -- bash "${BASH_SOURCE[0]}" "$@"
fi

version="$(sed -n 's/^project(Quenlar VERSION \([0-9][0-9.]*\) .*/\1/p' "$root/CMakeLists.txt")"
release="$root/build/release"
stage="$release/stage$edition"
[[ -f "$stage/quenlar.exe" ]] || { echo "error: no $stage/quenlar.exe; run scripts/release.sh first" >&2; exit 1; }
epoch="$(stat -c %Y "$stage/quenlar.exe")"
if [[ $edition == 32 ]]; then
  package="$root/dist/quenlar-$version-x86.msi"
  package_arch=x86
else
  package="$release/quenlar-$version-x64-test.msi"
  package_arch=x64
  bash "$root/packaging/build-msi.sh" x64 "$version" "$epoch" "$stage" "$package"
fi
product_code=""
eval "$(python3 "$root/packaging/release.py" codes "$version.0" "$package_arch" | grep '^product_code=')"
# An older version of the same package, to be replaced.
older="$release/quenlar-0.9-$package_arch-test.msi"
bash "$root/packaging/build-msi.sh" "$package_arch" 0.9 "$epoch" "$stage" "$older"

E2E_DRIVER="$root/build/win$edition/e2e_driver.exe"
if [[ ! -f "$E2E_DRIVER" ]]; then
  cmake --preset "win$edition" >/dev/null && cmake --build --preset "win$edition" --target e2e_driver >/dev/null
fi
E2E_OUT="$release/install"
rm -rf "$E2E_OUT"
mkdir -p "$E2E_OUT"
export LC_ALL=C.UTF-8
export QUENLAR_WINE_PREFIX="$release/wineprefix-install-$edition"
rm -rf "$QUENLAR_WINE_PREFIX"

# shellcheck source=tools/wine/env.sh
source "$root/tools/wine/env.sh"
# shellcheck source=tests/e2e/lib.sh
source "$root/tests/e2e/lib.sh"

E2E_WORK="$(mktemp -d "${TMPDIR:-/tmp}/quenlar-install.XXXXXX")"
: >"$E2E_WORK/pids"
cleanup() {
  E2E_NAME=cleanup e2e_stop_leftovers
  qw_cleanup
  chmod -R u+w "$E2E_WORK" "$QUENLAR_WINE_PREFIX/drive_c/Program Files" 2>/dev/null || true
  rm -rf "$E2E_WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

qw_use "$edition"
qw_prepare
qw_start_xvfb
qw_start_server
cd "$E2E_WORK"
drive_c="$WINEPREFIX/drive_c"
# Wine's name for this user: its folder, beside Public.
user="$(find "$drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public -printf '%f\n' | head -n 1)"
E2E_NAME=setup

msiexec_quiet() { # what /i|/x package [properties...]
  local what="$1"
  shift
  qw_wine 180 msiexec "$@" /qn </dev/null >>"$E2E_OUT/msiexec.log" 2>&1 ||
    e2e_fail "msiexec $* /qn ($what) ended with exit code $?"
}

# The Windows path a shortcut leads to (its link information's local base path).
shortcut_target() { # file.lnk
  python3 - "$1" <<'EOF'
import struct, sys
data = open(sys.argv[1], "rb").read()
flags = struct.unpack_from("<I", data, 0x14)[0]
at = 0x4C
if flags & 1:  # a list of item identifiers comes first
    at += 2 + struct.unpack_from("<H", data, at)[0]
if not flags & 2:
    sys.exit("no link information")
base = struct.unpack_from("<I", data, at + 16)[0]
print(data[at + base:data.index(b"\0", at + base)].decode("cp1252"))
EOF
}

# The entries of Programs and Features named Quenlar, as "name version": every user's, then
# this user's (Wine lists an install for the user alone among every user's).
entries() {
  local key
  for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
    'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall'; do
    qw_wine 60 reg query "$key" /s </dev/null 2>/dev/null | tr -d '\r' |
      awk '/^HKEY/ {name = ""; version = ""} $1 == "DisplayName" {name = $3} $1 == "DisplayVersion" {version = $3}
           name == "Quenlar" && version != "" {print name, version; name = ""}'
  done
}

expect_installed() { # folder shortcut
  local file target
  for file in quenlar.exe README.txt LICENSE.txt; do
    cmp -s "$stage/$file" "$1/$file" || e2e_fail "$1/$file is not the package's $file"
  done
  [[ -f "$2" ]] || e2e_fail "no Start-menu shortcut $2"
  target="$(shortcut_target "$2")" || e2e_fail "the shortcut $2 leads nowhere"
  [[ "$(winepath_unix "$target")" == "$1/quenlar.exe" ]] || e2e_fail "the shortcut leads to $target"
  [[ "$(entries)" == "Quenlar $version.0" ]] ||
    e2e_fail "Programs and Features lists \"$(entries | tr '\n' ';')\", not one Quenlar $version.0"
  # The icon Programs and Features shows, kept by Windows Installer under the product's code.
  find "$drive_c" -path "*/Installer/$product_code/quenlar.ico" | grep -q . ||
    e2e_fail "the product's icon was not published"
  SHORTCUT_TARGET="$target"
}

winepath_unix() { # C:\...
  local path="${1//\\//}"
  echo "$drive_c/${path#[Cc]:/}"
}

expect_removed() { # folder shortcut
  local left
  [[ ! -e "$2" ]] || e2e_fail "the shortcut $2 is still there after the removal"
  left="$(find "$1" -mindepth 1 ! -name settings.qnl -printf '%f ' 2>/dev/null || true)"
  [[ -z "$left" ]] || e2e_fail "left in the program's folder after the removal: $left"
  [[ -f "$1/settings.qnl" ]] || e2e_fail "the removal took the settings file"
  [[ -z "$(entries)" ]] || e2e_fail "Programs and Features still lists $(entries | tr '\n' ';')"
}

# Starts the program as the shortcut would and waits for its main window.
start_from_shortcut() {
  qw_wine_bg 180 "$SHORTCUT_TARGET" </dev/null >>"$E2E_OUT/program.log" 2>&1
  E2E_PID="$QW_PID"
  echo "$E2E_PID" >>"$E2E_WORK/pids"
  E2E_MAIN="$(drv find "$kTitle" QuenlarMain 20000)" || e2e_fail "the main window did not show"
}

echo "install: the $edition-bit edition's package $(basename "$package") under Wine on display $DISPLAY"

# ---------------------------------------------------------------- for this user alone
E2E_NAME=per-user
E2E_DIR="$drive_c/users/$user/AppData/Local/Programs/Quenlar"
shortcut="$drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quenlar.lnk"
msiexec_quiet "the older version" /i "$(e2e_winpath "$older")"
[[ "$(entries)" == "Quenlar 0.9.0" ]] || e2e_fail "the older version is not listed: $(entries | tr '\n' ';')"
msiexec_quiet "this version over the older one" /i "$(e2e_winpath "$package")"
expect_installed "$E2E_DIR" "$shortcut"
[[ ! -e "$E2E_DIR/settings.qnl" ]] || e2e_fail "an install for this user alone made a settings file"
e2e_note "0.9 replaced by $version in $E2E_DIR; the shortcut leads to $SHORTCUT_TARGET"

start_from_shortcut
e2e_check "$E2E_MAIN" "&Restart"
e2e_close_confirmed
e2e_expect_exit 10 "closing"
e2e_expect_settings_with 0=False 1=True
start_from_shortcut
e2e_dump "$E2E_MAIN"
e2e_expect Button "&Restart" checked
import -window root "$E2E_OUT/per-user-second-run.png"
e2e_close_confirmed
e2e_expect_exit 10 "closing"
e2e_note "Restart chosen in the first run is chosen in the second"

msiexec_quiet "removal" /x "$(e2e_winpath "$package")"
expect_removed "$E2E_DIR" "$shortcut"
e2e_note "removed: the program's files, the shortcut and the entry; the settings file stays"

# ---------------------------------------------------------------- for every user
E2E_NAME=every-user
E2E_DIR="$drive_c/Program Files/Quenlar"
shortcut="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quenlar.lnk"
msiexec_quiet "for every user" /i "$(e2e_winpath "$package")" ALLUSERS=1
# Windows puts it into every user's Start menu; Wine 8 into the installing user's.
user_shortcut="$drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Quenlar.lnk"
if [[ ! -e "$shortcut" && -e "$user_shortcut" ]]; then
  shortcut="$user_shortcut"
  e2e_note "Wine put the shortcut into the installing user's Start menu"
fi
expect_installed "$E2E_DIR" "$shortcut"
[[ -f "$E2E_DIR/settings.qnl" && ! -s "$E2E_DIR/settings.qnl" ]] ||
  e2e_fail "the install for every user made no empty settings file"
# Wine does not apply the file's permissions; the folder is closed as Program Files is to users.
chmod a-w "$E2E_DIR"
closed="closed to new files"
if touch "$E2E_DIR/probe" 2>/dev/null; then
  rm -f "$E2E_DIR/probe"
  closed="not closed to this user, who writes into read-only folders (root with CAP_DAC_OVERRIDE)"
  echo "  $E2E_NAME: the program's folder is $closed" >&2
fi
start_from_shortcut
e2e_check "$E2E_MAIN" "&Log Off"
e2e_close_confirmed
e2e_expect_exit 10 "closing"
e2e_expect_settings_with 0=False 2=True
others="$(find "$E2E_DIR" -mindepth 1 ! -name settings.qnl ! -name quenlar.exe ! -name README.txt ! -name LICENSE.txt -printf '%f ')"
[[ -z "$others" ]] || e2e_fail "left beside the program: $others"
start_from_shortcut
e2e_dump "$E2E_MAIN"
e2e_expect Button "&Log Off" checked
import -window root "$E2E_OUT/every-user-second-run.png"
e2e_close_confirmed
e2e_expect_exit 10 "closing"
chmod u+w "$E2E_DIR"
e2e_note "in $E2E_DIR, $closed: Log Off kept in the installer's settings file"

msiexec_quiet "removal for every user" /x "$(e2e_winpath "$package")"
expect_removed "$E2E_DIR" "$shortcut"
e2e_note "removed: the program's files, the shortcut and the entry; the settings file stays"

echo "install: 2 passed, 0 failed (the $edition-bit edition, $(basename "$package")); pictures in $E2E_OUT"
