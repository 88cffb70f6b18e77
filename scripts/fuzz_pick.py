#!/usr/bin/env python3
"""Picks a small corpus from a libFuzzer merge control file.

    fuzz_pick.py CONTROL_FILE SAVED_DIR MAX

The control file (-merge=1 -merge_control_file=...) lists every input and
the coverage each reaches. The inputs are taken greedily, the one that adds
the most edges not yet covered first (the shorter on a tie), until every
edge is covered or MAX are taken. SAVED_DIR then holds those inputs and the
crash-* inputs it held before: the faults found stay replayed.
"""
import os
import shutil
import sys


def main():
    control, saved, most = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(control) as f:
        lines = f.read().splitlines()
    count = int(lines[0])
    files = lines[2:2 + count]
    cover, size = {}, {}
    for line in lines[2 + count:]:
        parts = line.split()
        if not parts:
            continue
        if parts[0] == "STARTED":
            size[int(parts[1])] = int(parts[2])
        elif parts[0] == "COV":
            cover[int(parts[1])] = set(parts[2:])
    left = set().union(*cover.values()) if cover else set()
    chosen = []
    while left and len(chosen) < most:
        best = max(cover, key=lambda i: (len(cover[i] & left), -size.get(i, 0)))
        if not cover[best] & left:
            break
        chosen.append(best)
        left -= cover[best]
    keep = {}
    for i in chosen:
        keep[os.path.basename(files[i])] = open(files[i], "rb").read()
    for name in os.listdir(saved):
        if name.startswith("crash-"):
            keep[name] = open(os.path.join(saved, name), "rb").read()
    shutil.rmtree(saved)
    os.makedirs(saved)
    for name, data in keep.items():
        with open(os.path.join(saved, name), "wb") as f:
            f.write(data)
    edges = len(set().union(*cover.values())) if cover else 0
    print(f"{len(keep)} inputs kept ({len(chosen)} picked, {len(left)} of {edges} edges left out)")


if __name__ == "__main__":
    main()
