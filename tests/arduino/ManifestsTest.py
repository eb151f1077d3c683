#!/usr/bin/env python3
"""ManifestsTest.py ZIP

The Arduino library zip carries two manifests, library.properties for the
Arduino IDE and library.json for PlatformIO, and both must describe the one
library the zip holds: one row per fact, each naming the fault it would
catch. The Arduino IDE compiles every source of src/ and lists the folders of
examples/, so those are what the zip holds; PlatformIO compiles what
library.json's srcFilter admits and packs what its export names."""
import json
import pathlib
import sys
import zipfile


def main(zip_path):
    archive = zipfile.ZipFile(zip_path)
    top = pathlib.PurePosixPath(zip_path).stem
    held = sorted(n[len(top) + 1:] for n in archive.namelist()
                  if n.startswith(top + "/") and not n.endswith("/"))
    read = lambda name: archive.read(f"{top}/{name}").decode("utf-8")
    missing = [m for m in ("library.properties", "library.json") if m not in held]
    if missing:
        print(f"FAIL: the zip holds no {' and no '.join(missing)}: a library manager cannot install it")
        return 1
    properties = dict(line.split("=", 1) for line in read("library.properties").splitlines()
                      if "=" in line)
    manifest = json.loads(read("library.json"))
    build = manifest.get("build", {})
    src_dir = build.get("srcDir", "src")
    admitted = sorted(f[2:-1] for f in build.get("srcFilter", []) if f.startswith("+<"))
    compiled = sorted(n[len(src_dir) + 1:] for n in held
                      if n.startswith(src_dir + "/") and n.endswith((".c", ".cpp")))
    examples = sorted(f"{e['base']}/{f}" for e in manifest.get("examples", []) for f in e["files"])
    rows = [
        ("PlatformIO installs another version than the Arduino IDE",
         manifest.get("version"), properties.get("version")),
        ("the two library managers list the library under different names",
         manifest.get("name"), properties.get("name")),
        ("the two library managers describe the library differently",
         manifest.get("description"), properties.get("sentence")),
        ("a sketch includes another header under PlatformIO than under the Arduino IDE",
         manifest.get("headers"), properties.get("includes")),
        ("PlatformIO compiles other sources than the Arduino IDE (every source of src/)",
         admitted, compiled),
        ("PlatformIO's srcFilter does not leave out what it does not name",
         (build.get("srcFilter") or [None])[0], "-<*>"),
        ("PlatformIO packs other files than the zip holds",
         sorted(manifest.get("export", {}).get("include", [])), held),
        ("an example the Arduino IDE shows is missing from library.json, or one it lists is not there",
         examples, sorted(n for n in held if n.startswith("examples/"))),
    ]
    failed = [(fault, got, want) for fault, got, want in rows if got != want]
    for fault, got, want in failed:
        print(f"FAIL: {fault}: library.json says {got!r}, the zip {want!r}")
    if failed:
        return 1
    print(f"PASS: library.json and library.properties agree on {len(rows)} facts of {top}.zip")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
