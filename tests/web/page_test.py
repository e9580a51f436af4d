#!/usr/bin/python3
"""dungeon2lua.html in headless Chromium, opened from its file: the author's files given through
its file inputs (or dropped), its status, messages and saved script against what the native
program gives for the same files, the map page in its frame, and a dump whose texts are markup,
which must stay text everywhere.

Usage: /usr/bin/python3 tests/web/page_test.py --page build-web/dungeon2lua.html \
           --program build/dungeon2lua [--screenshot docs/web_page.png] [unittest arguments]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EXAMPLES = os.path.join(SOURCE, "examples")
CASES = os.path.join(SOURCE, "tests", "cases")
SEPARATOR = b"/" + b"*" * 78 + b"/"

# A dump whose texts are markup and script: in a champion's name, the wall set, a map row, a type, a
# floor text, an identifier and a target; with a byte that is not UTF-8 and Windows line ends.
HOSTILE_DUMP = b"\r\n".join([
    b"[Characters]",
    b"ch-x (<img src=x onerror=document.title='owned'>) (m) face:X_Y_SEVEN, (1,1,1) (0,0,0,0) (1,1,1,1,1,1)",
    b"[Main Data]",
    b"ENTRANCE...(1,1,0,EAST)",
    SEPARATOR,
    b"[Layout]",
    b"WALLSET(</script><script>document.title='owned'</script>)",
    b"LIGHT(50)",
    b"OFFSET(0,0)",
    b"SIZE(3,3)",
    b"111",
    b"1<1",
    b"1\"'\xff1",
    SEPARATOR,
    b"[Items]",
    b"t1 <img/src=x/onerror=document.title='owned'> 1 1 0 NORTH",
    b"note-1 FLOOR_TEXT 1 1 0 CENTER TEXT=(</script><img src=x onerror=\"document.title='owned'\">'\xff\")",
    b"bad\"<b>id FLOOR_TEXT 1 1 0 CENTER",
    b"lever-1 LEVER_WALL 1 1 0 SOUTH TARGET=(</textarea><svg/onload=document.title='owned'>)",
]) + b"\r\n"
HOSTILE_OBJECTS = b"FLOOR_TEXT floortext\nLEVER_WALL lever\n"

arguments = None


def read_or_none(path):
    """The bytes of the file, or None when there is none."""
    if not os.path.exists(path):
        return None
    with open(path, "rb") as f:
        return f.read()


class NativeRun:
    """What the native program gives for a dump and an object name list, run in their folder."""

    def __init__(self, dump, objects, strict=False, options=()):
        folder = tempfile.mkdtemp(prefix="d2l_native_")
        try:
            shutil.copyfile(dump, os.path.join(folder, "my_dungeon.txt"))
            shutil.copyfile(objects, os.path.join(folder, "obj_list.txt"))
            run = subprocess.run([arguments.program] + (["--strict"] if strict else []) + list(options), cwd=folder,
                                 stdin=subprocess.DEVNULL, capture_output=True, check=False)
            self.status = run.returncode
            self.messages = run.stderr.decode("utf-8", errors="replace")
            self.output = run.stdout.decode("utf-8", errors="replace")
            self.script, self.objects_after = (read_or_none(os.path.join(folder, name))
                                               for name in ("LUA_dungeon.lua", "obj_list.txt"))
        finally:
            shutil.rmtree(folder)


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.scratch = tempfile.mkdtemp(prefix="d2l_page_test_")
        cls.downloads = os.path.join(cls.scratch, "downloads")
        os.mkdir(cls.downloads)
        cls.browser = Browser(cls.downloads)

    @classmethod
    def tearDownClass(cls):
        cls.browser.close()
        shutil.rmtree(cls.scratch)

    def setUp(self):
        self.browser.open_page(arguments.page)

    def write(self, name, data):
        path = os.path.join(self.scratch, name)
        with open(path, "wb") as out:
            out.write(data)
        return path

    def expect_page_shows(self, native, strict=False):
        """The page's status, messages and saved script are the native program's."""
        browser = self.browser
        self.assertEqual(browser.by_id("status").get_attribute("data-status"), str(native.status))
        self.assertIn(f"Status {native.status}: ", browser.text_of("status"))
        self.assertEqual(browser.text_of("messages"), native.messages)
        self.assertEqual(browser.by_id("save").is_displayed(), native.status != 1)
        self.assertEqual(browser.saved_script(), native.script)
        self.assertEqual(browser.by_id("strict").is_selected(), strict)

    def enter_map(self):
        """Switches into the map page's frame once its script has drawn it."""
        driver = self.browser.driver
        frame = driver.find_element(By.ID, "map")
        self.assertEqual(frame.get_attribute("sandbox"), "allow-scripts")
        driver.switch_to.frame(frame)
        self.browser.wait_until(lambda: driver.find_element(By.TAG_NAME, "body").get_attribute("data-ready") == "yes",
                                "the map page's script")
        self.assertEqual(self.browser.text_of("script-errors"), "")

    def leave_map(self):
        self.browser.driver.switch_to.default_content()

    def test_the_page_is_one_file_that_loads_nothing(self):
        with open(arguments.page, "rb") as page:
            html = page.read()
        self.assertLess(len(html), 1_500_000)
        self.assertIn(b"data:application/octet-stream;base64,", html)
        self.assertIn(b'<meta http-equiv="Content-Security-Policy"\n      content="default-src \'none\';', html)
        self.assertNotRegex(html, rb"<(script|img|iframe)[^>]* src=|<link|\.wasm[\"']")
        dump = os.path.join(EXAMPLES, "my_dungeon.txt")
        self.browser.give_files(dump, os.path.join(EXAMPLES, "obj_list.txt"))
        self.browser.wait_until(lambda: self.browser.by_id("timing").get_attribute("data-map-ms"), "the map page")
        loaded = self.browser.driver.execute_script(
            "return performance.getEntriesByType('resource').map(function (e) { return e.name; })"
            ".filter(function (name) { return !/^(data|blob):/.test(name); });")
        self.assertEqual(loaded, [])

    def test_sample_converts_as_the_command_line_does_and_its_map_shows_the_dungeon(self):
        dump = os.path.join(EXAMPLES, "my_dungeon.txt")
        objects = os.path.join(EXAMPLES, "obj_list.txt")
        self.browser.give_files(dump, objects)
        self.expect_page_shows(NativeRun(dump, objects))
        self.assertTrue(self.browser.by_id("timing").get_attribute("data-convert-ms"))

        self.enter_map()
        driver = self.browser.driver
        tabs = [tab.text for tab in driver.find_elements(By.CSS_SELECTOR, "#level-tabs button")]
        self.assertEqual(tabs, ["Level 0 (13 objects)", "Level 1 (6 objects)"])
        self.assertEqual(len(driver.execute_script("return boardBoxes().symbols")), 13)
        self.assertIsNotNone(driver.execute_script("return boardBoxes().party"))
        driver.find_element(By.ID, "held-summary").click()
        self.assertIn("key-1", self.browser.text_of("held-list"))
        if arguments.screenshot:
            driver.save_screenshot(arguments.screenshot)
        driver.find_elements(By.CSS_SELECTOR, "#level-tabs button")[1].click()
        self.assertEqual(len(driver.execute_script("return boardBoxes().symbols")), 6)
        self.leave_map()

    def test_status_counts_and_message_lines_lead_to_the_map_and_axe_finds_no_violation(self):
        dump = os.path.join(CASES, "cli_warnings_only", "my_dungeon.txt")
        objects = os.path.join(CASES, "cli_warnings_only", "obj_list.txt")
        self.browser.give_files(dump, objects)
        native = NativeRun(dump, objects)
        warnings = native.messages.count(": warning: ")
        self.assertIn("my_dungeon.txt: 0 errors, %d warning" % warnings, self.browser.text_of("status"))
        self.browser.wait_until(lambda: self.browser.by_id("timing").get_attribute("data-map-ms"), "the map page")
        self.assertEqual(self.browser.axe_violations(), [])
        lines = self.browser.driver.find_elements(By.CSS_SELECTOR, "#messages .message")
        # The closing count is no message of a line: it leads nowhere.
        located = [line for line in native.messages.splitlines() if ": warning: " in line or ": error: " in line]
        self.assertEqual(len(lines), len(located))
        lines[-1].click()
        self.enter_map()
        chosen = self.browser.wait_until(lambda: self.browser.driver.find_elements(By.CSS_SELECTOR, "#problems li.chosen"),
                                         "the chosen problem")
        self.assertEqual(chosen[0].get_attribute("textContent"), located[-1])
        self.assertEqual(self.browser.axe_violations(), [])
        self.leave_map()

    def test_strict_counts_warnings_for_the_status_without_reading_the_files_again(self):
        dump = os.path.join(CASES, "cli_warnings_only", "my_dungeon.txt")
        objects = os.path.join(CASES, "cli_warnings_only", "obj_list.txt")
        self.browser.give_files(dump, objects)
        self.expect_page_shows(NativeRun(dump, objects))
        before = self.browser.conversions()
        self.browser.by_id("strict").click()
        self.browser.wait_until(lambda: self.browser.conversions() > before, "the conversion under --strict")
        self.expect_page_shows(NativeRun(dump, objects, strict=True), strict=True)

    def test_messages_of_many_mistakes_are_the_command_lines_in_order_with_columns_names_and_count(self):
        dump = os.path.join(CASES, "messages_twenty_mistakes", "my_dungeon.txt")
        objects = os.path.join(CASES, "messages_twenty_mistakes", "obj_list.txt")
        self.browser.give_files(dump, objects)
        native = NativeRun(dump, objects)
        self.assertRegex(native.messages, r"^obj_list\.txt:10:1: warning: .* \[-Wlist-twice\]\n")
        self.expect_page_shows(native)

    def test_adding_the_missing_types_saves_the_list_that_update_list_writes_or_says_why_not(self):
        button = self.browser.by_id("complete-list")
        self.assertFalse(button.is_displayed())
        for case, saved in (("list_update_with_comments", True), ("list_update_odd", False),
                            ("messages_twenty_mistakes", True)):
            dump = os.path.join(CASES, case, "my_dungeon.txt")
            objects = os.path.join(CASES, case, "obj_list.txt")
            self.browser.give_files(dump, objects)
            native = NativeRun(dump, objects, options=["--update-list"])
            self.assertEqual(button.accessible_name, "Add the missing types (saves obj_list.txt)")
            downloaded = self.browser.downloaded("obj_list.txt", lambda: button.send_keys(Keys.ENTER)) if saved else None
            if not saved:
                button.click()
            shown = self.browser.wait_until(lambda: self.browser.text_of("complete-list-state"), "the list's note")
            self.assertEqual(shown + "\n", native.output if saved else native.messages, case)
            self.assertEqual(downloaded, native.objects_after if saved else None, case)

    def test_texts_of_a_hostile_dump_stay_text_in_the_page_and_in_the_map(self):
        dump = self.write("hostile.txt", HOSTILE_DUMP)
        objects = self.write("hostile_list.txt", HOSTILE_OBJECTS)
        self.browser.give_files(dump, objects)
        native = NativeRun(dump, objects)
        self.assertEqual(native.status, 2)
        self.expect_page_shows(native)
        self.assertIn("<img/src=x/onerror=document.title='owned'>", self.browser.text_of("messages"))

        driver = self.browser.driver
        # Elements that a text of the dump would make if it were taken as markup, and scripts that
        # would run it (the map's data element holds the texts as JSON, which is not run).
        made_from_text = ("var needle = arguments[1];"
                          "return Array.prototype.filter.call(document.querySelectorAll(arguments[0]), function (e) {"
                          " return e.tagName !== 'SCRIPT' || e.textContent.indexOf(needle) >= 0;"
                          " }).map(function (e) { return e.outerHTML.slice(0, 80); });",
                          "img, textarea, b, [onerror], [onload], script:not([type='application/json'])",
                          "title='owned'")
        self.assertEqual(driver.execute_script(*made_from_text), [])
        self.assertEqual(driver.execute_script("return document.title"), "dungeon2lua")
        self.enter_map()
        self.assertIn("<img/src=x/onerror=document.title='owned'>", self.browser.text_of("problems"))
        self.assertEqual(len(driver.execute_script("return boardBoxes().symbols")), 3)
        self.assertEqual(driver.execute_script(*made_from_text), [])
        # The map's title names the file the user gave; its messages name my_dungeon.txt.
        self.browser.wait_until(lambda: driver.execute_script("return document.title") == "Map of hostile.txt",
                                "the map's title")
        self.leave_map()

    def test_swapped_files_put_their_cause_into_the_status(self):
        dump, objects = os.path.join(EXAMPLES, "my_dungeon.txt"), os.path.join(EXAMPLES, "obj_list.txt")
        # The files given as the dump and as the list, and the cause the status names them by.
        for given_dump, given_list, cause in (
                (objects, dump, "Status 1: nothing converted \u2014 obj_list.txt is not a dungeon dump"),
                (dump, dump, "Status 2: converted with errors \u2014 my_dungeon.txt line 2: error: the object name "
                             "list holds the header")):
            self.browser.give_files(given_dump, given_list)
            self.assertTrue(self.browser.text_of("status").startswith(cause), self.browser.text_of("status"))
            self.assertFalse(self.browser.by_id("timing").is_displayed())

    def test_files_dropped_together_convert_and_a_file_changed_since_is_not_read(self):
        driver = self.browser.driver
        dump = os.path.join(self.scratch, "my_dungeon.txt")
        objects = os.path.join(self.scratch, "obj_list.txt")
        shutil.copyfile(os.path.join(EXAMPLES, "my_dungeon.txt"), dump)
        shutil.copyfile(os.path.join(EXAMPLES, "obj_list.txt"), objects)
        # Files as a drop would carry them, picked through an input of the test's own.
        driver.execute_script("var input = document.createElement('input'); input.type = 'file';"
                              "input.multiple = true; input.id = 'test-files'; document.body.appendChild(input);")
        driver.find_element(By.ID, "test-files").send_keys(objects + "\n" + dump)
        drop = ("var files = document.getElementById('test-files').files; var data = new DataTransfer();"
                "for (var i = 0; i < files.length; ++i) data.items.add(files[i]);"
                "arguments[0].dispatchEvent(new DragEvent('drop', {dataTransfer: data, bubbles: true,"
                " cancelable: true}));")
        before = self.browser.conversions()
        driver.execute_script(drop, driver.find_element(By.TAG_NAME, "header"))
        self.browser.wait_until(lambda: self.browser.conversions() > before, "the conversion of the dropped files")
        self.expect_page_shows(NativeRun(dump, objects))

        # The dump changes on disk after it was picked: the browser refuses to read it.
        with open(dump, "ab") as changed:
            changed.write(b"; changed\n")
        # (A change within the second of the pick could pass unseen: the browser compares times.)
        os.utime(dump, (os.stat(dump).st_atime + 10, os.stat(dump).st_mtime + 10))
        driver.execute_script(drop, self.browser.by_id("dump-drop"))
        self.browser.wait_until(lambda: self.browser.by_id("status").get_attribute("data-status") == "1",
                                "the failed read")
        self.assertTrue(self.browser.text_of("messages").startswith("dungeon2lua: cannot read "))
        self.assertIn("drop or pick", self.browser.text_of("messages-note"))
        self.assertIn("Cannot read", self.browser.text_of("dump-state"))
        self.assertFalse(self.browser.by_id("save").is_displayed())

        # Picked again, it converts.
        before = self.browser.conversions()
        self.browser.by_id("dump-file").send_keys(dump)
        self.browser.wait_until(lambda: self.browser.conversions() > before, "the conversion of the file picked again")
        self.expect_page_shows(NativeRun(dump, objects))


def main():
    global arguments
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--page", required=True, help="dungeon2lua.html")
    parser.add_argument("--program", required=True, help="the native dungeon2lua")
    parser.add_argument("--screenshot", help="a PNG of the page after converting the sample dungeon")
    arguments, rest = parser.parse_known_args()
    arguments.page = os.path.abspath(arguments.page)
    arguments.program = os.path.abspath(arguments.program)
    if arguments.screenshot:
        arguments.screenshot = os.path.abspath(arguments.screenshot)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
