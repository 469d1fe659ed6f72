#!/usr/bin/env python3
"""Adds up the results of every suite ./test ran and prints one line: N passed, N failed.

    test_summary.py <results-dir> [<expected-suite> ...]

Reads GoogleTest XML files (*.xml) and end-to-end/replay results (*.json with "passed"
and "failed"). A suite that was expected but left no results (it crashed or never ran)
counts as one failure.
"""
import glob
import json
import os
import sys
import xml.etree.ElementTree as ElementTree


def main():
    results_dir, expected = sys.argv[1], sys.argv[2:]
    passed = failed = 0
    seen = set()
    for path in sorted(glob.glob(os.path.join(results_dir, "*.xml"))):
        seen.add(os.path.splitext(os.path.basename(path))[0])
        try:
            root = ElementTree.parse(path).getroot()
        except ElementTree.ParseError:
            failed += 1
            continue
        for case in root.iter("testcase"):
            if case.get("status") == "notrun" or case.get("result") == "skipped":
                continue
            if case.find("failure") is not None or case.find("error") is not None:
                failed += 1
            else:
                passed += 1
    for path in sorted(glob.glob(os.path.join(results_dir, "*.json"))):
        seen.add(os.path.splitext(os.path.basename(path))[0])
        with open(path) as f:
            data = json.load(f)
        passed += int(data.get("passed", 0))
        failures = data.get("failed", 0)
        failed += len(failures) if isinstance(failures, list) else int(failures)
    for suite in expected:
        if suite not in seen:
            print(f"suite {suite} left no results", file=sys.stderr)
            failed += 1
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
