#!/usr/bin/env python3
"""Packs a built Vindle.exe into the release's files, and checks a release folder.

    release_artifacts.py package <Vindle.exe> <version> <source-root> <out-dir>
    release_artifacts.py verify <out-dir> <version>

package writes into <out-dir>: VindleSetup-<version>.exe, Vindle-<version>-portable.zip
(the program with the portable marker, README.md and LICENSE.txt), SHA256SUMS, and the
package manager's manifests from packaging/winget with the version, the setup's SHA-256 and
the release date filled in. Everything is a function of its inputs: the zip's times come
from SOURCE_DATE_EPOCH, its entries are sorted, and no owner or host path is recorded.

verify checks such a folder: every SHA256SUMS line against its file, the two programs
against each other and their markers, the PE header's time stamp, and the manifests against
the version and the setup's hash. It prints what is wrong and exits 1.
"""
import datetime
import hashlib
import io
import os
import re
import struct
import sys
import zipfile

SETUP_MARKER = b"SETUPAPP"
PORTABLE_MARKER = b"PORTABLE"
MANIFEST_FOLDER = os.path.join("packaging", "winget")
MANIFEST_SUBFOLDER = "winget"
PORTABLE_ENTRIES = ("LICENSE.txt", "README.md", "Vindle.exe")


def setup_name(version):
    return f"VindleSetup-{version}.exe"


def portable_name(version):
    return f"Vindle-{version}-portable.zip"


def source_date(environ=os.environ):
    """The release's moment: SOURCE_DATE_EPOCH as a UTC datetime (./release always sets it)."""
    text = environ.get("SOURCE_DATE_EPOCH", "")
    if not text.isdigit():
        raise ValueError(f"SOURCE_DATE_EPOCH must be a number of seconds, not {text!r}")
    return datetime.datetime.fromtimestamp(int(text), datetime.timezone.utc)


def zip_bytes(entries, moment):
    """A zip of (name, bytes) pairs in name order, every entry with the same time and mode.
    Zip times cannot go before 1980; an earlier moment is stored as 1980-01-01."""
    stamp = max(moment.timetuple()[:6], (1980, 1, 1, 0, 0, 0))
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as archive:
        for name, data in sorted(entries):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 0  # made "on Windows": no Unix owner or mode bits
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Windows' own zips have
            info.compress_type = zipfile.ZIP_DEFLATED
            archive.writestr(info, data, compresslevel=9)
    return buffer.getvalue()


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def sums_text(files):
    """SHA256SUMS in the form `sha256sum -c` reads, sorted by name."""
    return "".join(f"{sha256(data)}  {name}\n" for name, data in sorted(files.items()))


def filled_manifest(text, version, installer_sha256, release_date):
    """The committed manifest with this release's values; the version inside InstallerUrl
    follows PackageVersion, so a URL ending in VindleSetup-<old>.exe names the new file."""
    old_version = re.search(r"^PackageVersion:\s*(\S+)\s*$", text, re.M)
    if not old_version:
        raise ValueError("manifest has no PackageVersion line")
    fields = {
        "PackageVersion": version,
        "DisplayVersion": version,
        # Quoted: a hash of digits only (or digits around one E) would read as a number.
        "InstallerSha256": f'"{installer_sha256.upper()}"',
        "ReleaseDate": release_date.isoformat(),
    }
    result = []
    for line in text.splitlines(keepends=True):
        match = re.match(r"^(\s*(?:- )?)(\w+):(\s*)(\S.*?)?(\r?\n)?$", line)
        if match and match.group(2) in fields:
            line = f"{match.group(1)}{match.group(2)}: {fields[match.group(2)]}{match.group(5) or ''}"
        elif match and match.group(2) == "InstallerUrl":
            line = line.replace(old_version.group(1), version)
        result.append(line)
    return "".join(result)


def package(exe_path, version, source_root, out_dir):
    with open(exe_path, "rb") as f:
        program = f.read()
    with open(os.path.join(source_root, "README.md"), "rb") as f:
        readme = f.read()
    with open(os.path.join(source_root, "LICENSE"), "rb") as f:
        license_text = f.read()
    moment = source_date()
    setup = program + SETUP_MARKER
    outputs = {
        setup_name(version): setup,
        portable_name(version): zip_bytes(
            [("Vindle.exe", program + PORTABLE_MARKER), ("README.md", readme), ("LICENSE.txt", license_text)], moment),
    }
    os.makedirs(out_dir, exist_ok=True)
    for name, data in outputs.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
    with open(os.path.join(out_dir, "SHA256SUMS"), "w", newline="\n") as f:
        f.write(sums_text(outputs))

    manifest_dir = os.path.join(out_dir, MANIFEST_SUBFOLDER)
    os.makedirs(manifest_dir, exist_ok=True)
    committed = os.path.join(source_root, MANIFEST_FOLDER)
    for name in sorted(os.listdir(committed)):
        if not name.endswith(".yaml"):
            continue
        with open(os.path.join(committed, name), encoding="utf-8", newline="") as f:
            text = f.read()
        with open(os.path.join(manifest_dir, name), "w", encoding="utf-8", newline="") as f:
            f.write(filled_manifest(text, version, sha256(setup), moment.date()))


