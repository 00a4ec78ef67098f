#!/usr/bin/env python3
"""Counts from a ctest JUnit file (ctest --output-junit): prints

    programs_passed programs_failed cases_passed cases_failed

A program is one ctest test. Its cases are the GoogleTest cases that its
output reports ("[  PASSED  ] N tests." and "[  FAILED  ] N tests,"); a
program that reports none (a script) counts as one case. Skipped programs
count in neither column.
"""
import re
import sys
import xml.etree.ElementTree as ET

PASSED = re.compile(r"^\[  PASSED  \] (\d+) tests?\.", re.M)
FAILED = re.compile(r"^\[  FAILED  \] (\d+) tests?,", re.M)


def main(path):
    counts = [0, 0, 0, 0]
    for case in ET.parse(path).getroot().iter("testcase"):
        status = case.get("status", "run")
        if status in ("notrun", "disabled") or case.find("skipped") is not None:
            continue
        failed = status == "fail" or case.find("failure") is not None or case.find("error") is not None
        counts[1 if failed else 0] += 1
        out = case.findtext("system-out") or ""
        passed = sum(int(n) for n in PASSED.findall(out))
        broken = sum(int(n) for n in FAILED.findall(out))
        if passed + broken == 0:
            passed, broken = (0, 1) if failed else (1, 0)
        elif failed and broken == 0:
            broken = 1  # the program failed outside its cases (a crash, a leak report)
        counts[2] += passed
        counts[3] += broken
    print(*counts)


if __name__ == "__main__":
    main(sys.argv[1])
