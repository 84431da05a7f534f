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

    def test_clicked_keys_compute(self):
        # Every key but OFF and paste (tested on their own) appears in some row.
        rows = [
            ("1 2 + 3 4 =", "46"),
            ("7 8 9 ÷ 3 =", "263"),
            ("4 5 6 × 2 =", "912"),
            ("1 0 - 2 5 =", "-15"),
            ("1 ･ 5 + 2 =", "3.5"),
            ("5 +- + 8 =", "3"),
            ("2 0 0 + 5 %", "210"),
            ("1 2 + 5 C 3 =", "15"),
            ("5 + 3 AC 2 =", "2"),
            ("9 M+ 1 M+ MR", "10"),
            ("9 M+ 4 M- MR", "5"),
            ("6 M+ MC 2 M+ MR", "2"),
            ("2 × 3 = 4 × 5 = GT", "26"),
            # No installation: 10 % by today's date.
            ("1 0 0 0 税込", "1100"),
            ("1 1 0 0 税抜", "1000"),
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

    def test_press_on_key_and_release_over_gap_posts_nothing(self):
        run = self.run_
        run.click_keys(["AC", "4"])
        x, y = run.screen_point(*key_centre(KEY_CAPTIONS.index("7")))
        session.x.move(x, y)
        session.x.xdotool("mousedown", "1")
        session.x.move(x + 29, y)  # the gap between "7" and "8"
        session.x.xdotool("mouseup", "1")
        self.assertCopy(run, "4", lambda: run.click_keys(["複写"]))


class Keyboard(CalculatorCase):
    """Typed characters and special keys, one program run for the class."""

    @classmethod
    def setUpClass(cls):
        cls.run_ = session.start()

    @classmethod
    def tearDownClass(cls):
        cls.run_.stop()

    def test_typed_characters_compute(self):
        rows = [
            ("12*3=", "36"),
            ("10/4=", "2.5"),
            ("1/3=", "0.33333333333"),
            ("7-9=", "-2"),
            ("3*4==", "36"),
            ("5+==", "10"),
            ("200-5%", "190"),
            ("50/200%", "25"),
            ("1234567.5", "1234567.5"),
            ("5+3A2=", "2"),
            ("5P3PR", "8"),
            ("5m", "-5"),
            ("2*3=4*5=g", "26"),
            ("12+5c3=", "15"),
            ("6p2Tr", "0"),
            ("4l2lr", "-6"),
            # No installation: the rate by today's date (10 %), truncated.
            ("105z", "115"),
            ("1000zz", "100"),
            ("1000zzz", "1000"),
            ("100x", "91"),
        ]
        for keys, expected in rows:
            with self.subTest(keys=keys):
                self.run_.type("a" + keys)
                self.assertCopy(self.run_, expected)

    def test_special_keys(self):
        rows = [
            ("Enter acts as =", "6*7", ["Return"], "", "42"),
            ("keypad Enter acts as =", "9*9", ["KP_Enter"], "", "81"),
            ("Backspace is all clear", "5+3", ["BackSpace"], "2=", "2"),
            ("Delete is all clear", "5+3", ["Delete"], "2=", "2"),
        ]
        for name, before, keys, after, expected in rows:
            with self.subTest(name):
                self.run_.type("a" + before)
                self.run_.key(*keys)
                self.run_.type(after)
                self.assertCopy(self.run_, expected)

    def test_copy_from_the_keyboard(self):
        rows = [
            ("s", lambda: self.run_.type("s"), "-0.5"),
            ("S", lambda: self.run_.type("S"), "1234567"),
            ("Ctrl+C", lambda: self.run_.chord("ctrl", "c"), "42.25"),
        ]
        for name, copy, number in rows:
            with self.subTest(name):
                typed = number.lstrip("-") + ("m" if number.startswith("-") else "")
                self.run_.type("a" + typed)
                self.assertCopy(self.run_, number, copy)

    def test_paste_from_the_keyboard(self):
        rows = [
            ("d", "1,234", "", ["d"], "+1=", "1235"),
            ("Insert", "250", "", ["Insert"], "+1=", "251"),
            ("Ctrl+V", "1,234", "", None, "+1=", "1235"),
            ("d after 5+", "12abc", "5+", ["d"], "=", "17"),
            ("digits continue a paste", "12", "", ["d"], "3", "123"),
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

    def test_error_locks_until_all_clear(self):
        self.run_.type("a1/0=")
        self.assertIsNone(self.run_.copy_display(attempts=1, timeout=2),
                          "copy must be refused while an error is shown")
        self.run_.type("5+")  # refused as well
        self.run_.type("a7")
        self.assertCopy(self.run_, "7")


class Closing(unittest.TestCase):
    """Each way of closing ends the program with exit code 0."""

    def test_closing(self):
        rows = [
            ("Escape", lambda run: run.key("Escape")),
            ("OFF key", lambda run: run.click_keys(["OFF"])),
            ("q", lambda run: run.type("q")),
            ("Q", lambda run: run.type("Q")),
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

    def test_drag_by_the_body(self):
        run = self.run_
        start_x, start_y = run.screen_point(150, 75)  # between the display and the keys
        self.x.xdotool("mousemove", str(start_x), str(start_y), "mousedown", "1")
        for step in range(1, 5):
            self.x.move(start_x - 50 * step, start_y + 25 * step)
        self.x.xdotool("mouseup", "1")
        moved = (run.origin[0] - 200, run.origin[1] + 100)
        self.assertTrue(wait_for(lambda: self.x.geometry(run.window)[:2] == moved, 5),
                        f"window at {self.x.geometry(run.window)[:2]}, not {moved}")
        run.origin = moved
        run.click_keys(["AC", "7", "×", "6", "="])
        self.assertCopy(run, "42", lambda: run.click_keys(["複写"]))

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

    def write_data(self, name, content):
        path = os.path.join(self.data, name)
        if content is None:
            if os.path.exists(path):
                os.remove(path)
        else:
            with open(path, "wb") as f:
                f.write(content)

    def test_rates_and_rounding(self):
        rows = [
            ("8 %, up from a tenth", b"\x01\x38", b"\x01\x55",
             [("105z", "114"), ("101z", "109"), ("100x", "92")]),
            ("10 %, no rounding file", b"\x02\x31\x30", None, [("105z", "115")]),
        ]
        for name, rate, rounding, cases in rows:
            with self.subTest(name):
                self.write_data("TAX.AUT", rate)
                self.write_data("Shouhi.AUT", rounding)
                run = session.start()
                try:
                    for keys, expected in cases:
                        run.type("a" + keys)
                        self.assertCopy(run, expected, message=keys)
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


def is_teal(rgb):
    return rgb == (0, 128, 128)


def is_violetish(rgb):
    r, g, b = rgb
    return b >= 200 and g <= 110 and 80 <= r <= 200


class Display(CalculatorCase):
    """What the display shows, read from screenshots of the window."""

    # The display strip and the indicator area, in client coordinates.
    STRIP = (15, 20, 285, 60)
    INDICATOR = (20, 25, 160, 60)

    @classmethod
    def setUpClass(cls):
        cls.run_ = session.start()

    @classmethod
    def tearDownClass(cls):
        cls.run_.stop()

    def capture(self):
        x, y = self.run_.origin
        return session.x.screenshot(x, y, WINDOW_WIDTH, WINDOW_HEIGHT)

    def glyph_columns(self, image, left=160):
        points = image.find(is_teal, left, 15, 290, 66)
        return (min(p[0] for p in points), max(p[0] for p in points)) if points else None

    def show(self, keys, expected_copy):
        self.run_.type("a" + keys)
        self.assertCopy(self.run_, expected_copy)

    def test_number_with_memory_mark(self):
        self.show("1234.5p", "1234.5")

        def painted():
            image = self.capture()
            return image if image.find(is_violetish, *self.INDICATOR) else None
        image = wait_for(painted, 5, 0.2)
        x, y = self.run_.origin
        session.x.save_screenshot(os.path.join(options.work, "karvold-screenshot.png"),
                                  x, y, WINDOW_WIDTH, WINDOW_HEIGHT)
        self.assertIsNotNone(image, "no M mark in the display")
        self.assertFalse(image.find(is_teal, *self.INDICATOR[:2], 180, 60),
                         "nothing but the M mark left of the number")
        # 1,234.5 is drawn from x = 184 to 281, the tallest glyph scaled to the 40-pixel strip.
        columns = self.glyph_columns(image)
        self.assertIsNotNone(columns, "no digit glyphs")
        self.assertGreaterEqual(columns[0], 184)
        self.assertLessEqual(columns[0], 184 + 18)
        self.assertLessEqual(columns[1], 280)
        self.assertGreaterEqual(columns[1], 264)
        rows = [p[1] for p in image.find(is_teal, 160, 0, 300, 90)]
        self.assertGreaterEqual(min(rows), 20)
        self.assertLess(max(rows), 60)
        for x_ in range(15, 180, 20):
            self.assertEqual(image.pixel(x_, 21), (255, 255, 255), f"white strip at x={x_}")
        # The two-line edge under and right of the strip.
        self.assertEqual(image.pixel(100, 60), (128, 128, 255))
        self.assertEqual(image.pixel(100, 61), (128, 128, 128))
        self.assertEqual(image.pixel(285, 40), (128, 128, 255))
        self.assertEqual(image.pixel(286, 40), (128, 128, 128))
        # The body between the display and the keys shows the grey and white pattern.
        body = {image.pixel(x_, y_) for y_ in range(66, 86) for x_ in range(30, 270)}
        self.assertEqual(body, {(192, 192, 192), (255, 255, 255)})

    def problems(self, image, indicator, left, right):
        """What differs from a display with that indicator and glyphs in [left, right)."""
        found = []
        if bool(image.find(is_teal, *self.INDICATOR)) != (indicator != "nothing"):
            found.append(f"indicator should show {indicator}")
        if image.find(is_violetish, *self.INDICATOR):
            found.append("unexpected M mark")
        columns = self.glyph_columns(image, left=200)
        if not columns or columns[0] < left or columns[1] >= right:
            found.append(f"glyphs in columns {columns}, not within [{left}, {right})")
        return found

    def test_indicators_and_short_numbers(self):
        rows = [
            # (keys, what the indicator shows, glyph columns, copy afterwards)
            ("", "nothing", (265, 282), "0"),
            ("1/0=", "teal error text", (265, 282), None),
            # 1,100: bitmaps 36 + 8 + 36 + 35 + 35 wide, half of that left of x = 282.
            ("1000z", "teal tax label", (207, 282), "1100"),
        ]
        for keys, indicator, (left, right), copied in rows:
            with self.subTest(keys=keys or "AC"):
                self.run_.type("a" + keys)
                image = wait_for(lambda: None if self.problems(self.capture(), indicator,
                                                                left, right) else True, 5, 0.2)
                if not image:
                    self.fail("; ".join(self.problems(self.capture(), indicator, left, right)))
                # A copy is refused in the error state and ends the tax cycle otherwise.
                self.assertEqual(self.run_.copy_display(attempts=1 if copied is None else 3),
                                 copied)


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
