#!/usr/bin/env python3
"""Peer comparison: Longhand against GMP and Python's decimal module.

Every workload runs text in -> text out on the same seeded operands, each
peer in its own process, measured two ways:

  whole process  longhand-calc reading its operands from files (@FILE) and
                 writing the result text to a file, against the GMP driver
                 and Python decimal doing the same work once (the best of a
                 few runs; peak memory from /usr/bin/time -v);
  in process     the median of several repetitions inside one process
                 (bench/peer_driver for Longhand's engine and GMP).

The huge rows compare Longhand's whole process, text out included, with
GMP's arithmetic alone (mpz_mul, mpz_fac_ui, mpz_pow_ui, timed in process,
no conversion to text), and Longhand with LONGHAND_THREADS=2 against =1.
The cancel latency of the long operations comes from bench/cancel_bench and,
in a build with the windows, bench/responsive_bench (left out with --only).
All peers must agree on each result; the tables go to bench/RESULTS.md.

The expression rows (`--only expression` runs them alone and rewrites only
their section of RESULTS.md) time `longhand-calc eval` as whole processes:
its start-up against a plain command, an expression with intermediates of
10^6 digits against the same operations chained through commands and
files, the reduction of a fraction of two 10^6-digit numbers against GMP's
mpz_gcd and Python's math.gcd (text in and out), and the period of 1/p for
a 7-digit prime p whose period is p - 1 digits long. Each time comes with
its user and system time, since the machine may be shared.

    python3 bench/peers.py --build build/bench          (what `make bench` runs)
    python3 bench/peers.py --build build/bench --only mul
"""

import argparse
import decimal
import hashlib
import json
import math
import os
import random
import re
import threading
import statistics
import subprocess
import sys
import tempfile
import time

SEED = 20261101
HERE = os.path.dirname(os.path.abspath(__file__))

# name, operation, operands, repetitions in process, target whole-process
# ratio to the best peer
WORKLOADS = [
    ("multiply 10^5 x 10^5 digits", "mul", ("digits:100000:1", "digits:100000:2"), 7, 0.7),
    ("multiply 10^6 x 10^6 digits", "mul", ("digits:1000000:3", "digits:1000000:4"), 5, 0.7),
    ("add 10^7 + 10^7 digits", "add", ("digits:10000000:5", "digits:10000000:6"), 5, 0.7),
    ("divide 2*10^5 by 10^5 digits (dividend's length + 1 places)", "div",
     ("digits:200000:7", "digits:100000:8"), 5, 0.7),
    ("divide 2*10^6 by 10^6 digits (dividend's length + 1 places)", "div",
     ("digits:2000000:9", "digits:1000000:10"), 3, 0.7),
    ("power 3^1,000,000", "pow", ("3", "1000000"), 5, 0.7),
    ("factorial 100,000!", "fac", ("100000",), 5, 0.7),
    ("factorial 1,000,000!", "fac", ("1000000",), 3, 0.7),
    ("combination C(10^6, 5*10^5)", "binom", ("1000000", "500000"), 5, 0.7),
]

# Longhand's whole process against GMP's arithmetic alone: name,
# operation, operands, target ratio, digits of the result.
HUGE = [
    ("multiply 10^7 x 10^7 digits", "mul", ("digits:10000000:11", "digits:10000000:12"), 1.4,
     None),
    ("factorial 10,000,000!", "fac", ("10000000",), 0.85, 65657060),
    ("power 7^100,000,000", "pow", ("7", "100000000"), 0.85, 84509805),
]

# LONGHAND_THREADS=2 against =1, whole processes: name, operation, operands.
THREADS = [
    ("multiply 10^7 x 10^7 digits", "mul", ("digits:10000000:11", "digits:10000000:12")),
    ("multiply 10^8 x 10^8 digits", "mul", ("digits:100000000:13", "digits:100000000:14")),
    ("divide 2*10^7 by 10^7 digits", "div", ("digits:20000000:15", "digits:10000000:16")),
    ("factorial 10,000,000!", "fac", ("10000000",)),
    ("power 7^100,000,000", "pow", ("7", "100000000")),
]
THREADS_TARGET = 1.7
MEMORY_TARGET = 1.3

PEERS = ["longhand", "gmp", "python-decimal"]
CLI_COMMANDS = {"mul": "mul", "add": "add", "div": "div", "pow": "pow", "fac": "fact",
                "binom": "comb"}
FILE_OPERANDS = ("mul", "add", "div")


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
    if op in FILE_OPERANDS:
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
    if args.op in FILE_OPERANDS:
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


# --- running the peers --------------------------------------------------------

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


def timed(cmd, stdout=subprocess.DEVNULL, env=None):
    """Runs cmd once; returns its wall seconds, peak MB, user and system seconds."""
    wrapped = ["/usr/bin/time", "-v"] + cmd if os.path.exists("/usr/bin/time") else cmd
    t0 = time.perf_counter()
    proc = subprocess.run(wrapped, stdout=stdout, stderr=subprocess.PIPE, text=True, env=env)
    wall = time.perf_counter() - t0
    if proc.returncode != 0:
        raise RuntimeError(f"{' '.join(cmd[:3])} failed: {proc.stderr[-2000:]}")
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", proc.stderr)
    user = re.search(r"User time \(seconds\): ([\d.]+)", proc.stderr)
    system = re.search(r"System time \(seconds\): ([\d.]+)", proc.stderr)
    return (wall, (int(rss.group(1)) / 1024.0 if rss else float("nan")),
            float(user.group(1)) if user else float("nan"),
            float(system.group(1)) if system else float("nan"))


