#!/usr/bin/env python3
"""Counts the test cases of a run: the cases of every gtest report, and each ctest test
that wrote no gtest report as one case. Prints the closing line "N passed, N failed"."""
import pathlib
import sys
import xml.etree.ElementTree as ET

passed = failed = skipped = 0
for folder in map(pathlib.Path, sys.argv[1:]):
    junit = folder / "ctest.junit.xml"
    if not junit.exists():
        print(f"{folder}: no ctest report", file=sys.stderr)
        failed += 1
        continue
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        ctest_failed = case.find("failure") is not None or case.get("status") == "fail"
        report = folder / f"{name}.xml"
        if report.exists() and not ctest_failed:
            root = ET.parse(report).getroot()
            for t in root.iter("testcase"):
                if t.get("result") == "skipped" or t.find("skipped") is not None:
                    skipped += 1
                elif t.find("failure") is not None:
                    failed += 1
                else:
                    passed += 1
        elif ctest_failed:
            failed += 1
            print(f"FAILED: {folder.parent.name}/{name}")
        elif case.find("skipped") is not None or case.get("status") == "notrun":
            skipped += 1
        else:
            passed += 1

line = f"{passed} passed, {failed} failed"
if skipped:
    line += f", {skipped} skipped"
print(line)
sys.exit(1 if failed else 0)
