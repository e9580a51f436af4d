#!/usr/bin/python3
"""Times dungeon2lua.html in headless Chromium on the sample dungeon and on realistic dumps.

For each dump: its two files are given through the page's file inputs, then the conversion runs
again a few times (by switching --strict, which converts the bytes already read). The times are
the page's own, measured with performance.now(): the conversion (WebAssembly, the script and the
map page), the conversion until the page showed its results, and the map page's drawing in its
frame after that. Beside them, the native program's wall time with --map on the same files.
Not a test: a figure for the README.

Usage: /usr/bin/python3 bench/web_page.py --page build-web/dungeon2lua.html
           [--program build-release/dungeon2lua] [--lines 100000] [--runs 3]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "web"))
from browser import Browser  # noqa: E402
from make_dump import write_dump  # noqa: E402


def page_times(browser):
    """The times of the last conversion, in milliseconds, once its map page is drawn."""
    timing = browser.by_id("timing")
    browser.wait_until(lambda: timing.get_attribute("data-map-ms"), "the map page", seconds=600)
    return [float(timing.get_attribute(name)) for name in ("data-convert-ms", "data-shown-ms", "data-map-ms")]


def native_seconds(program, folder):
    started = time.monotonic()
    subprocess.run([program, "--map", "map.html"], cwd=folder, stdin=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)
    return time.monotonic() - started


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--page", required=True)
    parser.add_argument("--program", help="a native dungeon2lua to time beside the page")
    parser.add_argument("--lines", default="100000", help="item lines of the realistic dumps, comma-separated")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="d2l_web_bench_")
    dumps = [("sample", os.path.join(os.path.dirname(HERE), "examples"))]
    for lines in args.lines.split(","):
        folder = os.path.join(work, "realistic_" + lines)
        write_dump("realistic", int(lines), folder)
        dumps.append((f"realistic {int(lines):,}", folder))

    browser = Browser(os.path.join(work, "downloads"))
    try:
        print("| dump | size | first conversion (shown, map drawn) ms | later conversions ms | native --map s |")
        print("|---|---|---|---|---|")
        for name, folder in dumps:
            dump = os.path.join(folder, "my_dungeon.txt")
            browser.open_page(os.path.abspath(args.page))
            browser.give_files(dump, os.path.join(folder, "obj_list.txt"))
            first = page_times(browser)
            later = []
            for _ in range(args.runs - 1):
                before = browser.conversions()
                browser.by_id("strict").click()
                browser.wait_until(lambda: browser.conversions() > before, "the conversion", seconds=600)
                later.append(page_times(browser)[0])
            native = ""
            if args.program:
                copy = os.path.join(work, "native")
                shutil.rmtree(copy, ignore_errors=True)
                shutil.copytree(folder, copy)
                native = f"{native_seconds(os.path.abspath(args.program), copy):.2f}"
            size = os.path.getsize(dump)
            print(f"| {name} | {size / 1e6:.2f} MB | {first[0]:.0f} ({first[1]:.0f}, +{first[2]:.0f}) | "
                  f"{', '.join(f'{ms:.0f}' for ms in later)} | {native} |")
    finally:
        browser.close()
        shutil.rmtree(work, ignore_errors=True)
    print(f"page: {os.path.getsize(args.page):,} bytes")


if __name__ == "__main__":
    main()
