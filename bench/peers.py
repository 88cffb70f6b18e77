#!/usr/bin/env python3
"""Peer comparison: Longhand against GMP and Python's decimal module.

Every workload runs text in -> text out on the same seeded operands, back to
back, each peer in its own process under /usr/bin/time -v (for the peak
memory). Prints, per workload, each peer's median time, the ratio of
Longhand to the best peer and the peak memory, checks that all peers agree
on the result, and writes the table to bench/RESULTS.md.

    python3 bench/peers.py --build build/bench          (what `make bench` runs)
    python3 bench/peers.py --build build/bench --only mul
"""

import argparse
import decimal
import hashlib
import math
import os
import random
import re
import statistics
import subprocess
import sys
import tempfile
import time

SEED = 20261101
HERE = os.path.dirname(os.path.abspath(__file__))

# name, operation, operands, repetitions, target ratio to the best peer
WORKLOADS = [
    ("multiply 10^5 x 10^5 digits", "mul", ("digits:100000:1", "digits:100000:2"), 7, 1.0),
    ("multiply 10^6 x 10^6 digits", "mul", ("digits:1000000:3", "digits:1000000:4"), 5, 1.0),
    ("add 10^7 + 10^7 digits", "add", ("digits:10000000:5", "digits:10000000:6"), 5, 1.0),
    ("divide 2*10^5 by 10^5 digits (Len(M) + 1 places)", "div",
     ("digits:200000:7", "digits:100000:8"), 5, 1.5),
    ("divide 2*10^6 by 10^6 digits (Len(M) + 1 places)", "div",
     ("digits:2000000:9", "digits:1000000:10"), 3, 1.0),
    ("power 3^1,000,000", "pow", ("3", "1000000"), 5, 1.0),
    ("factorial 100,000!", "fac", ("100000",), 5, 1.5),
    ("factorial 1,000,000!", "fac", ("1000000",), 3, 1.0),
    ("combination C(10^6, 5*10^5)", "binom", ("1000000", "500000"), 5, 2.0),
]

PEERS = ["longhand", "gmp", "python-decimal"]


def _load_average():
    try:
        with open("/proc/loadavg") as f:
            return f.read().split()[0]
    except OSError:
        return "unknown"


LOAD_AT_START = _load_average()
COMMAND_ARGS = ""


# --- the Python decimal peer (runs in a child process) ----------------------

def _context(digits):
    ctx = decimal.Context(prec=max(28, digits + 10), Emax=decimal.MAX_EMAX,
                          Emin=decimal.MIN_EMIN, rounding=decimal.ROUND_DOWN)
    ctx.traps[decimal.Inexact] = True  # exactness is part of the contract
    return ctx


def _tree(ctx, lo, hi):
    """lo * (lo + 1) * ... * hi as a Decimal, by binary splitting."""
    if hi - lo < 16:
        r = decimal.Decimal(1)
        for x in range(lo, hi + 1):
            r = ctx.multiply(r, x)
        return r
    mid = (lo + hi) // 2
    return ctx.multiply(_tree(ctx, lo, mid), _tree(ctx, mid + 1, hi))


def _log10_factorial(n):
    return math.lgamma(n + 1) / math.log(10)


