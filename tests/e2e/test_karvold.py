#!/usr/bin/python3
# End-to-end tests of karvold.exe: the real program under Wine on a private Xvfb, driven
# through the mouse, the keyboard and the X clipboard. Only the wiring a user touches; what
# the keys compute is the engine tests' business.
#
#     test_karvold.py --exe karvold.exe --work DIR [unittest arguments, e.g. Calculator]

import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import unittest

sys.dont_write_bytecode = True  # the tests run from the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from karvold_harness import (SCREEN_WIDTH, WINDOW_HEIGHT, WINDOW_WIDTH,  # noqa: E402
                             Session, scaled, wait_for)

session = None


def setUpModule():
    global session
    session = Session(options.exe, options.work)


def tearDownModule():
    session.close()


def make_help_file(folder, title):
    # A one-page Karvold.chm in folder, whose window title names it.
    os.makedirs(folder, exist_ok=True)
    for name, text in (("index.html", f"<html><head><title>{title}</title></head></html>\n"),
                       ("Karvold.hhp", "[OPTIONS]\nCompiled file=Karvold.chm\nDefault topic="
                                       f"index.html\nTitle={title}\n\n[FILES]\nindex.html\n")):
        pathlib.Path(folder, name).write_text(text)
    subprocess.run(["chmcmd", "Karvold.hhp"], cwd=folder, check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)


def start_and_choose_from_menu(downs, cwd=None):
    # Opens the menu on the display and picks its item from the keyboard.
    session.start(cwd)
    before = session.visible_windows()
    session.click(*session.screen_point(150, 40), button=3)
    if not wait_for(lambda: session.visible_windows() - before, 10):
        raise AssertionError("no popup menu appeared")
    session.xdotool("key", *["Down"] * downs, "Return")


def help_window(title):
    return wait_for(lambda: session.search(f"^{title}$"), 30)


class Calculator(unittest.TestCase):
    # One program run: typed keys, and copies that another program reads.

    @classmethod
    def setUpClass(cls):
        session.start()

    def test_keypad_point_with_numlock_off_types_a_point_and_keeps_the_memory(self):
        session.type("a5p1")
        session.keys("key", "KP_Delete")
        session.type("5pr")  # M+ and MR: 5 + 1.5
        self.assertEqual(session.copy_display(), "6.5")

    def test_ctrl_insert_copies_even_when_ctrl_goes_up_first(self):
        session.type("a42")
        copy = ("keydown", "ctrl", "keydown", "Insert", "keyup", "ctrl", "keyup", "Insert")
        self.assertEqual(session.copy_display(lambda: session.keys(*copy)), "42")
        session.type("+1=")
        self.assertEqual(session.copy_display(), "43", "the display was left as it was")


class Menu(unittest.TestCase):
    # The right-button menu and what it opens; a program run per test.

    def test_right_button_on_the_display_opens_the_menu_at_button_up(self):
        # On the display (a caption to the system) the menu opens at button-up.
        session.start()
        before = session.visible_windows()
        session.xdotool("mousemove", *map(str, session.screen_point(150, 40)), "mousedown", "3")
        self.assertFalse(wait_for(lambda: session.visible_windows() - before, 1.5))
        session.xdotool("mouseup", "3")
        self.assertTrue(wait_for(lambda: session.visible_windows() - before, 10))

    def test_help_opens_the_file_beside_the_program_not_in_the_current_folder(self):
        folder = os.path.join(options.work, "help-cwd")
        make_help_file(folder, "Karvold e2e planted help")
        start_and_choose_from_menu(1, cwd=folder)
        self.assertTrue(help_window("Karvold 電卓 ヘルプ"), "no help beside the program")
        self.assertFalse(session.search("^Karvold e2e planted help$"))


class Scaled(unittest.TestCase):
    # At 100 % (the screenshot), 150 % and 200 %: the window's size at the top right, a clicked
    # sum, the display's digits at the scale's size, and a move to a monitor of 100 %, which
    # Xvfb cannot offer: a helper sends the message Windows would send.

    def tearDown(self):
        session.set_dpi(96)

    def digits_height(self):
        # The display strip, less its edges, holds only the number.
        x, y = session.screen_point(scaled(15, session.dpi) + 1, scaled(20, session.dpi) + 1)
        return session.ink_height(x, y, scaled(270, session.dpi) - 2, scaled(40, session.dpi) - 2)

    def test_size_sum_digits_and_a_change_of_scale(self):
        for dpi in (96, 144, 192):
            with self.subTest(dpi=dpi):
                session.set_dpi(dpi)
                session.start()
                x, y, width, height = session.geometry(session.window)
                self.assertEqual((x, y, width, height),
                                 (SCREEN_WIDTH - width, 0, *session.window_size()))
                if dpi == 96:
                    subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+0",
                                    "+repage", os.path.join(options.work, "karvold-screenshot.png")],
                                   env=session.env, check=True, timeout=30)
                session.click_keys("AC 7 + 8 =".split())
                self.assertEqual(session.copy_display(), "15")
                if dpi == 96:
                    at_96 = self.digits_height()
                    continue
                self.assertLessEqual(abs(self.digits_height() - at_96 * dpi // 96), 2)
                left, top = SCREEN_WIDTH - 400, 100
                rect = (left, top, left + WINDOW_WIDTH, top + WINDOW_HEIGHT)
                sent = subprocess.run([session.wine, options.dpi_change, "96", *map(str, rect)],
                                      env=session.env, capture_output=True, text=True, timeout=60)
                self.assertEqual(sent.returncode, 0, sent.stderr)
                moved = (left, top, WINDOW_WIDTH, WINDOW_HEIGHT)
                self.assertTrue(wait_for(lambda: session.geometry(session.window) == moved, 10))
                session.origin, session.dpi = (left, top), 96
                self.assertLessEqual(abs(self.digits_height() - at_96), 1)


class Installation(unittest.TestCase):
    # The rate, the rounding rule and help from an installation's registry key and files.

    @classmethod
    def setUpClass(cls):
        cls.root = os.path.join(session.prefix, "drive_c", "faltrane")
        os.makedirs(os.path.join(cls.root, "DATA", "OTHER"), exist_ok=True)
        session.register_installation(r"C:\faltrane")

    @classmethod
    def tearDownClass(cls):
        session.remove_installation()
        shutil.rmtree(cls.root)

    def test_rate_and_rounding_from_the_data_files(self):
        # 8 %, up from a tenth: today's date alone would give 115.
        for name, content in (("TAX.AUT", b"\x01\x38"), ("Shouhi.AUT", b"\x01\x55")):
            pathlib.Path(self.root, "DATA", "OTHER", name).write_bytes(content)
        session.start()
        session.type("a105z")
        self.assertEqual(session.copy_display(), "114")

    def test_help_opens_the_installed_file(self):
        make_help_file(os.path.join(self.root, "EXE"), "Karvold e2e installed help")
        start_and_choose_from_menu(1)
        self.assertTrue(help_window("Karvold e2e installed help"))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True, help="karvold.exe to test")
    parser.add_argument("--work", required=True, help="folder for the prefix and artefacts")
    parser.add_argument("--dpi-change", required=True, help="dpi_change.exe, the scale helper")
    options, rest = parser.parse_known_args()
    unittest.main(argv=[sys.argv[0], *rest], verbosity=2)
