#!/usr/bin/env python3
"""The parts of a release that must come out the same every time (scripts/release.sh runs them).

  release.py codes VERSION ARCH FILE...   prints the package's codes as shell assignments
  release.py zip OUT EPOCH NAME=PATH...   writes a zip archive
  release.py finish MSI ARCH VERSION EPOCH PACKAGECODE
                                          sets what wixl cannot write into a package made with
                                          packaging/quenlar.wxs, and fixed summary information

Nothing here reads the clock: every date is the commit's (SOURCE_DATE_EPOCH), every code a
name-based UUID.
"""

import hashlib
import os
import subprocess
import sys
import tempfile
import time
import uuid
import zipfile

# The package's UpgradeCode (packaging/quenlar.wxs), which every version keeps, so that a new
# version finds and replaces the old one. The other codes are derived from it.
UPGRADE_CODE = uuid.UUID("56D8EEF5-1F3F-4C36-9376-8E832D0104B8")

# Windows Installer's component attribute bits.
PERMANENT = 0x10
NEVER_OVERWRITE = 0x80
SIXTY_FOUR_BIT = 0x100

# The settings file of an install for every user: SYSTEM and the administrators may do
# anything with it, the Users group may read and write it, but not delete it or change who may.
# Well-known SIDs in SDDL, so that it reads the same on every language of Windows.
SETTINGS_SDDL = "D:(A;;FA;;;SY)(A;;FA;;;BA)(A;;FRFW;;;BU)"


def code(name):
    return "{%s}" % str(uuid.uuid5(UPGRADE_CODE, name)).upper()


def codes(version, arch, files):
    """The product code changes with each version and edition (a major upgrade needs a new one);
    the package code with any change to what the package holds; the components' codes stay."""
    payload = hashlib.sha256()
    payload.update(f"{version} {arch}\n".encode())
    for path in files:
        with open(path, "rb") as f:
            payload.update(hashlib.sha256(f.read()).digest())
    print(f"product_code='{code(f'product {version} {arch}')}'")
    print(f"package_code='{code('package ' + payload.hexdigest())}'")
    print(f"component_program='{code(f'component Program {arch}')}'")
    print(f"component_settings='{code(f'component Settings {arch}')}'")


def write_zip(out, epoch, members):
    """Members in the order given, each dated by the commit, with no extra fields and no owner,
    group or Unix permissions."""
    date = time.gmtime(int(epoch))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for member in members:
            name, path = member.split("=", 1)
            info = zipfile.ZipInfo(name, date_time=date)
            info.create_system = 0  # MS-DOS: attributes as Windows reads them
            info.external_attr = 0x20  # archive
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                archive.writestr(info, f.read(), compresslevel=9)


def msibuild(msi, *args):
    subprocess.run(["msibuild", msi, *args], check=True)


def idt(path, columns, types, table_and_keys, rows):
    with open(path, "w", newline="\r\n") as f:
        f.write("\t".join(columns) + "\n")
        f.write("\t".join(types) + "\n")
        f.write("\t".join(table_and_keys) + "\n")
        for row in rows:
            f.write("\t".join(row) + "\n")


def finish(msi, arch, version, epoch, package_code):
    """What wixl cannot write: the settings file's component installed only for every user
    (ALLUSERS set), never replaced, left at removal, with the permissions above; the search for
    the folder the program was installed to; the program's file version, which wixl does not
    read from the executable, so that Windows Installer compares versions rather than dates;
    the components of a 64-bit package marked so. Then the summary information: the package
    code (wixl makes a random one) and the commit's date for creation and saving (wixl writes
    the time of the build)."""
    bits = SIXTY_FOUR_BIT if arch == "x64" else 0
    msibuild(msi, "-q", f"UPDATE Component SET Attributes={bits} WHERE Component='Program'",
             "-q", f"UPDATE Component SET Attributes={bits | PERMANENT | NEVER_OVERWRITE}, "
                   "Condition='ALLUSERS' WHERE Component='Settings'",
             "-q", f"UPDATE File SET Version='{version}.0.0' WHERE File='quenlar.exe'",
             "-q", "DELETE FROM MsiFileHash WHERE File_='quenlar.exe'")
    with tempfile.TemporaryDirectory() as work:
        permissions = os.path.join(work, "MsiLockPermissionsEx.idt")
        idt(permissions,
            ["MsiLockPermissionsEx", "LockObject", "Table", "SDDL", "Condition"],
            ["s72", "s72", "s32", "l0", "S255"],
            ["MsiLockPermissionsEx", "MsiLockPermissionsEx"],
            [["SettingsFile", "settings.qnl", "File", SETTINGS_SDDL, ""]])

        # The folder the program went to, found from its component (the folder holding its
        # key file): removal and repair take it from there (packaging/quenlar.wxs), whatever
        # the install was.
        locator = os.path.join(work, "CompLocator.idt")
        idt(locator, ["Signature_", "ComponentId", "Type"], ["s72", "s38", "I2"],
            ["CompLocator", "Signature_"],
            [["InstalledFolder", code(f"component Program {arch}"), "1"]])
        search = os.path.join(work, "AppSearch.idt")
        idt(search, ["Property", "Signature_"], ["s72", "s72"], ["AppSearch", "Property", "Signature_"],
            [["INSTALLEDFOLDER", "InstalledFolder"]])
        msibuild(msi, "-i", locator, "-i", search,
                 "-q", "INSERT INTO `InstallUISequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)",
                 "-q", "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('AppSearch', 50)")

        # In the folder it dumps to: it writes the binary columns beside the working folder.
        subprocess.run(["msidump", "-d", work, "-t", os.path.abspath(msi)], check=True,
                       stdout=subprocess.DEVNULL, cwd=work)
        summary = os.path.join(work, "_SummaryInformation.idt")
        stamp = time.strftime("%Y/%m/%d %H:%M:%S", time.gmtime(int(epoch)))
        with open(summary, newline="") as f:
            lines = f.read().split("\r\n")
        for i, line in enumerate(lines[3:], start=3):
            fields = line.split("\t")
            if fields[0] == "9":
                fields[1] = package_code
            elif fields[0] in ("12", "13"):
                fields[1] = stamp
            lines[i] = "\t".join(fields)
        with open(summary, "w", newline="") as f:
            f.write("\r\n".join(lines))

        msibuild(msi, "-i", permissions, "-i", summary)


def main(argv):
    if len(argv) >= 3 and argv[0] == "codes":
        codes(argv[1], argv[2], argv[3:])
    elif len(argv) >= 3 and argv[0] == "zip":
        write_zip(argv[1], argv[2], argv[3:])
    elif len(argv) == 6 and argv[0] == "finish":
        finish(*argv[1:])
    else:
        sys.stderr.write(__doc__)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