def python_peer(op, operands):
    """Returns a function computing the workload from its texts."""
    if op in ("mul", "add", "div"):
        a, b = operands
        if op == "mul":
            ctx = _context(len(a) + len(b))
            return lambda: str(ctx.multiply(decimal.Decimal(a), decimal.Decimal(b)))
        if op == "add":
            ctx = _context(max(len(a), len(b)) + 1)
            return lambda: str(ctx.add(decimal.Decimal(a), decimal.Decimal(b)))
        ctx = _context(2 * len(a) + 2)
        return lambda: str(ctx.divide_int(
            ctx.scaleb(decimal.Decimal(a), len(a) + 1), decimal.Decimal(b)))
    if op == "pow":
        base, e = int(operands[0]), int(operands[1])
        ctx = _context(int(e * math.log10(base)) + 2)
        return lambda: str(ctx.power(decimal.Decimal(base), e))
    if op == "fac":
        n = int(operands[0])
        ctx = _context(int(_log10_factorial(n)) + 2)
        return lambda: str(_tree(ctx, 1, n))
    if op == "binom":
        n, k = int(operands[0]), int(operands[1])
        k = min(k, n - k)
        ctx = _context(int(_log10_factorial(n)) + 2)
        return lambda: str(ctx.divide_int(_tree(ctx, n - k + 1, n), _tree(ctx, 1, k)))
    raise SystemExit("unknown operation " + op)


def run_python_peer(argv):
    ap = argparse.ArgumentParser()
    ap.add_argument("op")
    ap.add_argument("operands", nargs="+")
    ap.add_argument("--reps", type=int, default=5)
    ap.add_argument("--out")
    args = ap.parse_args(argv)
    operands = args.operands
    if args.op in ("mul", "add", "div"):
        operands = [open(p).read().strip() for p in operands]
    sys.set_int_max_str_digits(0) if hasattr(sys, "set_int_max_str_digits") else None
    run = python_peer(args.op, operands)
    times, result = [], ""
    for _ in range(args.reps):
        t0 = time.perf_counter()
        result = run()
        times.append(time.perf_counter() - t0)
    print("times " + " ".join(f"{t:.6f}" for t in times), flush=True)
    if args.out:
        with open(args.out, "w") as f:
            f.write(result)


# --- the comparison ---------------------------------------------------------

def make_operand(recipe, workdir):
    """'digits:N:S' becomes a file of N seeded random digits; others stay."""
    if not recipe.startswith("digits:"):
        return recipe
    _, n, s = recipe.split(":")
    path = os.path.join(workdir, f"op_{n}_{s}.txt")
    if not os.path.exists(path):
        rng = random.Random(SEED * 1000 + int(s))
        text = str(rng.randint(1, 9)) + "".join(
            rng.choices("0123456789", k=int(n) - 1))
        with open(path, "w") as f:
            f.write(text)
    return path


def run_peer(peer, driver, op, operands, reps, out):
    if peer == "python-decimal":
        cmd = [sys.executable, os.path.abspath(__file__), "--python-peer", op]
    else:
        cmd = [driver, peer, op]
    cmd += list(operands) + ["--reps", str(reps), "--out", out]
    timed = ["/usr/bin/time", "-v"] + cmd if os.path.exists("/usr/bin/time") else cmd
    proc = subprocess.run(timed, capture_output=True, text=True)
    if proc.returncode != 0:
        raise RuntimeError(f"{peer} {op} failed: {proc.stderr[-2000:]}")
    m = re.search(r"^times (.*)$", proc.stdout, re.M)
    times = [float(t) for t in m.group(1).split()]
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", proc.stderr)
    return statistics.median(times), (int(rss.group(1)) / 1024.0 if rss else float("nan"))


def digest(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read().strip()).hexdigest()