def pe_timestamp(program):
    """TimeDateStamp of the PE file header, or None when the bytes are no PE image."""
    if len(program) < 0x40 or program[:2] != b"MZ":
        return None
    offset = struct.unpack_from("<I", program, 0x3C)[0]
    if program[offset:offset + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<I", program, offset + 8)[0]


def verify(out_dir, version):
    """Every fault found in a release folder, as sentences; empty when it is sound."""
    import yaml  # python3-yaml, installed by tools/deps.sh

    faults = []

    def read(name):
        path = os.path.join(out_dir, name)
        if not os.path.isfile(path):
            faults.append(f"{name} is missing")
            return None
        with open(path, "rb") as f:
            return f.read()

    sums = read("SHA256SUMS")
    listed = {}
    for line in (sums or b"").decode("utf-8", "replace").splitlines():
        match = re.fullmatch(r"([0-9a-f]{64})  (\S+)", line)
        if not match:
            faults.append(f"SHA256SUMS: unreadable line {line!r}")
            continue
        listed[match.group(2)] = match.group(1)
        data = read(match.group(2))
        if data is not None and sha256(data) != match.group(1):
            faults.append(f"{match.group(2)} does not match its SHA256SUMS line")
    expected = {setup_name(version), portable_name(version)}
    if sums is not None and set(listed) != expected:
        faults.append(f"SHA256SUMS lists {sorted(listed)}, not {sorted(expected)}")

    setup = read(setup_name(version))
    archive = read(portable_name(version))
    if setup is not None:
        if not setup.endswith(SETUP_MARKER):
            faults.append("the setup does not end with its marker")
        if pe_timestamp(setup) != 0:
            faults.append(f"the setup's PE header has the time stamp {pe_timestamp(setup)!r}, not 0")
    if setup is not None and archive is not None:
        try:
            with zipfile.ZipFile(io.BytesIO(archive)) as z:
                names = z.namelist()
                if tuple(names) != PORTABLE_ENTRIES:
                    faults.append(f"the portable zip holds {names}, not {list(PORTABLE_ENTRIES)}")
                elif z.read("Vindle.exe") != setup[: -len(SETUP_MARKER)] + PORTABLE_MARKER:
                    faults.append("the portable program is not the setup's program with the portable marker")
        except zipfile.BadZipFile as error:
            faults.append(f"the portable zip cannot be read: {error}")

    manifest_dir = os.path.join(out_dir, MANIFEST_SUBFOLDER)
    manifests = sorted(os.listdir(manifest_dir)) if os.path.isdir(manifest_dir) else []
    if not manifests:
        faults.append("no package manager manifests were written")
    for name in manifests:
        try:
            with open(os.path.join(manifest_dir, name), encoding="utf-8") as f:
                manifest = yaml.safe_load(f)
        except yaml.YAMLError as error:
            faults.append(f"{name} is no valid YAML: {error}")
            continue
        if not isinstance(manifest, dict):
            faults.append(f"{name} holds no manifest")
            continue
        if manifest.get("PackageVersion") != version:
            faults.append(f"{name} has PackageVersion {manifest.get('PackageVersion')!r}, not {version}")
        if tuple(int(n) for n in str(manifest.get("ManifestVersion", "0.0.0")).split(".")) < (1, 6, 0):
            faults.append(f"{name} has ManifestVersion {manifest.get('ManifestVersion')!r}, older than 1.6.0")
        for installer in manifest.get("Installers", []):
            declared = installer.get("InstallerSha256")
            if setup is not None and (not isinstance(declared, str) or declared.lower() != sha256(setup)):
                faults.append(f"{name}: InstallerSha256 is not the setup's")
            if not str(installer.get("InstallerUrl", "")).endswith("/" + setup_name(version)):
                faults.append(f"{name}: InstallerUrl does not name {setup_name(version)}")
    return faults


def main(argv):
    if len(argv) == 5 and argv[0] == "package":
        package(*argv[1:])
        return 0
    if len(argv) == 3 and argv[0] == "verify":
        faults = verify(argv[1], argv[2])
        for fault in faults:
            print(f"release: {fault}", file=sys.stderr)
        return 1 if faults else 0
    print(__doc__.split("\n\n")[1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
