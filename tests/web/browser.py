"""Headless Chromium driven through WebDriver, for the page's test and its benchmark.

Debian's packages: chromium, chromium-driver and python3-selenium (for /usr/bin/python3). The
browser starts with a fresh profile, reaches no network service of its own, and saves downloads
into a folder of the caller's.
"""

import os
import shutil
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

CHROMIUM = "/usr/bin/chromium"
# axe-core's script, pinned under tests/axe (see its README.md).
AXE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "axe", "axe.min.js")
CHROMEDRIVER = "/usr/bin/chromedriver"


class Browser:
    """One headless Chromium, its profile and its download folder, removed again by close()."""

    def __init__(self, downloads, width=1280, height=1400):
        self.profile = tempfile.mkdtemp(prefix="d2l_chromium_")
        self.downloads = downloads
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for argument in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--user-data-dir=" + self.profile, f"--window-size={width},{height}"):
            options.add_argument(argument)
        options.add_experimental_option("prefs", {"download.default_directory": downloads,
                                                  "download.prompt_for_download": False})
        self.driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def by_id(self, element_id):
        return self.driver.find_element(By.ID, element_id)

    def text_of(self, element_id):
        """The element's whole text, hidden or not, as its textContent."""
        return self.by_id(element_id).get_attribute("textContent")

    def wait_until(self, condition, what, seconds=60):
        """Waits until condition() gives a true value and returns it; fails naming what it waited for."""
        deadline = time.monotonic() + seconds
        while True:
            value = condition()
            if value:
                return value
            if time.monotonic() > deadline:
                raise AssertionError(f"waited {seconds} s for {what}")
            time.sleep(0.05)

    def open_page(self, page):
        """Opens the page from its file and waits until its converter is ready."""
        self.driver.get("file://" + page)
        self.wait_until(lambda: self.text_of("status").startswith("Waiting for the dump"), "the converter to start")

    def conversions(self):
        return int(self.by_id("status").get_attribute("data-conversions") or 0)

    def give_files(self, dump, objects):
        """Picks the two files through the page's file inputs and waits for their conversion."""
        before = self.conversions()
        self.by_id("objects-file").send_keys(objects)
        self.by_id("dump-file").send_keys(dump)
        self.wait_until(lambda: self.conversions() > before, "the conversion")

    def downloaded(self, file_name, action):
        """Does the action (a click) and returns the bytes of the file of that name that the browser saved."""
        for name in list(os.listdir(self.downloads)):
            os.remove(os.path.join(self.downloads, name))
        action()
        path = os.path.join(self.downloads, file_name)
        self.wait_until(lambda: os.path.exists(path) and not any(
            name.endswith(".crdownload") for name in os.listdir(self.downloads)), "the saved " + file_name)
        with open(path, "rb") as saved:
            return saved.read()

    def saved_script(self):
        """Clicks the save button and returns the bytes of the file that the browser saved."""
        return self.downloaded("LUA_dungeon.lua", self.by_id("save").click)

    def axe_violations(self):
        """axe-core's violations on the document the driver shows, one text each."""
        with open(AXE, encoding="utf-8") as f:
            self.driver.execute_script(f.read())
        return self.driver.execute_async_script(
            "var done = arguments[arguments.length - 1];"
            "axe.run(document).then(function (r) { done(r.violations.map(function (v) {"
            " return v.id + ': ' + v.nodes.map(function (n) { return n.target.join(' '); }).join(', '); })); },"
            " function (e) { done(['axe failed: ' + e]); });")