def fmt_time(t):
    return f"{t * 1000:.1f} ms" if t < 1 else f"{t:.2f} s"


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--python-peer":
        run_python_peer(sys.argv[2:])
        return 0
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build/bench", help="CMake build directory")
    ap.add_argument("--only", help="run the workloads whose name contains this text")
    ap.add_argument("--reps", type=int, help="repetitions per peer (default per workload)")
    ap.add_argument("--results", default=os.path.join(HERE, "RESULTS.md"))
    args = ap.parse_args()
    global COMMAND_ARGS
    COMMAND_ARGS = " ".join(
        f"--{k} {v}" for k, v in (("build", args.build), ("only", args.only), ("reps", args.reps))
        if v)
    driver = os.path.join(args.build, "bin", "peer_driver")
    if not os.path.exists(driver):
        raise SystemExit(f"{driver} not found: build with the bench preset first")

    rows = []
    with tempfile.TemporaryDirectory(prefix="longhand-peers-") as workdir:
        for name, op, recipes, reps, target in WORKLOADS:
            if args.only and args.only not in name and args.only != op:
                continue
            operands = [make_operand(r, workdir) for r in recipes]
            reps = args.reps or reps
            res = {}
            digests = {}
            for peer in PEERS:
                out = os.path.join(workdir, f"out_{peer}.txt")
                res[peer] = run_peer(peer, driver, op, operands, reps, out)
                digests[peer] = digest(out)
            agree = len(set(digests.values())) == 1
            best = min(("gmp", "python-decimal"), key=lambda p: res[p][0])
            ratio = res["longhand"][0] / res[best][0]
            mem_ratio = res["longhand"][1] / res[best][1]
            row = dict(name=name, res=res, best=best, ratio=ratio, target=target,
                       mem_ratio=mem_ratio, agree=agree)
            rows.append(row)
            print(f"{name}: longhand {fmt_time(res['longhand'][0])}, "
                  f"gmp {fmt_time(res['gmp'][0])}, "
                  f"python-decimal {fmt_time(res['python-decimal'][0])}; "
                  f"ratio to best ({best}) {ratio:.2f} (target <= {target}); "
                  f"peak memory {res['longhand'][1]:.0f} MB vs {res[best][1]:.0f} MB"
                  f"{'' if agree else '; RESULTS DIFFER'}", flush=True)

    write_results(args.results, rows)
    print(f"wrote {args.results}")
    return 0 if all(r["agree"] for r in rows) else 1


def write_results(path, rows):
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            m = re.search(r"model name\s*: (.*)", f.read())
            cpu = m.group(1) if m else cpu
    except OSError:
        pass
    lines = [
        "# Peer benchmark",
        "",
        "Text in -> text out on the same seeded operands, median of several runs "
        "per peer, each peer in its own process. Ratio = Longhand / best peer "
        "(lower is better). Peak memory is the process's maximum resident set "
        "(/usr/bin/time -v), interpreter included for Python.",
        "",
        f"Machine: {cpu}, {os.cpu_count()} cores, load average {LOAD_AT_START} at the "
        f"start (the peers share the machine with whatever else runs). Generated by "
        f"`python3 bench/peers.py {COMMAND_ARGS}` on {time.strftime('%Y-%m-%d')}.",
        "",
        "| workload | Longhand | GMP | Python decimal | ratio to best | target "
        "| met | Longhand peak MB | best peer peak MB | memory ratio |",
        "|---|---|---|---|---|---|---|---|---|---|",
    ]
    for r in rows:
        res = r["res"]
        met = "yes" if r["ratio"] <= r["target"] and r["mem_ratio"] <= 2.0 else "no"
        if not r["agree"]:
            met = "RESULTS DIFFER"
        lines.append(
            f"| {r['name']} | {fmt_time(res['longhand'][0])} | {fmt_time(res['gmp'][0])} "
            f"| {fmt_time(res['python-decimal'][0])} | {r['ratio']:.2f} ({r['best']}) "
            f"| <= {r['target']} | {met} | {res['longhand'][1]:.0f} "
            f"| {res[r['best']][1]:.0f} | {r['mem_ratio']:.2f} |")
    lines += [
        "",
        "Workloads and targets are those of the fast-engine issue; \"Len(M) + 1 "
        "places\" means the quotient is cut to as many decimals as the dividend "
        "has digits, plus one, as the long-division driver computes it.",
        "",
        "The size sweep of every operation (10 to 10^6 digits, 10^7 for addition) "
        "and the kernel crossovers behind `src/engine/fast/thresholds.h` are in "
        "`build/bench/bin/fast_bench` (Google Benchmark; "
        "`--benchmark_filter=Cross` for the crossovers).",
    ]
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    sys.exit(main())
