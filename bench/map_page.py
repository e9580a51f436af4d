#!/usr/bin/python3
"""Times the map page of a large dungeon in headless Chromium, driven through WebDriver.

Writes the "levels64" dump of make_dump.py (ten levels of 64 by 64 squares, 20,000 objects in
rooms whose links mostly reach nearby squares), converts it with --map, opens the page and times,
each from the action to the next painted frame: switching to each level by its tab, one zoom step
in and out with the zoom buttons, and selecting objects by a click on their symbols (where the
page's boardBoxes() says it painted them in the view, or on their elements in a page that draws
its board as SVG). With
--page-files FOLDER the same page is also timed with the style, body and script of that folder
(page.css, page.html and page.js of another revision, say), in the same browser session, so that
the figures before and after a change of the page are measured together.

Usage: /usr/bin/python3 bench/map_page.py [--converter build/dungeon2lua] [--objects 20000]
           [--page-files FOLDER] [--work FOLDER]
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "tests", "web"))
from browser import Browser  # noqa: E402
from make_dump import write_dump  # noqa: E402

# Runs ACTION (a statement of script) and gives the milliseconds until the frame after it was painted.
TIMED = """var done = arguments[arguments.length - 1];
var started = performance.now();
%s
requestAnimationFrame(function () { setTimeout(function () { done(performance.now() - started); }, 0); });"""


def with_page_files(page, folder):
    """The page's text with the style sheet, body and script of the folder in place of its own."""
    def read(name):
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            return f.read()
    style_start = page.index("<style>\n") + len("<style>\n")
    style_end = page.index("</style>")
    body_start = page.index("<body>\n") + len("<body>\n")
    data_start = page.index('<script type="application/json" id="dungeon-data">')
    script_start = page.rindex("<script>\n") + len("<script>\n")
    script_end = page.rindex("</script>")
    return (page[:style_start] + read("page.css") + page[style_end:body_start] + read("page.html") +
            page[data_start:script_start] + read("page.js") + page[script_end:])


def figures(times):
    return "%.0f / %.0f / %.0f" % (min(times), statistics.median(times), max(times))


def measure(browser, page):
    driver = browser.driver
    driver.get("file://" + page)
    browser.wait_until(lambda: driver.find_element("tag name", "body").get_attribute("data-ready") == "yes",
                       "the page's script", seconds=300)
    errors = browser.text_of("script-errors")
    if errors:
        sys.exit("script error: " + errors)
    timed = lambda action, *args: driver.execute_async_script(TIMED % action, *args)
    tabs = len(driver.find_elements("css selector", "#level-tabs button"))
    switches = [timed("document.querySelectorAll('#level-tabs button')[arguments[0]].click();", (k + 1) % tabs)
                for k in range(tabs)]
    zooms = []
    for _ in range(3):
        zooms.append(timed("document.getElementById('zoom-in').click();"))
        zooms.append(timed("document.getElementById('zoom-out').click();"))
    if driver.execute_script("return typeof window.boardBoxes === 'function'"):
        # A page that paints its board: a click where it painted a symbol in the view.
        points = driver.execute_script(
            "var b = window.boardBoxes(), v = b.view; return b.symbols.filter(function (s) {"
            " return s.box[0] >= v[0] && s.box[1] >= v[1] && s.box[2] <= v[2] && s.box[3] <= v[3]; })"
            ".map(function (s) { return [(s.box[0] + s.box[2]) / 2, (s.box[1] + s.box[3]) / 2]; });")
        selects = [timed("var p = arguments[0];"
                         "document.elementFromPoint(p[0], p[1]).dispatchEvent(new MouseEvent('click', {bubbles: true,"
                         " clientX: p[0], clientY: p[1]}));", points[k * len(points) // 20]) for k in range(20)]
    else:
        count = len(driver.find_elements("css selector", "#overlay g.sym"))
        selects = [timed("var s = document.querySelectorAll('#overlay g.sym')[arguments[0]];"
                         "var b = s.getBoundingClientRect();"
                         "s.dispatchEvent(new MouseEvent('click', {bubbles: true, clientX: b.left + b.width / 2,"
                         " clientY: b.top + b.height / 2}));", k * count // 20) for k in range(20)]
    return [("switch level (%d times)" % len(switches), switches), ("zoom one step (%d times)" % len(zooms), zooms),
            ("select an object (%d times)" % len(selects), selects)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--converter", default=os.path.join(os.path.dirname(HERE), "build", "dungeon2lua"))
    parser.add_argument("--work", default="/tmp/d2l-map-bench")
    parser.add_argument("--objects", type=int, default=20000)
    parser.add_argument("--page-files", help="a folder with page.css, page.html and page.js to time as well")
    args = parser.parse_args()

    shutil.rmtree(args.work, ignore_errors=True)
    write_dump("levels64", args.objects, args.work)
    status = subprocess.run([os.path.abspath(args.converter), "--map", "map.html"], cwd=args.work,
                            stderr=subprocess.DEVNULL).returncode
    if status not in (0, 2):
        sys.exit("the converter failed with status %d" % status)
    pages = [("this page", os.path.join(args.work, "map.html"))]
    if args.page_files:
        with open(pages[0][1], encoding="utf-8") as f:
            other = with_page_files(f.read(), args.page_files)
        pages.insert(0, ("page of " + args.page_files, os.path.join(args.work, "other.html")))
        with open(pages[0][1], "w", encoding="utf-8") as f:
            f.write(other)
    browser = Browser(os.path.join(args.work, "downloads"), width=1400, height=1000)
    try:
        print("page of %d bytes, %d objects; ms from the action to the next painted frame, least / median / most"
              % (os.path.getsize(pages[-1][1]), args.objects))
        print("| step | " + " | ".join(name for name, _ in pages) + " |")
        print("|---" * (len(pages) + 1) + "|")
        results = [measure(browser, page) for _, page in pages]
        for row in range(len(results[0])):
            print("| %s | %s |" % (results[0][row][0], " | ".join(figures(r[row][1]) for r in results)))
    finally:
        browser.close()


if __name__ == "__main__":
    main()
