#!/usr/bin/env python3
"""Checks what `make dist` leaves for a release, offline, against the package
managers' published rules as far as they can be checked without their
tools or the network:

  the release zips: the same four files at the root of both (Velmora.exe,
    Velmora.com, LICENSE, README.txt), each program a PE image of the zip's
    bitness; every archive's .sha256 matching its bytes; LICENSE in the SDK
    zips and the Linux tarball;
  Scoop: valid JSON; version, description, homepage, licence; a URL and a
    hash per architecture that name the zip and match it; bin and shortcuts
    naming files in the zip; checkver's regex finding the version in the
    zip's name; autoupdate URLs giving back this release's URLs for its
    version; a pre_uninstall that turns the terminal launchers off;
  winget (schema 1.12.0): the three manifests with one identifier and
    version, their types, the default locale's required fields, a zip
    installer with a nested portable program that is in the zip and its
    alias, per architecture a URL and an upper-case SHA-256 that match;
  Chocolatey: a well-formed nuspec with id, version, authors, description
    and the tools folder; the install script's URLs and checksums; the GUI
    shim marker and the console twin's shim; the uninstall step; the
    checksums in VERIFICATION.txt; the licence.

Not checked: the JSON and YAML schemas themselves, winget's and
Chocolatey's validators, and that the URLs exist.

    release_check.py DIST VERSION
"""
import hashlib
import json
import os
import re
import sys
import tarfile
import xml.etree.ElementTree as ET
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pe_check import MACHINES, headers  # noqa: E402

failures = []
RELEASE_FILES = ["LICENSE", "README.txt", "Velmora.com", "Velmora.exe"]


def check(ok, what):
    if not ok:
        failures.append(what)
    return ok


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def checked_archive(dist, name):
    """The archive's path when it and a matching .sha256 are there."""
    path = os.path.join(dist, name)
    if not check(os.path.isfile(path), "%s is missing" % name):
        return None
    try:
        with open(path + ".sha256") as f:
            recorded = f.read().split()
    except OSError:
        recorded = []
    check(recorded[:2] == [sha256(path), name], "%s.sha256 does not match the archive" % name)
    return path


def simple_yaml(text):
    """The top-level `Key: value` pairs of a manifest, and every `Key: value`
    anywhere (list items included) as (key, value) in order."""
    top, pairs = {}, []
    for line in text.splitlines():
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        match = re.match(r"^(\s*-?\s*)([A-Za-z0-9]+):\s*(.*)$", line)
        if not match:
            continue
        key, value = match.group(2), match.group(3).strip()
        pairs.append((key, value))
        if match.group(1) == "":
            top[key] = value
    return top, pairs


