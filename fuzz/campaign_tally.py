#!/usr/bin/python3
"""Adds one run's inputs to the campaign's tally, a file of one line:

    1234567 inputs run in all (document_reader_fuzzer 3000, import_fuzzer 1000, ...)

Usage: campaign_tally.py FILE TARGET INPUTS
"""
import os
import re
import sys

LINE = re.compile(r"^(\d+) inputs run in all \((.*)\)\s*$")


def read_tally(path):
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except FileNotFoundError:
        return {}
    match = LINE.match(text)
    if not match:
        raise SystemExit(f"{path}: not a campaign tally: {text[:80]!r}")
    counts = {}
    for part in filter(None, (p.strip() for p in match.group(2).split(","))):
        name, _, number = part.rpartition(" ")
        counts[name] = int(number)
    if sum(counts.values()) != int(match.group(1)):
        raise SystemExit(f"{path}: its total is not the sum of its targets")
    return counts


def write_tally(path, counts):
    targets = ", ".join(f"{name} {counts[name]}" for name in sorted(counts))
    with open(path + ".new", "w", encoding="utf-8") as f:
        f.write(f"{sum(counts.values())} inputs run in all ({targets})\n")
    os.replace(path + ".new", path)


def main(argv):
    if len(argv) != 4 or not argv[3].isdigit():
        raise SystemExit(__doc__)
    path, target, inputs = argv[1], argv[2], int(argv[3])
    counts = read_tally(path)
    counts[target] = counts.get(target, 0) + inputs
    write_tally(path, counts)


if __name__ == "__main__":
    main(sys.argv)
