#!/usr/bin/env python3
"""Checks the archives the Windows mail tests left: each *.zip beside its *.expect list
(entry name, source file or empty, optional date; a first line "#unordered"
lets the entries come in any order) must pass `unzip -t`, open with zipfile, hold
exactly the listed entries in order, deflated, with the source files' bytes."""
import pathlib
import subprocess
import sys
import zipfile


def check(archive: pathlib.Path) -> list:
    problems = []
    expected = []
    lines = archive.with_name(archive.name + ".expect").read_text().splitlines()
    unordered = bool(lines) and lines[0] == "#unordered"
    for line in lines[1:] if unordered else lines:
        name, source, date = line.split("\t")
        expected.append((name, source, date))
    result = subprocess.run(["unzip", "-t", str(archive)], capture_output=True, text=True)
    # unzip warns (status 1) about an empty archive and about backslashes in names.
    allowed = {0}
    if not expected or any("\\" in name for name, _, _ in expected):
        allowed.add(1)
    if result.returncode not in allowed or (expected and "No errors detected" not in result.stdout):
        problems.append(f"unzip -t status {result.returncode}: {result.stdout}{result.stderr}")
    with zipfile.ZipFile(archive) as zf:
        bad = zf.testzip()
        if bad is not None:
            problems.append(f"zipfile: bad CRC in {bad}")
        infos = zf.infolist()
        if unordered:
            by_name = {name: (name, source, date) for name, source, date in expected}
            infos.sort(key=lambda info: info.filename)
            expected = [by_name.get(info.filename, ("", "", "")) for info in infos]
            if len(by_name) != len(infos) or "" in [name for name, _, _ in expected]:
                problems.append(f"entries {[i.filename for i in infos]}, expected {sorted(by_name)}")
        names = [info.filename for info in infos]
        if names != [name for name, _, _ in expected]:
            problems.append(f"entries {names}, expected {[name for name, _, _ in expected]}")
        for info, (name, source, date) in zip(infos, expected):
            if info.compress_type != zipfile.ZIP_DEFLATED:
                problems.append(f"{name}: method {info.compress_type}")
            if source and zf.read(info) != pathlib.Path(source).read_bytes():
                problems.append(f"{name}: content differs from {source}")
            if date and info.date_time != tuple(int(v) for v in date.split()):
                problems.append(f"{name}: time {info.date_time}, expected {date}")
            if info.extra or info.comment:
                problems.append(f"{name}: extra field or comment written")
        if zf.comment:
            problems.append("global comment written")
    return problems


def main() -> int:
    root = pathlib.Path(sys.argv[1])
    archives = sorted(p for p in root.rglob("*.zip") if p.with_name(p.name + ".expect").exists())
    minimum = int(sys.argv[2]) if len(sys.argv) > 2 else 1
    if len(archives) < minimum:
        print(f"only {len(archives)} checked archives under {root} (did the Windows tests run?)")
        return 1
    failed = 0
    for archive in archives:
        try:
            problems = check(archive)
        except (zipfile.BadZipFile, OSError, ValueError, EOFError, __import__("zlib").error) as error:
            problems = [f"cannot be read: {error}"]
        print(("FAIL " if problems else "ok   ") + str(archive.relative_to(root)))
        for problem in problems:
            print("     " + problem)
        failed += bool(problems)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