def main():
    dist, version = sys.argv[1], sys.argv[2]
    zips = {}
    for bits in (32, 64):
        name = "velmora-%s-win%d.zip" % (version, bits)
        path = checked_archive(dist, name)
        if path is None:
            continue
        zips[bits] = (name, sha256(path))
        with zipfile.ZipFile(path) as z:
            check(sorted(z.namelist()) == RELEASE_FILES, "%s holds %s" % (name, sorted(z.namelist())))
            for program in ("Velmora.exe", "Velmora.com"):
                if program in z.namelist():
                    found = headers(z.read(program))
                    check(found is not None and found[0] == MACHINES[bits][0],
                          "%s in %s is no %d-bit program" % (program, name, bits))
    for name in ("velmora-sdk-%s-win32.zip" % version, "velmora-sdk-%s-win64.zip" % version):
        path = checked_archive(dist, name)
        if path:
            with zipfile.ZipFile(path) as z:
                check(any(n.endswith("/LICENSE") for n in z.namelist()), "%s has no LICENSE" % name)
    tarball = "velmora-%s-linux-x86_64.tar.gz" % version
    path = checked_archive(dist, tarball)
    if path:
        with tarfile.open(path) as t:
            check(any(n.endswith("/LICENSE") for n in t.getnames()), "%s has no LICENSE" % tarball)
    if len(zips) != 2:
        return report()
    manifests = os.path.join(dist, "manifests")

    # Scoop
    with open(os.path.join(manifests, "scoop", "velmora.json"), encoding="utf-8") as f:
        scoop = json.load(f)
    check(scoop.get("version") == version, "scoop: version %r" % scoop.get("version"))
    for key in ("description", "homepage", "license"):
        check(bool(scoop.get(key)), "scoop: no %s" % key)
    for arch, bits in (("64bit", 64), ("32bit", 32)):
        entry = scoop.get("architecture", {}).get(arch, {})
        check(entry.get("url", "").endswith("/" + zips[bits][0]), "scoop %s: url %r" % (arch, entry.get("url")))
        check(entry.get("hash") == zips[bits][1], "scoop %s: hash does not match the zip" % arch)
        template = scoop.get("autoupdate", {}).get("architecture", {}).get(arch, {}).get("url", "")
        check(template.replace("$version", version) == entry.get("url"),
              "scoop %s: autoupdate url %r does not give this release's" % (arch, template))
    bins = [b[0] if isinstance(b, list) else b for b in scoop.get("bin", [])]
    check(bins == ["Velmora.com"] and scoop["bin"][0][1] == "velmora", "scoop: bin %r" % scoop.get("bin"))
    check([s[0] for s in scoop.get("shortcuts", [])] == ["Velmora.exe"], "scoop: shortcuts")
    regex = scoop.get("checkver", {}).get("regex", "")
    match = re.search(regex, zips[64][0]) if regex else None
    check(bool(scoop.get("checkver", {}).get("url")) and match is not None and match.group(1) == version,
          "scoop: checkver does not find the version")
    check(scoop.get("autoupdate", {}).get("hash", {}).get("url") == "$url.sha256", "scoop: autoupdate hash")
    for verb in ("terminal off --all --user", "explorer off"):
        check(any(verb in line for line in scoop.get("pre_uninstall", [])),
              "scoop: pre_uninstall does not run %s" % verb)

    # winget
    kinds = {"Velmora.Velmora.yaml": "version", "Velmora.Velmora.installer.yaml": "installer",
             "Velmora.Velmora.locale.en-US.yaml": "defaultLocale"}
    parsed = {}
    for name, kind in kinds.items():
        with open(os.path.join(manifests, "winget", name), encoding="utf-8") as f:
            text = f.read()
        check(text.startswith("# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.1.12.0.schema.json"
                              % kind), "winget %s: schema line" % name)
        top, pairs = simple_yaml(text)
        parsed[kind] = (top, pairs)
        check(top.get("PackageIdentifier") == "Velmora.Velmora", "winget %s: identifier" % name)
        check(top.get("PackageVersion") == version, "winget %s: version" % name)
        check(top.get("ManifestType") == kind and top.get("ManifestVersion") == "1.12.0", "winget %s: type" % name)
    check(parsed["version"][0].get("DefaultLocale") == parsed["defaultLocale"][0].get("PackageLocale") == "en-US",
          "winget: default locale")
    for key in ("Publisher", "PackageName", "License", "ShortDescription"):
        check(bool(parsed["defaultLocale"][0].get(key)), "winget locale: no %s" % key)
    top, pairs = parsed["installer"]
    check(top.get("InstallerType") == "zip" and top.get("NestedInstallerType") == "portable",
          "winget installer: not a zip with a portable program")
    values = dict(pairs)
    check(values.get("RelativeFilePath") in RELEASE_FILES and values.get("PortableCommandAlias") == "velmora",
          "winget installer: nested file %r" % values.get("RelativeFilePath"))
    architectures = [v for k, v in pairs if k == "Architecture"]
    urls = [v for k, v in pairs if k == "InstallerUrl"]
    hashes = [v for k, v in pairs if k == "InstallerSha256"]
    check(architectures == ["x64", "x86"] and len(urls) == 2 and len(hashes) == 2, "winget installer: installers")
    for arch, url, value in zip(architectures, urls, hashes):
        bits = 64 if arch == "x64" else 32
        check(url.endswith("/" + zips[bits][0]), "winget %s: url %s" % (arch, url))
        check(value == zips[bits][1].upper(), "winget %s: SHA-256 does not match (upper case)" % arch)

    # Chocolatey
    choco = os.path.join(manifests, "chocolatey")
    ns = {"n": "http://schemas.microsoft.com/packaging/2015/06/nuspec.xsd"}
    meta = ET.parse(os.path.join(choco, "velmora.nuspec")).getroot().find("n:metadata", ns)
    field = lambda key: (meta.findtext("n:" + key, default="", namespaces=ns) if meta is not None else "").strip()
    check(field("id") == "velmora" and field("version") == version, "chocolatey: id or version")
    for key in ("authors", "description", "projectUrl", "title"):
        check(bool(field(key)), "chocolatey: no %s" % key)
    with open(os.path.join(choco, "tools", "chocolateyInstall.ps1"), encoding="utf-8") as f:
        install = f.read()
    for bits in (32, 64):
        check(zips[bits][0] in install and zips[bits][1] in install, "chocolatey install: %d-bit url or checksum" % bits)
    check("Velmora.exe.gui" in install and "Install-BinFile -Name 'velmora'" in install,
          "chocolatey install: GUI marker or the console shim")
    with open(os.path.join(choco, "tools", "chocolateyUninstall.ps1"), encoding="utf-8") as f:
        uninstall = f.read()
    check("terminal off --all --user" in uninstall and "explorer off" in uninstall and "Uninstall-BinFile" in uninstall,
          "chocolatey uninstall")
    with open(os.path.join(choco, "tools", "VERIFICATION.txt"), encoding="utf-8") as f:
        verification = f.read()
    check(all(zips[b][1] in verification for b in (32, 64)), "chocolatey: VERIFICATION.txt checksums")
    check(os.path.isfile(os.path.join(choco, "tools", "LICENSE.txt")), "chocolatey: no LICENSE.txt")
    return report()


def report():
    for what in failures:
        print("release_check: FAIL: %s" % what)
    if not failures:
        print("release_check: zips, checksums and the Scoop, winget and Chocolatey manifests: all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