def driver_cmd(peer, driver, op, operands, reps, out):
    if peer == "python-decimal":
        cmd = [sys.executable, os.path.abspath(__file__), "--python-peer", op]
    else:
        cmd = [driver, peer, op]
    return cmd + list(operands) + ["--reps", str(reps)] + (["--out", out] if out else [])


def in_process(peer, driver, op, operands, reps, out):
    """The median time of the repetitions inside one process."""
    cmd = driver_cmd(peer, driver, op, operands, reps, out)
    proc = subprocess.run(cmd, capture_output=True, text=True)
    if proc.returncode != 0:
        raise RuntimeError(f"{peer} {op} failed: {proc.stderr[-2000:]}")
    m = re.search(r"^times (.*)$", proc.stdout, re.M)
    return statistics.median(float(t) for t in m.group(1).split())


def cli_cmd(calc, op, operands):
    args = [("@" + o if op in FILE_OPERANDS else o) for o in operands]
    return [calc, CLI_COMMANDS[op]] + args


def whole_process(peer, calc, driver, op, operands, out, runs, threads=None):
    """The best wall time of `runs` whole processes, their peak MB, and the
    user and system seconds of the best run."""
    env = dict(os.environ)
    if threads is not None:
        env["LONGHAND_THREADS"] = str(threads)
    best, peak, cpu = float("inf"), 0.0, (float("nan"), float("nan"))
    for _ in range(runs):
        if peer == "longhand":
            with open(out, "w") as f:
                wall, mb, user, system = timed(cli_cmd(calc, op, operands), stdout=f, env=env)
        else:
            wall, mb, user, system = timed(driver_cmd(peer, driver, op, operands, 1, out), env=env)
        if wall < best:
            best, cpu = wall, (user, system)
        peak = max(peak, mb)
    return best, peak, cpu[0], cpu[1]


def digest(path, op=None, dividend=None):
    with open(path) as f:
        text = f.read().strip()
    if op == "div" and dividend is not None:
        text = scaled_quotient(text, len(dividend) + 1)
    return hashlib.sha256(text.encode()).hexdigest()


def scaled_quotient(q, places):
    """The division's text "I.F" (or "I") as the digits of floor(a 10^places / b)."""
    whole, _, fraction = q.partition(".")
    digits = (whole + fraction + "0" * (places - len(fraction))).lstrip("0")
    return digits or "0"


def fmt_time(t):
    return f"{t * 1000:.1f} ms" if t < 1 else f"{t:.2f} s"


def fmt_cpu(measured):
    """User + system seconds of a whole_process result, and the system share."""
    user, system = measured[2], measured[3]
    total = user + system
    share = f", {100 * system / total:.0f}% system" if total > 0 else ""
    return f"{user:.2f} + {system:.2f} s{share}"


# --- the comparison ---------------------------------------------------------------

def regular_rows(args, calc, driver, workdir):
    rows = []
    for name, op, recipes, reps, target in WORKLOADS:
        if args.only and args.only not in name and args.only != op:
            continue
        operands = [make_operand(r, workdir) for r in recipes]
        reps = args.reps or reps
        dividend = open(operands[0]).read().strip() if op == "div" else None
        whole, inproc, digests = {}, {}, {}
        for peer in PEERS:
            out = os.path.join(workdir, f"out_{peer}.txt")
            whole[peer] = whole_process(peer, calc, driver, op, operands, out, args.runs)
            digests[peer] = digest(out, op if peer == "longhand" else None, dividend)
            inproc[peer] = in_process(peer, driver, op, operands, reps, None)
        agree = len(set(digests.values())) == 1
        best = min(("gmp", "python-decimal"), key=lambda p: whole[p][0])
        best_mem = min(whole[p][1] for p in ("gmp", "python-decimal"))
        best_in = min(("gmp", "python-decimal"), key=lambda p: inproc[p])
        row = dict(name=name, whole=whole, inproc=inproc, best=best, best_in=best_in,
                   ratio=whole["longhand"][0] / whole[best][0],
                   ratio_in=inproc["longhand"] / inproc[best_in], target=target,
                   best_mem=best_mem, mem_ratio=whole["longhand"][1] / best_mem, agree=agree)
        rows.append(row)
        print(f"{name}: whole process longhand {fmt_time(whole['longhand'][0])}, "
              f"gmp {fmt_time(whole['gmp'][0])}, python {fmt_time(whole['python-decimal'][0])}; "
              f"ratio {row['ratio']:.2f} (target <= {target}); in process "
              f"{fmt_time(inproc['longhand'])} vs {fmt_time(inproc[best_in])}; peak "
              f"{whole['longhand'][1]:.0f} MB vs {best_mem:.0f} MB"
              f"{'' if agree else '; RESULTS DIFFER'}", flush=True)
    return rows


