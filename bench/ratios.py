#!/usr/bin/env python3
"""Runs the benchmark binary once and prints, for every figure of ours, the
ratio of its time to each peer measured in the same run.

Benchmarks are named "<Group>/<who>[/<args>...]": <who> is "ours" for this
library's figure and the peer's name otherwise (e.g. "Crc32/ours/1048576",
"Crc32/zlib/1048576"). A ratio below 1.0 means ours is faster.

With --benchmark_repetitions=N, the median of the N runs is used.

Usage: ratios.py path/to/cmnw32_bench [benchmark arguments...]
       ratios.py --json results.json
"""
import json
import subprocess
import sys
from collections import defaultdict


def load(argv):
    if len(argv) >= 3 and argv[1] == "--json":
        with open(argv[2]) as f:
            return json.load(f)
    if len(argv) < 2:
        sys.exit(__doc__)
    out = subprocess.run([argv[1], "--benchmark_format=json", *argv[2:]],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out)


def main(argv):
    data = load(argv)
    groups = defaultdict(dict)
    runs = data.get("benchmarks", [])
    # With repetitions, each figure is the median of its repetitions.
    repeated = any(b.get("run_type") == "aggregate" for b in runs)
    for b in runs:
        if repeated and (b.get("run_type") != "aggregate" or b.get("aggregate_name") != "median"):
            continue
        parts = b.get("run_name", b["name"]).split("/")
        if len(parts) < 2:
            continue
        key = "/".join([parts[0]] + parts[2:])
        groups[key][parts[1]] = float(b["real_time"]) * {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
    print(f"{'benchmark':48} {'peer':12} {'ours/peer':>10}")
    for key in sorted(groups):
        runs = groups[key]
        if "ours" not in runs:
            continue
        for peer, t in sorted(runs.items()):
            if peer == "ours" or t == 0:
                continue
            print(f"{key:48} {peer:12} {runs['ours'] / t:10.2f}")


if __name__ == "__main__":
    main(sys.argv)
