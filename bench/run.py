#!/usr/bin/env python3
"""Benchmark of the converter against the cost of copying its files.

For every size of the realistic dump (and for the shapes that stress one link), writes the dump
with make_dump.py, runs the converter in its folder, and in the same run times copying the dump
and the script it wrote (the floor). Prints per dump: converter time, floor time, their ratio,
the time per item line, peak memory against the dump's size, and whether luac5.1 -p accepts the
script. Checksums of the scripts can be saved and compared, to show that a change of the
converter keeps every script byte for byte.

Usage: bench/run.py [--converter PATH] [--work FOLDER] [--sizes 10000,100000,1000000]
                    [--shape-lines N] [--shapes a,b] [--save FILE] [--compare FILE]
"""

import argparse
import hashlib
import json
import os
import shutil
import signal
import subprocess
import threading
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))

ROOT = os.path.dirname(HERE)


def run_in(folder, command, timeout, measure_memory=False, messages_file="messages.txt"):
    """Runs the command in the folder, its messages kept in a file; returns (seconds, processor
    seconds, peak resident bytes or None, exit status), seconds None when it ran out of time.
    Processor seconds (user and system) show the work done when other programs share the machine.

    The peak memory is what /usr/bin/time reports: the peak that the kernel gives this script
    for a child of its own would also count this script's memory, which the child shares until
    it starts the command. The wrapper costs time, so a timed run goes without it."""
    usage = os.path.join(folder, "usage.txt")
    wrapper = ["/usr/bin/time", "-o", usage, "-f", "%M"] if measure_memory else []
    with open(os.path.join(folder, messages_file), "wb") as messages:
        start = time.perf_counter()
        process = subprocess.Popen(wrapper + command, cwd=folder, stdout=subprocess.DEVNULL, stderr=messages,
                                   start_new_session=True)
        timer = threading.Timer(timeout, os.killpg, (process.pid, signal.SIGKILL))
        timer.start()
        _, wait_status, resources = os.wait4(process.pid, 0)
        seconds = time.perf_counter() - start
        timer.cancel()
        process.returncode = status = os.waitstatus_to_exitcode(wait_status)
        if status == -signal.SIGKILL:
            return None, None, None, "timeout"
    cpu = resources.ru_utime + resources.ru_stime
    peak = None
    if measure_memory:
        with open(usage) as f:
            peak = int(f.read().split()[-1]) * 1024
    return seconds, cpu, peak, status


def floor_seconds(folder, repeat):
    """The best time of copying the dump and the script with cp: a process that does nothing but
    read and write the bytes, timed like the converter."""
    target = os.path.join(folder, "copies")
    os.makedirs(target, exist_ok=True)
    best = None
    for _ in range(repeat):
        seconds, cpu, _, _ = run_in(folder, ["cp", "my_dungeon.txt", "LUA_dungeon.lua", target], 600,
                                    messages_file="copy-messages.txt")
        best = (seconds, cpu) if best is None else (min(best[0], seconds), min(best[1], cpu))
    shutil.rmtree(target)
    return best