def huge_rows(args, calc, driver, workdir):
    rows = []
    for name, op, recipes, target, digits in HUGE:
        if args.only and args.only not in name and args.only != op:
            continue
        operands = [make_operand(r, workdir) for r in recipes]
        out = os.path.join(workdir, "out_huge.txt")
        longhand = whole_process("longhand", calc, driver, op, operands, out, args.runs)
        with open(out) as f:
            length = len(f.read().strip())
        expected = digits or sum(len(open(o).read().strip()) for o in operands)
        ok = length in (expected, expected - 1)
        gmp_times, gmp_mem = [], 0.0
        for _ in range(args.runs):
            cmd = driver_cmd("gmp-arith", driver, op, operands, 1, None)
            proc = subprocess.run(["/usr/bin/time", "-v"] + cmd, capture_output=True, text=True)
            if proc.returncode != 0:
                raise RuntimeError(f"gmp {op} failed: {proc.stderr[-2000:]}")
            gmp_times.append(float(re.search(r"^times (\S+)", proc.stdout, re.M).group(1)))
            rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", proc.stderr)
            gmp_mem = max(gmp_mem, int(rss.group(1)) / 1024.0)
        gmp = min(gmp_times)
        # GMP's peak memory for the same work, the text out included (its
        # conversion to text takes many seconds: one run).
        _, gmp_text_mem, _, _ = timed(driver_cmd("gmp", driver, op, operands, 1,
                                           os.path.join(workdir, "out_gmp_huge.txt")))
        row = dict(name=name, longhand=longhand, gmp=gmp, gmp_mem=gmp_mem, target=target,
                   ratio=longhand[0] / gmp, mem_ratio=longhand[1] / gmp_mem,
                   gmp_text_mem=gmp_text_mem, text_mem_ratio=longhand[1] / gmp_text_mem, ok=ok,
                   operands=operands, op=op)
        rows.append(row)
        print(f"{name}: longhand whole process {fmt_time(longhand[0])}, GMP arithmetic alone "
              f"{fmt_time(gmp)}; ratio {row['ratio']:.2f} (target <= {target}); peak "
              f"{longhand[1]:.0f} MB vs {gmp_mem:.0f} MB (GMP's arithmetic alone), "
              f"{gmp_text_mem:.0f} MB (GMP with the text){'' if ok else '; WRONG LENGTH'}",
              flush=True)
    return rows


def thread_rows(args, calc, driver, workdir):
    rows = []
    runs = max(args.runs, 5)
    for name, op, recipes in THREADS:
        if args.only and args.only not in name and args.only != op:
            continue
        row = dict(name=name, op=op, operands=[make_operand(r, workdir) for r in recipes])
        out = os.path.join(workdir, "out_threads.txt")
        one, two = (float("inf"),), (float("inf"),)
        for _ in range(runs):  # alternating, so that both see the same load
            one = min(one, whole_process("longhand", calc, driver, row["op"], row["operands"], out,
                                         1, threads=1))
            two = min(two, whole_process("longhand", calc, driver, row["op"], row["operands"], out,
                                         1, threads=2))
        rows.append(dict(name=row["name"], one=one[0], two=two[0], speedup=one[0] / two[0],
                         one_cpu=one[2:], two_cpu=two[2:]))
        one, two = one[0], two[0]
        print(f"{row['name']}: LONGHAND_THREADS=1 {fmt_time(one)}, =2 {fmt_time(two)}; "
              f"speed-up {one / two:.2f} (target >= {THREADS_TARGET})", flush=True)
    return rows


