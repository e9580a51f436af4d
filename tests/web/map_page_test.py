#!/usr/bin/python3
"""The map page that --map writes, in headless Chromium driven through WebDriver: finding and
following objects in the view, the keyboard, the problem list, positions as the dump writes them,
a crowded level whose labels and arrows cover no symbol, and axe-core's accessibility rules.

Usage: /usr/bin/python3 tests/web/map_page_test.py --program build/dungeon2lua [unittest arguments]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, HERE)
sys.path.insert(0, os.path.join(SOURCE, "bench"))
from browser import Browser  # noqa: E402
from make_dump import write_dump  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

SEPARATOR = "/" + "*" * 78 + "/"
# Two levels, the second shifted on the common grid and with a map row one square short; a lever
# on level 1 targets a door there.
OFFSET_DUMP = "\n".join([
    "[Main Data]", "ENTRANCE...(1,1,0,EAST)", SEPARATOR, "[Layout]",
    "WALLSET", "LIGHT(5)", "OFFSET(3,0)", "SIZE(4,3)", "1111", "1001", "1111",
    "WALLSET", "LIGHT(5)", "OFFSET(0,2)", "SIZE(5,4)", "11111", "10001", "1001", "11111", SEPARATOR,
    "[Items]", "door-a DOOR 3 1 1", "lever-a LEVER 1 2 1 NORTH TARGET=(door-a)", "plate-1 PLATE 2 1 0 TARGET=(door-a)",
    SEPARATOR]) + "\n"
OFFSET_NAMES = "LEVER lever DOOR door_wood PLATE pressure_plate\n"

arguments = None


def overlap(a, b, slack=0.5):
    return a[0] + slack < b[2] and b[0] + slack < a[2] and a[1] + slack < b[3] and b[1] + slack < a[3]


class MapPageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="d2l_map_test_")
        cls.browser = Browser(os.path.join(cls.scratch, "downloads"), width=1300, height=900)
        cls.driver = cls.browser.driver

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.scratch)

    def page(self, name, dump=None, names=None):
        """Converts the dump (or the one the folder holds) with --map and returns the page's path."""
        folder = os.path.join(self.scratch, name)
        if dump is not None:
            os.makedirs(folder, exist_ok=True)
            for file, text in (("my_dungeon.txt", dump), ("obj_list.txt", names)):
                with open(os.path.join(folder, file), "w") as out:
                    out.write(text)
        subprocess.run([arguments.program, "--map", "map.html"], cwd=folder, stderr=subprocess.DEVNULL, check=False)
        return os.path.join(folder, "map.html")

    def open(self, page, fragment=""):
        self.driver.get("file://" + page + fragment)
        self.driver.refresh()
        self.browser.wait_until(lambda: self.driver.find_element("tag name", "body").get_attribute("data-ready") == "yes",
                                "the page's script")
        self.assertEqual(self.browser.text_of("script-errors"), "")

    def boxes(self):
        """The boxes the board painted, in pixels of the window (see boardBoxes in the page's script)."""
        return self.driver.execute_script("return boardBoxes()")

    def selected_in_view(self):
        """Where the selected square stands in the view, as fractions of its width and height."""
        boxes = self.boxes()
        s, v = boxes["selection"], boxes["view"]
        return [((s[0] + s[2]) / 2 - v[0]) / (v[2] - v[0]), ((s[1] + s[3]) / 2 - v[1]) / (v[3] - v[1])]

    def test_a_found_object_is_centred_and_stays_in_view_while_zooming_and_moving(self):
        self.open(self.page("large", *self.large_dump()))
        find = self.browser.by_id("find")
        find.send_keys("tele-900", Keys.ENTER)
        self.assertEqual(self.driver.execute_script("return location.hash"), "#select=tele-900")
        for fraction in self.selected_in_view():
            self.assertAlmostEqual(fraction, 0.5, delta=0.05)
        board = self.browser.by_id("board-wrap")
        for key in ("+", "+", "-", "+"):
            board.send_keys(key)
            for fraction in self.selected_in_view():
                self.assertAlmostEqual(fraction, 0.5, delta=0.05)
        square = self.browser.text_of("info")
        board.send_keys(Keys.ARROW_RIGHT, Keys.ARROW_DOWN, Keys.ARROW_DOWN)
        moved = self.browser.text_of("info")
        self.assertNotEqual(moved, square)
        column, row = map(int, square.split("column ")[1].split(" (")[0].replace(", row", "").split()[:2])
        self.assertTrue(moved.startswith("level 7, column %d, row %d" % (column + 1, row + 2)), moved)
        for fraction in self.selected_in_view():
            self.assertTrue(0 < fraction < 1)
        # A changed address selects.
        self.driver.execute_script("location.hash = '#select=door-1200'")
        self.browser.wait_until(lambda: self.browser.text_of("info").startswith("door-1200"), "the address's object")

    def large_dump(self):
        folder = os.path.join(self.scratch, "large_source")
        write_dump("levels64", 20000, folder)
        with open(os.path.join(folder, "my_dungeon.txt")) as dump, open(os.path.join(folder, "obj_list.txt")) as names:
            return dump.read(), names.read()

    def test_positions_are_the_dumps_and_a_row_problem_selects_its_row(self):
        self.open(self.page("offset", OFFSET_DUMP, OFFSET_NAMES), "#select=plate-1")
        self.assertIn("level 0, column 2, row 1 (grid 5, 1)", self.browser.text_of("info"))
        self.driver.execute_script("location.hash = '#select=lever-a'")
        self.browser.wait_until(lambda: "level 1, column 1, row 2 (grid 1, 4)" in self.browser.text_of("info"),
                                "lever-a's square")
        problems = self.driver.find_elements("css selector", "#problems li")
        short = [p for p in problems if "map row 3 of level 1" in p.text]
        self.assertEqual(len(short), 1)
        short[0].send_keys(Keys.ENTER)
        self.assertTrue(self.browser.text_of("info").startswith("level 1, column 0, row 2 (grid 0, 4)"))
        self.assertIsNotNone(self.boxes()["problemRow"])
        self.browser.by_id("problem-next").click()
        self.assertIn("chosen", problems[(problems.index(short[0]) + 1) % len(problems)].get_attribute("class"))

    def test_on_a_crowded_level_no_label_or_arrow_covers_a_symbol(self):
        self.open(self.page("large", *self.large_dump()), "#level=3")
        self.browser.by_id("board-wrap").send_keys("+", "+", "+")
        squares = [badge["badge"] for badge in self.boxes()["badges"]]
        self.assertGreater(len(squares), 10)
        for square in squares[:: max(1, len(squares) // 15)]:
            # A click into the square of a corner mark, brought into the middle of the view, selects
            # the square and shows its label.
            self.driver.execute_script(
                "var q = arguments[0], b = boardBoxes(), s = b.badges.filter(function (m) { return m.badge === q; })[0].box;"
                "var w = document.getElementById('board-wrap');"
                "w.scrollLeft += (s[0] + s[2] - b.view[0] - b.view[2]) / 2; w.scrollTop += (s[1] + s[3] - b.view[1] - b.view[3]) / 2;",
                square)
            self.driver.execute_script(
                "var q = arguments[0], b = boardBoxes(), s = b.badges.filter(function (m) { return m.badge === q; })[0].box;"
                "var x = s[2] - b.cell / 2, y = s[1] + b.cell / 2;"
                "document.elementFromPoint(x, y).dispatchEvent(new MouseEvent('click', {bubbles: true, clientX: x, clientY: y}));",
                square)
            boxes = self.boxes()
            self.assertEqual([label["label"] for label in boxes["labels"]][:1], [square])
            self.assertEqual(len(boxes["symbols"]), 2000)
            for label in boxes["labels"]:
                covered = [s["object"] for s in boxes["symbols"] if overlap(label["box"], s["box"])]
                self.assertEqual(covered, [], "the label of square %s" % square)
        self.assertGreater(len(boxes["heads"]), 300)
        for head in boxes["heads"]:
            covered = [s["object"] for s in boxes["symbols"] if s["object"] != head["to"] and overlap(head["box"], s["box"])]
            self.assertEqual(covered, [], "an arrow to %s" % head["to"])

    def test_each_kind_has_its_own_symbol_and_switch_and_enter_and_escape_work_on_the_board(self):
        source = os.path.join(os.path.dirname(HERE), "..", "examples")
        folder = os.path.join(self.scratch, "kinds")
        shutil.copytree(source, folder, dirs_exist_ok=True)
        page = self.page("kinds")
        with open(page, encoding="utf-8") as f:
            html = f.read()
        # The kinds as the converter names them once its vocabulary tells these apart, and one the
        # page does not know.
        html = html.replace('"kinds":["door"', '"kinds":["torch","floor text","flask","bomb","portal","door"', 1)
        with open(page, "w", encoding="utf-8") as f:
            f.write(html)
        self.open(page, "#level=0")
        glyphs = dict(self.driver.execute_script(
            "return Array.prototype.map.call(document.querySelectorAll('#legend .row[data-kind]'), function (r) {"
            " return [r.getAttribute('data-kind'), r.querySelector('text').textContent]; });"))
        self.assertEqual(list(glyphs)[:6], ["torch", "floor text", "flask", "bomb", "portal", "door"])
        known = [glyph for kind, glyph in glyphs.items() if kind != "portal"]
        self.assertEqual(len(set(known)), len(known), glyphs)
        self.assertEqual(glyphs["portal"], "?")
        def doors():
            return [s for s in self.boxes()["symbols"] if s["kind"] == "door"]
        self.assertEqual(len(doors()), 1)
        self.driver.find_element("css selector", "#legend .row[data-kind='door'] input").click()
        self.assertEqual(doors(), [])
        # The first arrow key selects the party's square; three squares east of it stand a door, its
        # frame and its button: Enter selects the first, again the next; Escape clears.
        board = self.browser.by_id("board-wrap")
        board.send_keys(Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ARROW_RIGHT, Keys.ENTER)
        first = self.browser.text_of("info").split("dump type")[0]
        board.send_keys(Keys.ENTER)
        self.assertNotEqual(self.browser.text_of("info").split("dump type")[0], first)
        board.send_keys(Keys.ESCAPE)
        self.assertEqual(self.browser.text_of("info"), "Hover over or select a symbol or a square.")
        self.assertEqual(self.driver.execute_script("return location.hash"), "#level=0")

    def test_two_pointers_pinch_the_board_around_their_middle(self):
        folder = os.path.join(self.scratch, "pinch")
        shutil.copytree(os.path.join(os.path.dirname(HERE), "..", "examples"), folder, dirs_exist_ok=True)
        self.open(self.page("pinch"), "#select=lever-1")
        before = self.boxes()
        # Two fingers on either side of the selected square come together to half their distance.
        s = before["selection"]
        x, y = (s[0] + s[2]) / 2, (s[1] + s[3]) / 2
        self.driver.execute_script(
            "var w = document.getElementById('board-wrap'), x = arguments[0], y = arguments[1];"
            "function touch(type, id, dx) { w.dispatchEvent(new PointerEvent(type, {pointerId: id, pointerType: 'touch',"
            " clientX: x + dx, clientY: y, bubbles: true})); }"
            "touch('pointerdown', 1, -40); touch('pointerdown', 2, 40); touch('pointermove', 1, -20);"
            "touch('pointermove', 2, 20); touch('pointerup', 1, -20); touch('pointerup', 2, 20);", x, y)
        after = self.boxes()
        self.assertAlmostEqual(after["cell"], before["cell"] / 2, delta=0.01)
        s = after["selection"]
        self.assertAlmostEqual((s[0] + s[2]) / 2, x, delta=2)
        self.assertAlmostEqual((s[1] + s[3]) / 2, y, delta=2)

    def test_axe_core_finds_no_violation_with_an_object_selected(self):
        source = os.path.join(os.path.dirname(HERE), "..", "examples")
        folder = os.path.join(self.scratch, "sample")
        shutil.copytree(source, folder, dirs_exist_ok=True)
        self.open(self.page("sample"), "#select=lever-1")
        self.browser.by_id("table-section").click()
        self.assertEqual(self.browser.axe_violations(), [])


def main():
    global arguments
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the native dungeon2lua")
    arguments, rest = parser.parse_known_args()
    arguments.program = os.path.abspath(arguments.program)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
