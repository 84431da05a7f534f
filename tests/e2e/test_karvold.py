#!/usr/bin/python3
"""End-to-end tests of karvold.exe: the real program under Wine on a private Xvfb,
driven through the mouse, the keyboard and the X clipboard.

    test_karvold.py --exe karvold.exe --work DIR [unittest arguments, e.g. Keyboard]
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import unittest

sys.dont_write_bytecode = True  # the tests run from the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from karvold_harness import (ABOUT_TITLE, KEY_CAPTIONS, WINDOW_HEIGHT,  # noqa: E402
                             WINDOW_WIDTH, Session, key_centre, wait_for)

session = None
options = None


def setUpModule():
    global session
    session = Session(options.exe, options.work)


def tearDownModule():
    if session:
        session.close()


def make_help_file(folder, title):
    """Compiles a one-page help file whose window title names it."""
    source = os.path.join(options.work, "help-source", re.sub(r"\W", "_", title))
    os.makedirs(source, exist_ok=True)
    with open(os.path.join(source, "index.html"), "w") as f:
        f.write(f"<html><head><title>{title}</title></head><body><p>{title}</p></body></html>\n")
    with open(os.path.join(source, "toc.hhc"), "w") as f:
        f.write('<html><body><ul><li><object type="text/sitemap">'
                f'<param name="Name" value="{title}"><param name="Local" value="index.html">'
                "</object></ul></body></html>\n")
    with open(os.path.join(source, "Karvold.hhp"), "w") as f:
        f.write("[OPTIONS]\nCompiled file=Karvold.chm\nContents file=toc.hhc\n"
                f"Default topic=index.html\nTitle={title}\n\n[FILES]\nindex.html\n")
    subprocess.run(["chmcmd", "Karvold.hhp"], cwd=source, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.path.join(source, "Karvold.chm"), os.path.join(folder, "Karvold.chm"))


class CalculatorCase(unittest.TestCase):
    def assertCopy(self, run, expected, copy=None, message=""):
        self.assertEqual(run.copy_display(copy), expected, message)


class KeypadClicks(CalculatorCase):
    """Clicks on the on-screen keys, one program run for the class."""

    @classmethod
    def setUpClass(cls):
        cls.run_ = session.start()

    @classmethod
    def tearDownClass(cls):
        cls.run_.stop()

    def test_window_is_top_right_and_300_by_450(self):
        x, y, width, height = session.x.geometry(self.run_.window)
        self.assertEqual((width, height), (WINDOW_WIDTH, WINDOW_HEIGHT))
        self.assertEqual((x, y), (session.server.width - WINDOW_WIDTH, 0))
        session.x.save_screenshot(os.path.join(options.work, "karvold-screenshot.png"),
                                  x, y, WINDOW_WIDTH, WINDOW_HEIGHT)

    def test_clicked_keys_compute(self):
        # Every key but OFF, copy and paste (used on their own) appears in some row; at 10 %
        # by today's date, as there is no installation.
        rows = [
            ("7 8 9 ÷ 3 × 2 - 4 5 6 + 1 0 ･ 5 =", "80.5"),
            ("2 0 0 + 5 % +- M+ M+ 3 M- MR", "-423"),
            ("1 2 + 5 C 3 = 4 × 5 = GT", "35"),
            ("6 M+ MC 2 M+ MR", "2"),
            ("5 + 3 AC 1 1 0 0 税抜 税込", "1100"),
        ]
        for keys, expected in rows:
            with self.subTest(keys=keys):
                self.run_.click_keys(["AC"] + keys.split())
                self.assertCopy(self.run_, expected,
                                lambda: self.run_.click_keys(["複写"]))

    def test_paste_key_reads_the_clipboard(self):
        self.run_.click_keys(["AC"])
        self.assertTrue(self.run_.paste("-7", lambda: self.run_.click_keys(["貼付"])))
        self.run_.click_keys(["+", "1", "="])
        self.assertCopy(self.run_, "-6", lambda: self.run_.click_keys(["複写"]))

class Keyboard(CalculatorCase):
    """Typed characters and special keys, one program run for the class."""

    @classmethod
    def setUpClass(cls):
        cls.run_ = session.start()

    @classmethod
    def tearDownClass(cls):
        cls.run_.stop()

    def test_typed_calculation(self):
        self.run_.type("a12*3=")
        self.assertCopy(self.run_, "36")

    def test_special_keys(self):
        rows = [
            ("Enter acts as =", "6*7", ["Return"], "", "42"),
            ("Delete is all clear", "5+3", ["Delete"], "2=", "2"),
        ]
        for name, before, keys, after, expected in rows:
            with self.subTest(name):
                self.run_.type("a" + before)
                self.run_.key(*keys)
                self.run_.type(after)
                self.assertCopy(self.run_, expected)

    def test_copy_from_the_keyboard(self):
        self.run_.type("a42.25")
        self.assertCopy(self.run_, "42.25", lambda: self.run_.chord("ctrl", "c"))

    def test_paste_from_the_keyboard(self):
        rows = [
            ("Insert", "250", "", ["Insert"], "+1=", "251"),
            ("Ctrl+V", "1,234", "", None, "+1=", "1235"),
        ]
        for name, text, before, keys, after, expected in rows:
            with self.subTest(name):
                self.run_.type("a" + before)
                paste = (lambda: self.run_.key(*keys)) if keys else (
                    lambda: self.run_.chord("ctrl", "v"))
                self.assertTrue(self.run_.paste(text, paste),
                                "the program did not read the clipboard")
                self.run_.type(after)
                self.assertCopy(self.run_, expected)

class Closing(unittest.TestCase):
    """Each way of closing ends the program with exit code 0."""

    def test_closing(self):
        rows = [
            ("Escape", lambda run: run.key("Escape")),
            ("OFF key", lambda run: run.click_keys(["OFF"])),
        ]
        for name, close in rows:
            with self.subTest(name):
                run = session.start()
                try:
                    run.type("12")
                    close(run)
                    self.assertEqual(run.wait_exit(), 0)
                    self.assertFalse(session.x.search_name("^Karvold$"))
                finally:
                    run.stop()


class WindowGestures(CalculatorCase):
    """Dragging, the right-button menu and what it opens; a program run per test."""

    def setUp(self):
        self.run_ = session.start()
        self.x = session.x

    def tearDown(self):
        self.run_.stop()

    def fresh_run(self):
        self.run_.stop()
        self.run_ = session.start()

    def new_windows(self, before, timeout=10):
        return wait_for(lambda: self.x.visible_windows() - before, timeout)

    def open_menu(self, client_point=(150, 40)):
        before = self.x.visible_windows()
        self.x.click(*self.run_.screen_point(*client_point), button=3)
        menu = self.new_windows(before)
        self.assertTrue(menu, "no popup menu appeared")
        return menu

    def choose(self, downs):
        """Opens the menu and picks an item from the keyboard: Down downs times, Enter."""
        self.open_menu()
        self.x.key(*(["Down"] * downs), "Return")

    def test_right_button_opens_menu_and_escape_dismisses_it(self):
        # On a key the menu opens at button-down, elsewhere on the body at button-up.
        rows = [
            ("on a key", key_centre(KEY_CAPTIONS.index("9")), "mousedown"),
            ("on the display", (150, 40), "mouseup"),
        ]
        for name, point, opens_at in rows:
            with self.subTest(name):
                self.fresh_run()
                before = self.x.visible_windows()
                x, y = self.run_.screen_point(*point)
                self.x.move(x, y)
                self.x.xdotool("mousedown", "3")
                opened_early = self.new_windows(before, timeout=1.5)
                self.x.xdotool("mouseup", "3")
                menus = self.new_windows(before)
                self.assertEqual(bool(opened_early), opens_at == "mousedown")
                self.assertEqual(len(menus), 1, "exactly one menu window")
                (menu,) = menus
                mx, my, mw, mh = self.x.geometry(menu)
                self.assertLessEqual(abs(mx - x) + abs(my - y), 2,
                                     "the menu's corner is at the pointer")
                self.assertTrue(mw < WINDOW_WIDTH and mh < WINDOW_HEIGHT, (mw, mh))
                self.x.key("Escape")
                self.assertTrue(wait_for(lambda: menu not in self.x.visible_windows(), 10),
                                "Escape did not dismiss the menu")
                self.run_.type("a3*3=")
                self.assertCopy(self.run_, "9", message="calculator after the menu")

    def test_about_box(self):
        # The key-up of the Enter that closed the box comes to the calculator, which must go
        # on working.
        self.choose(2)
        found = wait_for(lambda: self.x.search_name(f"^{re.escape(ABOUT_TITLE)}$"), 10)
        self.assertEqual(len(found), 1, "one About box")
        (about,) = found
        self.assertNotEqual(about, self.run_.window)
        self.assertEqual(self.x.window_name(about), ABOUT_TITLE)
        ax, ay, aw, ah = self.x.geometry(about)
        self.assertLess(ah, WINDOW_HEIGHT)
        self.assertIn(self.run_.window, self.x.visible_windows())
        self.x.move(ax + aw // 2, ay + ah // 2)
        self.x.key("Return")
        self.assertTrue(wait_for(lambda: about not in self.x.visible_windows(), 10),
                        "Enter did not close the About box")
        self.run_.type("a2+2=")
        self.assertCopy(self.run_, "4", message="calculator after the About box")

    def test_help_opens_the_file_beside_the_program_without_installation(self):
        # A Karvold.chm in the current folder may be anyone's: the one beside karvold.exe opens.
        folder = os.path.join(options.work, "help-cwd")
        make_help_file(folder, "Karvold e2e planted help")
        self.run_.stop()
        self.run_ = session.start(cwd=folder)
        before = self.x.visible_windows()
        self.choose(1)
        if not wait_for(lambda: self.x.search_name("^Karvold 電卓 ヘルプ$"), 30):
            others = [self.x.window_name(w) for w in self.x.visible_windows() - before]
            self.fail(f"no help window for the Karvold.chm beside the program; new windows: {others}")
        self.assertFalse(self.x.search_name("^Karvold e2e planted help$"))


class TaxSettings(CalculatorCase):
    """The rate and rounding rule from the installation's registry key and data files."""

    @classmethod
    def setUpClass(cls):
        cls.data = session.prefix.drive_c("faltrane", "DATA", "OTHER")
        os.makedirs(cls.data, exist_ok=True)
        session.register_installation({"InstalledDataDir": r"C:\faltrane",
                                       "InstalledDir": r"C:\faltrane"})

    @classmethod
    def tearDownClass(cls):
        session.remove_installation()
        shutil.rmtree(session.prefix.drive_c("faltrane"), ignore_errors=True)

    def test_rate_and_rounding_from_the_data_files(self):
        # 8 %, up from a tenth: today's date alone would give 115.
        for name, content in (("TAX.AUT", b"\x01\x38"), ("Shouhi.AUT", b"\x01\x55")):
            with open(os.path.join(self.data, name), "wb") as f:
                f.write(content)
        run = session.start()
        try:
            run.type("a105z")
            self.assertCopy(run, "114")
        finally:
            run.stop()

    def test_help_opens_the_installed_help_file(self):
        make_help_file(session.prefix.drive_c("faltrane", "EXE"), "Karvold e2e installed help")
        run = session.start()
        try:
            before = session.x.visible_windows()
            session.x.click(*run.screen_point(150, 40), button=3)
            self.assertTrue(wait_for(lambda: session.x.visible_windows() - before, 10))
            session.x.key("Down", "Return")
            self.assertTrue(
                wait_for(lambda: session.x.search_name("^Karvold e2e installed help$"), 30),
                "no help window for C:\\faltrane\\EXE\\Karvold.chm")
        finally:
            run.stop()


def main():
    global options
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe", required=True, help="karvold.exe to test")
    parser.add_argument("--work", required=True, help="folder for the prefix and artefacts")
    options, rest = parser.parse_known_args()

    def on_term(signum, frame):
        if session:
            session.close()
        os._exit(128 + signum)
    signal.signal(signal.SIGTERM, on_term)
    signal.signal(signal.SIGINT, on_term)
    started = time.monotonic()
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2)
    print(f"e2e: {time.monotonic() - started:.1f} s")
    sys.exit(0 if program.result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