def main():
    if len(sys.argv) > 1 and sys.argv[1] == "--python-peer":
        run_python_peer(sys.argv[2:])
        return 0
    if len(sys.argv) > 1 and sys.argv[1] == "--python-math":
        run_python_math(sys.argv[2:])
        return 0
    if len(sys.argv) > 1 and sys.argv[1] == "--python-reduce":
        run_python_reduce(sys.argv[2:])
        return 0
    ap = argparse.ArgumentParser(description=__doc__,
                                 formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build/bench", help="CMake build directory")
    ap.add_argument("--only", help="run the workloads whose name contains this text")
    ap.add_argument("--reps", type=int, help="repetitions in process (default per workload)")
    ap.add_argument("--runs", type=int, default=3, help="whole-process runs per peer (best kept)")
    ap.add_argument("--results", default=os.path.join(HERE, "RESULTS.md"))
    args = ap.parse_args()
    global COMMAND_ARGS
    COMMAND_ARGS = " ".join(
        f"--{k} {v}" for k, v in (("build", args.build), ("only", args.only), ("reps", args.reps),
                                  ("runs", args.runs if args.runs != 3 else None))
        if v)
    driver = os.path.join(args.build, "bin", "peer_driver")
    calc = os.path.join(args.build, "bin", "longhand-calc")
    for path in (driver, calc, os.path.join(args.build, "bin", "gmp_reduce")):
        if not os.path.exists(path):
            raise SystemExit(f"{path} not found: build with the bench preset first")

    with tempfile.TemporaryDirectory(prefix="longhand-peers-") as workdir:
        regular = regular_rows(args, calc, driver, workdir)
        huge = huge_rows(args, calc, driver, workdir)
        threads = thread_rows(args, calc, driver, workdir)
        expressions = (expression_rows(args, calc, args.build, workdir)
                       if not args.only or args.only in "expression" else [])
        maths = (math_rows(args, calc, driver, workdir)
                 if not args.only or args.only == "math" else [])
    cancels = [] if args.only else cancel_rows(args)

    if regular or huge or not args.only:
        kept = kept_expression_section(args.results)
        write_results(args.results, regular, huge, threads, cancels)
        if kept and not expressions:  # a partial run keeps the last expression rows
            with open(args.results, "a") as f:
                f.write("\n" + kept)
    if expressions:
        write_expression_section(args.results, expressions)
    if maths:
        write_math_section(args.results, maths)
    print(f"wrote {args.results}")
    return 0 if (all(r["agree"] for r in regular) and all(r["ok"] for r in huge)
                 and all(r["agree"] for r in expressions)) else 1


# --- expressions: longhand-calc eval -------------------------------------------------

EXPRESSION_SECTION = "## Expressions"
STARTUP_TARGET = 1.2
OVERHEAD_TARGET = 1.1
REDUCTION_TARGET = 0.7
PERIOD_TARGET_S = 1.0
# A 7-digit prime p with 10 as a primitive root: 1/p repeats after p - 1 digits.
PERIOD_PRIME = 9999943
PERIOD_LIMIT = 10_000_000


def run_python_reduce(argv):
    """The Python peer of the reduction: math.gcd, text in and out."""
    a_path, b_path, out = argv
    if hasattr(sys, "set_int_max_str_digits"):
        sys.set_int_max_str_digits(0)
    a, b = int(open(a_path).read()), int(open(b_path).read())
    g = math.gcd(a, b)
    a, b = a // g, b // g
    with open(out, "w") as f:
        f.write(str(a) + ("" if b == 1 else "/" + str(b)) + "\n")


def timed_usage(cmd, out=None):
    """Runs cmd once, stdout to the file `out`; wall, user and system seconds."""
    with open(out or os.devnull, "w") as f:
        t0 = time.perf_counter()
        proc = subprocess.Popen(cmd, stdout=f, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - t0
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        raise RuntimeError(f"{' '.join(cmd[:3])} failed with status {proc.returncode}")
    return dict(wall=wall, user=usage.ru_utime, sys=usage.ru_stime, mb=usage.ru_maxrss / 1024.0)


def best_of(runs, measure):
    """The run with the least wall time of `runs` calls of measure()."""
    return min((measure() for _ in range(runs)), key=lambda t: t["wall"])


def chained(steps):
    """Several processes one after the other, their times added."""
    total = dict(wall=0.0, user=0.0, sys=0.0)
    for cmd, out in steps:
        t = timed_usage(cmd, out)
        for k in total:
            total[k] += t[k]
    return total


def fmt_usage(t):
    return f"{fmt_time(t['wall'])} ({fmt_time(t['user'])} user, {fmt_time(t['sys'])} sys)"


def cpu(t):
    return t["user"] + t["sys"]


def expression_rows(args, calc, build, workdir):
    rows = []
    runs = args.runs

    def add(name, ours, peers, target, agree, note=""):
        best = min(peers, key=lambda p: peers[p]["wall"])
        ratio = ours["wall"] / peers[best]["wall"]
        best_cpu = min(cpu(t) for t in peers.values())
        cpu_ratio = cpu(ours) / best_cpu if best_cpu > 0 else float("nan")
        rows.append(dict(name=name, ours=ours, peers=peers, best=best, ratio=ratio,
                         cpu_ratio=cpu_ratio,
                         target=target, met=agree and ratio <= target, agree=agree, note=note))
        print(f"{name}: eval {fmt_usage(ours)}; " +
              "; ".join(f"{p} {fmt_usage(t)}" for p, t in peers.items()) +
              f"; ratio {ratio:.2f} (target <= {target}), by processor time {cpu_ratio:.2f}"
              f"{'' if agree else '; RESULTS DIFFER'}",
              flush=True)

    # Start-up: the whole process for a tiny expression and a tiny command,
    # alternating, the best of many.
    eval_t, mul_t = [], []
    for _ in range(max(runs, 50)):
        eval_t.append(timed_usage([calc, "eval", "123*456"]))
        mul_t.append(timed_usage([calc, "mul", "123", "456"]))
    ours, theirs = (min(ts, key=lambda t: t["wall"]) for ts in (eval_t, mul_t))
    add("start-up: eval '123*456' against mul 123 456", ours, {"mul command": theirs},
        STARTUP_TARGET, True)

    # Overhead: (A*B + C)/D with A, B, C of 10^6 digits, printed with as many
    # places as the chained div prints (the dividend's length + 1).
    a, b, c = (make_operand(f"digits:1000000:{s}", workdir) for s in (21, 22, 23))
    for d_recipe, what in (("digits:18:24", "an 18-digit D"), ("digits:1000000:25", "a 10^6-digit D")):
        d = make_operand(d_recipe, workdir)
        t1, t2, out_chain, out_eval = (os.path.join(workdir, n)
                                       for n in ("t1.txt", "t2.txt", "chain.txt", "eval.txt"))
        steps = [([calc, "mul", "@" + a, "@" + b], t1), ([calc, "add", "@" + t1, "@" + c], t2),
                 ([calc, "div", "@" + t2, "@" + d], out_chain)]
        chain = best_of(runs, lambda: chained(steps))
        dividend = open(t2).read().strip()
        places = len(dividend) + 1
        expression = f"(@{a} * @{b} + @{c}) / @{d}"
        ours = best_of(runs, lambda: timed_usage(
            [calc, "eval", "--places", str(places), expression], out_eval))
        agree = digest(out_chain, "div", dividend) == digest(out_eval, "div", dividend)
        add(f"overhead: (A*B + C)/D, A, B, C of 10^6 digits, {what}, {places:,} places",
            ours, {"mul, add, div chained": chain}, OVERHEAD_TARGET, agree)

    # Reduction: A/B for A, B of 10^6 digits, as a fraction in lowest terms.
    gmp = os.path.join(build, "bin", "gmp_reduce")
    out_eval, out_gmp, out_py = (os.path.join(workdir, n)
                                 for n in ("red_eval.txt", "red_gmp.txt", "red_py.txt"))
    ours = best_of(runs, lambda: timed_usage([calc, "eval", "--fraction", f"@{a} / @{b}"], out_eval))
    peers = {"GMP mpz_gcd": best_of(runs, lambda: timed_usage([gmp, a, b, out_gmp]))}
    # Python's conversions and gcd are quadratic: minutes for one run.
    peers["Python math.gcd"] = timed_usage(
        [sys.executable, os.path.abspath(__file__), "--python-reduce", a, b, out_py])
    texts = {open(p).read().strip() for p in (out_eval, out_gmp, out_py)}
    add("reduction: A/B in lowest terms, A, B of 10^6 digits", ours, peers,
        REDUCTION_TARGET, len(texts) == 1)

    # Period: 1/p shown in full, p - 1 digits in parentheses.
    out = os.path.join(workdir, "period.txt")
    ours = best_of(runs, lambda: timed_usage(
        [calc, "eval", "--period-limit", str(PERIOD_LIMIT), f"1/{PERIOD_PRIME}"], out))
    shown = open(out).read().strip()
    ok = shown.startswith("0.(") and shown.endswith(")") and len(shown) == PERIOD_PRIME - 1 + 4
    rows.append(dict(name=f"period: 1/{PERIOD_PRIME} in full ({PERIOD_PRIME - 1:,} repeating "
                          f"digits), limit {PERIOD_LIMIT:,}", ours=ours, peers={}, best=None,
                     ratio=None, cpu_ratio=None, target=PERIOD_TARGET_S, agree=ok,
                     met=ok and ours["wall"] < PERIOD_TARGET_S, note="seconds"))
    print(f"period of 1/{PERIOD_PRIME}: {fmt_usage(ours)}{'' if ok else '; WRONG TEXT'}",
          flush=True)
    return rows


def expression_section(rows):
    lines = [
        EXPRESSION_SECTION,
        "",
        "`longhand-calc eval` as whole processes, each time with its user and system "
        "time (the machine is shared: a wall time far above user + system is time spent "
        "waiting for a core). Best of the runs; Python's reduction once. Ratio = eval / "
        "best other by wall time (lower is better), and by processor time (user + sys), "
        "which the other processes on a shared machine disturb less. \"met\" goes by the "
        "wall-time ratio.",
        "",
        f"Machine: load average {_load_average()} when this section was written; "
        f"generated by `python3 bench/peers.py {COMMAND_ARGS}` on {time.strftime('%Y-%m-%d')}.",
        "",
        "| workload | eval | others | ratio | by processor time | target | met |",
        "|---|---|---|---|---|---|---|",
    ]
    for r in rows:
        others = "<br>".join(f"{p}: {fmt_usage(t)}" for p, t in r["peers"].items())
        if r["ratio"] is None:
            ratio, cpu_ratio, target = "", "", f"< {r['target']:.0f} s"
        else:
            ratio, cpu_ratio = f"{r['ratio']:.2f}", f"{r['cpu_ratio']:.2f}"
            target = f"<= {r['target']}"
        met = yes(r["met"]) if r["agree"] else "RESULTS DIFFER"
        lines.append(f"| {r['name']} | {fmt_usage(r['ours'])} | {others} | {ratio} | {cpu_ratio} "
                     f"| {target} | {met} |")
    return lines


def kept_expression_section(path):
    """The expression section of the results file as it stands, or ""."""
    try:
        with open(path) as f:
            text = f.read()
    except OSError:
        return ""
    start = text.find(EXPRESSION_SECTION)
    if start < 0:
        return ""
    end = text.find("\n## ", start + len(EXPRESSION_SECTION))
    return text[start:end + 1] if end >= 0 else text[start:]


def write_expression_section(path, rows):
    """Replaces the expression section of the results file, or appends it."""
    try:
        with open(path) as f:
            text = f.read()
    except OSError:
        text = ""
    start = text.find(EXPRESSION_SECTION)
    if start >= 0:
        end = text.find("\n## ", start + len(EXPRESSION_SECTION))
        text = text[:start].rstrip("\n") + ("\n" + text[end:] if end >= 0 else "")
    text = text.rstrip("\n") + ("\n\n" if text.strip() else "")
    with open(path, "w") as f:
        f.write(text + "\n".join(expression_section(rows)) + "\n")


# The cancellation benchmarks: binary, filter, what is cancelled.
CANCEL_BENCHES = [
    ("cancel_bench", "CancelLatency", "the fast arithmetic"),
    ("cancel_bench", "EngineCancel", "the engine, as the windows' worker calls it"),
    ("responsive_bench", "CancelInWindow", "the main window, Esc or Cancel"),
]
CANCEL_TARGET_MS = 100.0


def cancel_rows(args):
    """The worst latency of each cancelled workload over its delays."""
    rows = []
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    for binary, family, where in CANCEL_BENCHES:
        path = os.path.join(args.build, "bin", binary)
        if not os.path.exists(path):
            continue
        out = subprocess.run([path, f"--benchmark_filter={family}", "--benchmark_format=json"],
                             capture_output=True, text=True, env=env, check=True).stdout
        worst = {}
        for b in json.loads(out)["benchmarks"]:
            parts = b["name"].split("/")
            key = parts[1]
            r = worst.setdefault(key, dict(ms=0.0, lag=0.0, runs=0, finished=0))
            r["ms"] = max(r["ms"], b.get("max_ms", 0.0))
            r["lag"] = max(r["lag"], b.get("loop_lag_ms", 0.0))
            r["runs"] += int(b.get("iterations", 0))
            r["finished"] += int(b.get("finished", 0))
        for key, r in worst.items():
            name = WINDOW_WORK.get(key, key) if family == "CancelInWindow" else key
            rows.append(dict(where=where, name=name, window=family == "CancelInWindow", **r))
            print(f"cancel, {where}: {name}: worst {r['ms']:.1f} ms", flush=True)
    return rows


# The operands of responsive_bench's CancelInWindow, by its first argument.
WINDOW_WORK = {"0": "multiply 10^7 x 10^7 digits", "1": "divide 10^7 by 2*10^6 digits",
               "2": "multiply 5*10^7 x 5*10^7 digits"}


def yes(ok):
    return "yes" if ok else "no"


def write_results(path, regular, huge, threads, cancels):
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
        "Text in -> text out on the same seeded operands, each peer in its own process. "
        "Whole process: `longhand-calc` reading its operands from files (`@FILE`) and "
        "writing the result to a file, against GMP (bench/peer_driver) and Python decimal "
        "doing the same work once; the best of several runs. In process: the median of "
        "several repetitions inside one process (Longhand's engine operations, GMP, "
        "Python decimal). Ratio = Longhand / best peer (lower is better). Peak memory is "
        "the whole process's maximum resident set (/usr/bin/time -v), interpreter "
        "included for Python.",
        "",
        f"Machine: {cpu}, nproc {len(os.sched_getaffinity(0))} ({os.cpu_count()} cores), load "
        f"average {LOAD_AT_START} at the start and {_load_average()} at the end (the peers "
        f"share the machine with whatever else runs; user and system times are less "
        f"sensitive to that load than wall times). Generated by `python3 bench/peers.py {COMMAND_ARGS}` on "
        f"{time.strftime('%Y-%m-%d')}.",
        "",
        "| workload | Longhand | Longhand user + system | GMP | Python decimal "
        "| ratio to best | target | met "
        "| Longhand peak MB | best peer peak MB | memory ratio | in process: Longhand "
        "| best peer | ratio |",
        "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|",
    ]
    for r in regular:
        w = r["whole"]
        met = yes(r["ratio"] <= r["target"] and r["mem_ratio"] <= MEMORY_TARGET)
        if not r["agree"]:
            met = "RESULTS DIFFER"
        lines.append(
            f"| {r['name']} | {fmt_time(w['longhand'][0])} | {fmt_cpu(w['longhand'])} "
            f"| {fmt_time(w['gmp'][0])} "
            f"| {fmt_time(w['python-decimal'][0])} | {r['ratio']:.2f} ({r['best']}) "
            f"| <= {r['target']} | {met} | {w['longhand'][1]:.0f} | {r['best_mem']:.0f} "
            f"| {r['mem_ratio']:.2f} | {fmt_time(r['inproc']['longhand'])} "
            f"| {fmt_time(r['inproc'][r['best_in']])} ({r['best_in']}) | {r['ratio_in']:.2f} |")
    if huge:
        lines += [
            "",
            "Huge workloads: Longhand's whole process, text out included, against GMP's "
            "arithmetic alone (`mpz_mul`, `mpz_fac_ui`, `mpz_pow_ui` timed in process, "
            "without turning the result into text); \"met\" is about that time. Peak "
            "memory against two GMP processes: one reading the operands and computing, "
            "without the text, and one doing the same work as Longhand, text out included "
            "(one run).",
            "",
            "| workload | Longhand whole process | Longhand user + system "
            "| GMP arithmetic alone | ratio | target | met "
            "| Longhand peak MB | GMP arithmetic alone peak MB | memory ratio "
            "| GMP with the text peak MB | memory ratio |",
            "|---|---|---|---|---|---|---|---|---|---|---|---|",
        ]
        for r in huge:
            met = yes(r["ratio"] <= r["target"])
            if not r["ok"]:
                met = "WRONG LENGTH"
            lines.append(
                f"| {r['name']} | {fmt_time(r['longhand'][0])} | {fmt_cpu(r['longhand'])} "
                f"| {fmt_time(r['gmp'])} "
                f"| {r['ratio']:.2f} | <= {r['target']} | {met} | {r['longhand'][1]:.0f} "
                f"| {r['gmp_mem']:.0f} | {r['mem_ratio']:.2f} | {r['gmp_text_mem']:.0f} "
                f"| {r['text_mem_ratio']:.2f} |")
    if threads:
        lines += [
            "",
            "Threads: Longhand's whole process with `LONGHAND_THREADS=1` and `=2`, the best "
            "of alternating runs, with the user and system seconds of that run.",
            "",
            "| workload | 1 thread | user + system | 2 threads | user + system | speed-up "
            "| target | met |",
            "|---|---|---|---|---|---|---|---|",
        ]
        for r in threads:
            lines.append(
                f"| {r['name']} | {fmt_time(r['one'])} | {fmt_cpu((0, 0) + r['one_cpu'])} "
                f"| {fmt_time(r['two'])} | {fmt_cpu((0, 0) + r['two_cpu'])} "
                f"| {r['speedup']:.2f} | >= {THREADS_TARGET} | {yes(r['speedup'] >= THREADS_TARGET)} |")
    if cancels:
        lines += [
            "",
            "Cancel latency: each workload started and cancelled after several delays "
            "(cancel_bench: 10 ms to 1.5 s; responsive_bench: 20 ms to 0.9 s), 3 runs each; "
            "the time from the cancel until the operation has returned (in the window: until "
            "the window is back), the worst run. Window event loop: the worst lateness of a "
            "5 ms timer of the window while the calculation ran on every core.",
            "",
            "| cancelled in | workload | worst latency | runs (finished before the cancel) "
            "| target | met | window event loop |",
            "|---|---|---|---|---|---|---|",
        ]
        for r in cancels:
            lag = f"{r['lag']:.1f} ms" if r["window"] else ""
            lines.append(
                f"| {r['where']} | {r['name']} | {r['ms']:.1f} ms | {r['runs']} ({r['finished']}) "
                f"| <= {CANCEL_TARGET_MS:.0f} ms | {yes(r['ms'] <= CANCEL_TARGET_MS)} | {lag} |")
    lines += [
        "",
        "The dividend's length + 1 places: the quotient is cut to as many decimals as "
        "the dividend has digits, plus one, as the long-division driver computes it.",
        "",
        "The size sweep of every operation (10 to 10^6 digits, 10^7 for addition) and the "
        "kernel crossovers behind `src/engine/fast/thresholds.h` are in "
        "`build/bench/bin/fast_bench` (Google Benchmark; `--benchmark_filter=Cross` for the "
        "crossovers).",
    ]
    with open(path, "w") as f:
        f.write("\n".join(lines) + "\n")


# --- roots, gcd, bases, modular powers, primality ------------------------------------

MATH_SECTION = "## Roots, gcd, bases, modular powers, primality"
MATH_TARGET = 0.7
PYTHON_MATH_TIMEOUT = 120
# The least prime of 10,000 digits: 10^9999 + 33603.
PRIME_10K = "1" + "0" * 9994 + "33603"


def run_python_math(argv):
    """Python's side of the math rows, text in and out."""
    op, out, operands = argv[0], argv[1], argv[2:]
    if hasattr(sys, "set_int_max_str_digits"):
        sys.set_int_max_str_digits(0)
    read = lambda p: open(p).read().strip()
    if op == "sqrt":
        x, places = operands[0], int(operands[1])
        decimal.getcontext().prec = places + 10
        decimal.getcontext().Emax = decimal.MAX_EMAX
        text = str(decimal.Decimal(x).sqrt())
        whole, _, frac = text.partition(".")
        result = whole + "." + frac[:places]
    elif op == "gcd":
        result = str(math.gcd(int(read(operands[0])), int(read(operands[1]))))
    elif op == "hex":
        result = str(int(hex(int(read(operands[0]))), 16))
    elif op == "powmod":
        a, e, m = (int(read(o)) for o in operands)
        result = str(pow(a, e, m))
    else:
        raise SystemExit(f"unknown op {op}")
    with open(out, "w") as f:
        f.write(result + "\n")


def math_rows(args, calc, driver, workdir):
    rows = []
    runs = args.runs
    path = lambda name: os.path.join(workdir, name)

    def write(name, text):
        with open(path(name), "w") as f:
            f.write(text)
        return path(name)

    def gmp(op, operands, out):
        return timed_usage_limited([driver, "gmp", op] + operands + ["--reps", "1", "--out", out])

    def python(op, operands, out):
        cmd = [sys.executable, os.path.abspath(__file__), "--python-math", op, out] + operands
        try:
            return timed_usage_limited(cmd, PYTHON_MATH_TIMEOUT)
        except subprocess.TimeoutExpired:
            return None

    def add(name, ours, out_ours, peers, same=lambda a, b: a == b):
        texts = {p: open(o).read().strip() for p, (t, o) in peers.items() if t}
        mine = open(out_ours).read().strip()
        agree = all(same(mine, t) for t in texts.values())
        ran = {p: t for p, (t, o) in peers.items() if t}
        best = min(ran, key=lambda p: ran[p]["wall"])
        ratio = ours["wall"] / ran[best]["wall"]
        rows.append(dict(name=name, ours=ours, peers={p: t for p, (t, o) in peers.items()},
                         best=best, ratio=ratio, agree=agree, met=agree and ratio <= MATH_TARGET))
        print(f"{name}: longhand {fmt_usage(ours)} {ours['mb']:.0f} MB; " + "; ".join(
            f"{p} " + (f"{fmt_usage(t)} {t['mb']:.0f} MB" if t else f"> {PYTHON_MATH_TIMEOUT} s")
            for p, (t, o) in peers.items()) +
            f"; ratio {ratio:.2f} (target <= {MATH_TARGET}){'' if agree else '; RESULTS DIFFER'}",
            flush=True)

    # sqrt(2) to 10^6 places.
    out = path("m_sqrt.txt")
    ours = best_of(runs, lambda: timed_usage_limited([calc, "sqrt", "2", "1000000"], out=out))
    add("square root of 2 to 10^6 places", ours, out,
        {"GMP mpz_sqrt": (gmp("msqrt", ["2", "1000000"], path("g_sqrt.txt")), path("g_sqrt.txt")),
         "Python decimal": (python("sqrt", ["2", "1000000"], path("p_sqrt.txt")),
                            path("p_sqrt.txt"))},
        same=lambda a, b: a.replace(".", "") == b.replace(".", ""))

    # The cube root of a 2*10^6-digit number (its whole part).
    x = make_operand("digits:2000000:31", workdir)
    out = path("m_root.txt")
    ours = best_of(runs, lambda: timed_usage_limited([calc, "root", "@" + x, "3", "0"], out=out))
    add("cube root of a 2*10^6-digit number (whole part)", ours, out,
        {"GMP mpz_root": (gmp("mroot", [x, "3"], path("g_root.txt")), path("g_root.txt"))})

    # gcd of two 10^6-digit numbers with a 10^5-digit common factor.
    f, u, w = (make_operand(r, workdir) for r in
               ("digits:100000:32", "digits:900000:33", "digits:900000:34"))
    a, b = path("m_gcd_a.txt"), path("m_gcd_b.txt")
    timed_usage_limited([calc, "mul", "@" + f, "@" + u], out=a)
    timed_usage_limited([calc, "mul", "@" + f, "@" + w], out=b)
    out = path("m_gcd.txt")
    ours = best_of(runs, lambda: timed_usage_limited([calc, "gcd", "@" + a, "@" + b], out=out))
    add("gcd of two 10^6-digit numbers, a 10^5-digit common factor", ours, out,
        {"GMP mpz_gcd": (gmp("mgcd", [a, b], path("g_gcd.txt")), path("g_gcd.txt")),
         "Python math.gcd": (python("gcd", [a, b], path("p_gcd.txt")), path("p_gcd.txt"))})

    # A 10^7-digit number to hexadecimal and back.
    x = make_operand("digits:10000000:35", workdir)
    hexed, out = path("m_hex.txt"), path("m_back.txt")

    def there_and_back():
        first = timed_usage_limited([calc, "base", "@" + x, "16"], out=hexed)
        second = timed_usage_limited([calc, "frombase", "@" + hexed, "16"], out=out)
        return {k: (max if k == "mb" else sum)((first[k], second[k])) for k in first}
    ours = best_of(runs, there_and_back)
    add("a 10^7-digit number to hexadecimal and back", ours, out,
        {"GMP mpz_get_str/mpz_set_str": (gmp("mhex", [x], path("g_hex.txt")), path("g_hex.txt")),
         "Python int, hex()": (python("hex", [x], path("p_hex.txt")), path("p_hex.txt"))})

    # powmod with 10^4-digit a, e and m.
    pa, pe, pm = (make_operand(f"digits:10000:{s}", workdir) for s in (36, 37, 38))
    out = path("m_powmod.txt")
    ours = best_of(runs, lambda: timed_usage_limited([calc, "powmod", "@" + pa, "@" + pe, "@" + pm], out=out))
    add("powmod with 10^4-digit a, e and m", ours, out,
        {"GMP mpz_powm": (gmp("mpowm", [pa, pe, pm], path("g_powm.txt")), path("g_powm.txt")),
         "Python pow(a, e, m)": (python("powmod", [pa, pe, pm], path("p_powm.txt")),
                                 path("p_powm.txt"))})

    # isprime of a 10^4-digit probable prime.
    p = write("m_prime_in.txt", PRIME_10K)
    out = path("m_isprime.txt")
    ours = best_of(runs, lambda: timed_usage_limited([calc, "isprime", "@" + p], out=out))
    add("isprime of a 10^4-digit probable prime (10^9999 + 33603)", ours, out,
        {"GMP mpz_probab_prime_p(n, 25)": (gmp("misprime", [p], path("g_prime.txt")),
                                           path("g_prime.txt"))},
        same=lambda a, b: (a == "probable prime (BPSW)") == (b in ("1", "2")))
    return rows


def timed_usage_limited(cmd, timeout=None, out=None):
    """One run of cmd under /usr/bin/time -v, stdout to the file `out`: wall,
    user and system seconds and peak MB (the command's own: a child forked
    straight from this script would count the script's memory as well).
    subprocess.TimeoutExpired past `timeout` seconds."""
    with open(out or os.devnull, "w") as f:
        t0 = time.perf_counter()
        # A session of its own, so that a timeout ends the command under
        # /usr/bin/time as well (its standard error stays open until then).
        proc = subprocess.Popen(["/usr/bin/time", "-v"] + cmd, stdout=f, stderr=subprocess.PIPE,
                                text=True, start_new_session=True)
        timer = (threading.Timer(timeout, lambda: os.killpg(proc.pid, 9)) if timeout
                 else None)
        if timer:
            timer.start()
        err = proc.stderr.read()
        _, status, usage = os.wait4(proc.pid, 0)
        if timer:
            timer.cancel()
        wall = time.perf_counter() - t0
    if timeout and wall >= timeout:
        raise subprocess.TimeoutExpired(cmd, timeout)
    if os.waitstatus_to_exitcode(status) != 0:
        raise RuntimeError(f"{' '.join(cmd[:3])} failed: {err[-2000:]}")
    rss = re.search(r"Maximum resident set size \(kbytes\): (\d+)", err)
    return dict(wall=wall, user=usage.ru_utime, sys=usage.ru_stime,
                mb=int(rss.group(1)) / 1024.0 if rss else float("nan"))


def math_section(rows):
    lines = [
        MATH_SECTION,
        "",
        "Whole processes, text in and text out (longhand-calc with @FILE operands), "
        "each with its user and system time and its peak memory; the machine is shared, "
        f"so `uptime` at the start: load {_load_average()}. Target: at most {MATH_TARGET} "
        "times the best peer's wall time.",
        "",
        "| Workload | Longhand | Peers | Ratio to the best | Target met |",
        "|---|---|---|---|---|",
    ]
    for r in rows:
        peers = "<br>".join(
            f"{p}: " + (f"{fmt_usage(t)}, {t['mb']:.0f} MB" if t else
                        f"not finished in {PYTHON_MATH_TIMEOUT} s")
            for p, t in r["peers"].items())
        lines.append(f"| {r['name']} | {fmt_usage(r['ours'])}, {r['ours']['mb']:.0f} MB | "
                     f"{peers} | {r['ratio']:.2f} ({r['best']}) | "
                     f"{'yes' if r['met'] else 'no'}{'' if r['agree'] else ', RESULTS DIFFER'} |")
    return "\n".join(lines) + "\n"


def write_math_section(path, rows):
    text = open(path).read() if os.path.exists(path) else ""
    start = text.find(MATH_SECTION)
    if start >= 0:
        end = text.find("\n## ", start + 1)
        text = text[:start] + (text[end + 1:] if end >= 0 else "")
    text = text.rstrip("\n") + "\n\n" + math_section(rows)
    with open(path, "w") as f:
        f.write(text)


if __name__ == "__main__":
    sys.exit(main())