def sha256_of(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def luac_accepts(path):
    luac = shutil.which("luac5.1")
    if not luac:
        return "no luac5.1"
    result = subprocess.run([luac, "-p", path], capture_output=True, text=True)
    return "yes" if result.returncode == 0 else "NO: " + result.stderr.strip().splitlines()[-1][-60:]


def measure(converter, work, shape, lines, repeat, timeout):
    folder = os.path.join(work, "%s-%d" % (shape, lines))
    dump = os.path.join(folder, "my_dungeon.txt")
    if not os.path.exists(os.path.join(folder, "complete")):
        subprocess.run([sys.executable, os.path.join(HERE, "make_dump.py"), shape, str(lines), folder], check=True)
        open(os.path.join(folder, "complete"), "w").close()
    best = None
    for _ in range(repeat):
        seconds, cpu, _, status = run_in(folder, [converter], timeout)
        if seconds is None:
            return {"shape": shape, "lines": lines, "dump": os.path.getsize(dump), "seconds": None, "status": status}
        best = (seconds, cpu) if best is None else (min(best[0], seconds), min(best[1], cpu))
    _, _, peak, status = run_in(folder, [converter], timeout, measure_memory=True)
    script = os.path.join(folder, "LUA_dungeon.lua")
    row = {"shape": shape, "lines": lines, "dump": os.path.getsize(dump), "seconds": best[0], "cpu": best[1],
           "peak": peak, "status": status}
    row["script"] = os.path.getsize(script)
    row["floor"], row["floor_cpu"] = floor_seconds(folder, repeat)
    row["luac"] = luac_accepts(script)
    row["sha256"] = sha256_of(script)
    return row


def print_row(row):
    name = "%s %s" % (row["shape"], format(row["lines"], ","))
    if row["seconds"] is None:
        print("%-26s %7.1f MB  more than the time limit (status %s)" % (name, row["dump"] / 1e6, row["status"]))
        return
    print("%-26s %7.1f MB %8.3f s %8.4f s %6.1fx %7.2f us %7.3f s %7.3f s %6.1fx %7.2f us %7.0f MB %5.1fx  %-3s %s" % (
        name, row["dump"] / 1e6, row["seconds"], row["floor"], row["seconds"] / row["floor"],
        row["seconds"] / row["lines"] * 1e6, row["cpu"], row["floor_cpu"], row["cpu"] / max(row["floor_cpu"], 1e-3),
        row["cpu"] / row["lines"] * 1e6, row["peak"] / 1e6, row["peak"] / row["dump"], row["status"], row["luac"]))
    sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--converter", default=os.path.join(ROOT, "build-release", "dungeon2lua"))
    parser.add_argument("--work", default=os.path.join(ROOT, "build-release", "bench"))
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--shapes", default="wide_holder,nested_holders,door_buttons,shared_held")
    parser.add_argument("--shape-lines", type=int, default=1000000)
    parser.add_argument("--repeat", type=int, default=5, help="runs per dump, the converter's and the copy's (best counts)")
    parser.add_argument("--timeout", type=float, default=600)
    parser.add_argument("--save", help="write the scripts' checksums to this file")
    parser.add_argument("--compare", help="compare the scripts' checksums with this file")
    args = parser.parse_args()

    converter = os.path.abspath(args.converter)
    os.makedirs(args.work, exist_ok=True)
    print("%-26s %10s %10s %10s %7s %10s %9s %9s %7s %10s %10s %6s  %-3s %s" % (
        "dump (item lines)", "size", "converter", "copying", "ratio", "per line", "cpu conv", "cpu copy", "ratio",
        "per line", "peak mem", "/dump", "st", "luac -p"))
    runs = [("realistic", int(size)) for size in args.sizes.split(",") if size]
    runs += [(shape, args.shape_lines) for shape in args.shapes.split(",") if shape]
    rows = []
    for shape, lines in runs:
        row = measure(converter, args.work, shape, lines, args.repeat, args.timeout)
        print_row(row)
        rows.append(row)

    realistic = {row["lines"]: row for row in rows if row["shape"] == "realistic" and row["seconds"]}
    if 10000 in realistic and 1000000 in realistic:
        small, large = realistic[10000], realistic[1000000]
        growth = (large["seconds"] / large["lines"]) / (small["seconds"] / small["lines"])
        cpu_growth = (large["cpu"] / large["lines"]) / (small["cpu"] / small["lines"])
        print("\ngoals at 1,000,000 lines: ratio %.1fx wall, %.1fx processor (at most 10x); time per line grew "
              "%.2fx wall, %.2fx processor from 10,000 (at most 1.3x); peak memory %.1fx the dump (at most 3x)" % (
                  large["seconds"] / large["floor"], large["cpu"] / max(large["floor_cpu"], 1e-3), growth,
                  cpu_growth, large["peak"] / large["dump"]))
    for row in rows:
        if row["shape"] != "realistic" and row["seconds"] and row["lines"] in realistic:
            base = realistic[row["lines"]]
            print("%s: %.2fx wall, %.2fx processor time per line of the realistic dump of as many lines" % (
                row["shape"], (row["seconds"] / row["lines"]) / (base["seconds"] / base["lines"]),
                (row["cpu"] / row["lines"]) / (base["cpu"] / base["lines"])))

    sums = {"%s-%d" % (row["shape"], row["lines"]): row.get("sha256") for row in rows}
    if args.save:
        with open(args.save, "w") as out:
            json.dump(sums, out, indent=1, sort_keys=True)
    if args.compare:
        with open(args.compare) as f:
            before = json.load(f)
        print()
        for key, value in sums.items():
            if key not in before:
                print("%-28s no checksum to compare" % key)
            else:
                print("%-28s %s" % (key, "same bytes" if before[key] == value else "DIFFERENT"))
    failed = [row for row in rows if row["seconds"] is None or row.get("luac") != "yes"]
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
