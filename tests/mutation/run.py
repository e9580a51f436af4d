#!/usr/bin/env python3
"""Mutation run: breaks the source one small change at a time and tells which changes the tests catch.

Each mutant of the list file changes one text of one source file. For each, the runner writes the
change into the tree, rebuilds the build folder incrementally, runs the unit tests and the
end-to-end cases (no browser), and puts the file back as it was, whatever happens (an error, a
timeout, Ctrl-C). A mutant is killed when a test fails or the run times out, survives when every
test passes, and is not counted when it does not build.

    tests/mutation/run.py --build /tmp/b/mine                 # every mutant of tests/mutation/mutants.txt
    tests/mutation/run.py --build /tmp/b/mine --sample 20     # twenty, spread over the list
    tests/mutation/run.py --build /tmp/b/mine --match spool   # those whose name holds "spool"

The list file holds blocks of three lines, a name in brackets first:

    [word checks: only the first TEXT=( value is free]
    file = src/translators/behaviour/word_checks.cpp
    from = known->text == "TEXT=(" && words.text.begin == std::string::npos
    to = known->text == "TEXT=("

"from" must stand exactly once in the file; "\\n" in from and to stands for a line end.
"""

import argparse
import os
import re
import signal
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
# The unit tests and the cases; the browser suites and the Lua suites take longest and check the
# page and the engine rather than the converter's decisions.
DEFAULT_FILTER = "-*InBrowser.*:*InLua.*:StandInEngine*"


class Mutant:
    def __init__(self, name, file, original, mutated, line):
        self.name, self.file, self.original, self.mutated, self.line = name, file, original, mutated, line


def unescape(text):
    return text.replace("\\n", "\n")


def read_mutants(path):
    """The mutants of the list file, in its order."""
    mutants, current, number = [], None, 0
    for number, raw in enumerate(Path(path).read_text(encoding="utf-8").splitlines(), 1):
        line = raw.rstrip("\n")
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        if line.startswith("["):
            current = {"name": line.strip()[1:-1], "line": number}
            mutants.append(current)
            continue
        key, sep, value = line.partition("=")
        if current is None or not sep or key.strip() not in ("file", "from", "to"):
            sys.exit(f"{path}:{number}: expected [name], file = ..., from = ... or to = ...")
        current[key.strip()] = value.strip()
    result = []
    for m in mutants:
        if not all(k in m for k in ("file", "from", "to")):
            sys.exit(f"{path}:{m['line']}: the mutant \"{m['name']}\" needs file, from and to")
        result.append(Mutant(m["name"], m["file"], unescape(m["from"]), unescape(m["to"]), m["line"]))
    return result


def build(folder, log):
    """True when the build folder builds."""
    run = subprocess.run(["cmake", "--build", str(folder), "-j2", "--target", "unit_tests"],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    log.write(run.stdout)
    return run.returncode == 0


def tests_pass(folder, test_filter, timeout, log):
    """True when every test of the filter passes within the time; false on a failure or a timeout."""
    command = [str(Path(folder) / "tests" / "unit_tests"), f"--gtest_filter={test_filter}", "--gtest_brief=1"]
    process = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                               start_new_session=True)
    try:
        output, _ = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        output, _ = process.communicate()
        log.write(output + f"\n(timed out after {timeout} s)\n")
        return False
    except BaseException:
        os.killpg(process.pid, signal.SIGKILL)
        raise
    log.write(output)
    return process.returncode == 0


class Applied:
    """Writes a mutant into its file and puts the original back when the block ends, however it ends."""

    def __init__(self, mutant):
        self.path = ROOT / mutant.file
        self.mutant = mutant

    def __enter__(self):
        self.saved = self.path.read_bytes()
        text = self.saved.decode("utf-8")
        count = text.count(self.mutant.original)
        if count != 1:
            raise LookupError(f"the text stands {count} times in {self.mutant.file}")
        self.path.write_bytes(text.replace(self.mutant.original, self.mutant.mutated).encode("utf-8"))
        return self

    def __exit__(self, *exc):
        self.path.write_bytes(self.saved)
        return False


def chosen(mutants, args):
    if args.match:
        mutants = [m for m in mutants if re.search(args.match, m.name)]
    if args.sample and args.sample < len(mutants):
        step = len(mutants) / args.sample
        mutants = [mutants[int(i * step)] for i in range(args.sample)]
    return mutants


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", required=True, help="a configured build folder of this tree")
    parser.add_argument("--list", default=str(ROOT / "tests" / "mutation" / "mutants.txt"))
    parser.add_argument("--filter", default=DEFAULT_FILTER, help="the tests to run (a gtest filter)")
    parser.add_argument("--sample", type=int, help="run only this many mutants, spread over the list")
    parser.add_argument("--match", help="run only the mutants whose name matches this expression")
    parser.add_argument("--timeout", type=int, default=300, help="seconds before a test run counts as killed")
    parser.add_argument("--log", default="mutation.log", help="the builds' and tests' output")
    parser.add_argument("--dry-run", action="store_true", help="only check that each text stands once in its file")
    args = parser.parse_args()
    # Ctrl-C and a kill end the run through the restoring block, also when started in the background.
    def interrupted(*_):
        raise KeyboardInterrupt
    signal.signal(signal.SIGINT, interrupted)
    signal.signal(signal.SIGTERM, interrupted)

    mutants = chosen(read_mutants(args.list), args)
    if args.dry_run:
        missing = [m for m in mutants if (ROOT / m.file).read_text(encoding="utf-8").count(m.original) != 1]
        for m in missing:
            print(f"not found once: {m.name} ({args.list}:{m.line})")
        print(f"{len(mutants) - len(missing)} of {len(mutants)} mutants apply")
        return 1 if missing else 0
    results = {"killed": [], "survived": [], "not built": [], "not found": []}
    with open(args.log, "w", encoding="utf-8") as log:
        print("building and testing the tree as it is ...", flush=True)
        if not build(args.build, log) or not tests_pass(args.build, args.filter, args.timeout, log):
            sys.exit(f"the tree as it is does not build or pass its tests; see {args.log}")
        start = time.monotonic()
        try:
            for number, mutant in enumerate(mutants, 1):
                began = time.monotonic()
                log.write(f"\n===== {mutant.name} ({mutant.file})\n")
                try:
                    with Applied(mutant):
                        if not build(args.build, log):
                            outcome = "not built"
                        elif tests_pass(args.build, args.filter, args.timeout, log):
                            outcome = "survived"
                        else:
                            outcome = "killed"
                except LookupError as error:
                    outcome = "not found"
                    log.write(f"{error}\n")
                results[outcome].append(mutant)
                print(f"[{number}/{len(mutants)}] {outcome:9} {time.monotonic() - began:5.0f} s  {mutant.name}",
                      flush=True)
        finally:
            # The build folder is left built from the tree as it is.
            build(args.build, log)
        elapsed = time.monotonic() - start

    counted = len(results["killed"]) + len(results["survived"])
    for outcome in ("survived", "not built", "not found"):
        for mutant in results[outcome]:
            print(f"{outcome}: {mutant.name} ({args.list}:{mutant.line})")
    rate = 100.0 * len(results["killed"]) / counted if counted else 0.0
    print(f"{len(results['killed'])} of {counted} mutants killed ({rate:.0f}%); "
          f"{len(results['not built'])} did not build, {len(results['not found'])} not found; {elapsed / 60:.0f} min")
    return 0 if not results["not found"] else 1


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        sys.exit("interrupted; every source file is as it was")
