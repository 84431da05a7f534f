# Drives the real karvold.exe under Wine on a private Xvfb, as a user would. Everything
# started here is stopped here by its own process id (the wineserver by its prefix), so that
# parallel runs and other users of the machine are left alone.

import ctypes
import fcntl
import os
import re
import signal
import subprocess
import sys
import time

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024
WINDOW_WIDTH, WINDOW_HEIGHT = 300, 450
MAIN_TITLE = "^Karvold$"
INSTALL_KEY = r"HKLM\SOFTWARE\Orvex\Brennoly\Faltrane"

# Captions of the on-screen keys in key order, from the program's string table, so that tests
# read like the keypad.
with open(os.path.join(os.path.dirname(__file__), "../../resources/karvold.rc"), encoding="utf-8") as rc:
    KEY_CAPTIONS = re.findall(r'IDS_KEY_FIRST \+ \d+,\s*"([^"]*)"', rc.read())


_prctl = ctypes.CDLL(None).prctl


def _die_with_parent():
    # A harness killed by a timeout must not leave an X server or Wine behind.
    _prctl(1, signal.SIGTERM)  # PR_SET_PDEATHSIG


def scaled(length, dpi):
    # A 96-DPI length at a scale, rounded half up as the program rounds.
    return (length * dpi + 48) // 96


def key_centre(caption, dpi=96):
    # 48-pixel keys on a 58-pixel pitch, five to a row, the first at (10, 90), at 96 DPI.
    index = KEY_CAPTIONS.index(caption)
    size, pitch = scaled(48, dpi), scaled(58, dpi)
    return (scaled(10, dpi) + pitch * (index % 5) + size // 2,
            scaled(90, dpi) + pitch * (index // 5) + size // 2)


def wait_for(predicate, timeout, interval=0.05):
    # Polls predicate until it returns a true value; returns the last value.
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class Session:
    # The X server, the Wine prefix (locked for the session) and the program under test.

    def __init__(self, exe, work):
        locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout
        if not re.search(r"^ja_JP\.utf-?8$", locales, re.I | re.M):
            # Without it Wine runs in code page 1252 and every Japanese text is wrong.
            raise RuntimeError("the ja_JP.UTF-8 locale is missing")
        self.exe, self.work = os.path.abspath(exe), os.path.abspath(work)
        self.prefix = os.path.join(self.work, "wineprefix")
        # Set up like every other test's prefix (locale, fonts), in a prefix of its own.
        self.wine = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                 "tools", "wine-run")
        self.process = None
        self.dpi = 96
        # Xvfb picks a free display number itself and writes it to the pipe.
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24", "-nolisten", "tcp"], pass_fds=(write_end,),
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            display = pipe.readline().strip()
        if not display.isdigit():
            self.xvfb.kill()
            raise RuntimeError("Xvfb did not report a display number")
        self.env = dict(os.environ, DISPLAY=":" + display, WINEPREFIX=self.prefix,
                        KARVOLD_WINEPREFIX=self.prefix, KARVOLD_LANG="ja_JP.UTF-8",
                        KARVOLD_TEST_TODAY="2024-01")  # the 10 % years, whatever day it runs
        os.makedirs(self.work, exist_ok=True)
        self.lock = open(self.prefix + ".session", "w")  # wine-run takes ".lock" to set it up
        fcntl.flock(self.lock, fcntl.LOCK_EX)
        # A server left from an earlier run would still talk to that run's display.
        self.kill_wineserver()
        subprocess.run([self.wine], env=self.env, check=True, capture_output=True, timeout=240)
        self.remove_installation()

    def close(self):
        self.stop()
        self.kill_wineserver()
        self.lock.close()
        self.xvfb.terminate()
        self.xvfb.wait(10)

    def start(self, cwd=None):
        # Starts karvold.exe, one run at a time, so that each finds its own window.
        self.stop()
        self.process = subprocess.Popen(
            [self.wine, self.exe], env=self.env, cwd=cwd or self.work,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        self.window = wait_for(self._find_window, 60, 0.1)
        if not self.window:
            raise AssertionError("the calculator window did not appear within 60 s")
        self.origin = self.geometry(self.window)[:2]

    def _find_window(self):
        if self.process.poll() is not None:
            raise AssertionError(f"karvold.exe ended at start with code {self.process.returncode}")
        for window in self.search(MAIN_TITLE):
            geometry = self.geometry(window)
            if geometry and geometry[2:] == self.window_size():
                return window
        return None

    def window_size(self):
        return scaled(WINDOW_WIDTH, self.dpi), scaled(WINDOW_HEIGHT, self.dpi)

    def set_dpi(self, dpi):
        # Wine scales no monitor of its own: a per-monitor-aware program takes the prefix's
        # LogPixels when it starts.
        self.stop()
        if not wait_for(lambda: self.wine_run(
                "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t",
                "REG_DWORD", "/d", str(dpi), "/f"), 5, 1):
            raise RuntimeError(f"LogPixels {dpi} was not set")
        self.dpi = dpi

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        # Let the window go before the next run looks for its own.
        wait_for(lambda: not self.search(MAIN_TITLE), 10)

    def kill_wineserver(self):
        for flag in ("-k", "-w"):
            subprocess.run(["wineserver", flag], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=120)

    def wine_run(self, *args, timeout=60):
        # Whether it succeeded; seen once: "reg add" failed right after the server had started.
        return subprocess.run([self.wine, *args], env=self.env, capture_output=True,
                              timeout=timeout).returncode == 0

    def register_installation(self, folder, names=("InstalledDataDir", "InstalledDir")):
        for name in names:
            if not wait_for(lambda: self.wine_run("reg", "add", INSTALL_KEY, "/v", name, "/d",
                                                  folder, "/f"), 5, 1):
                raise RuntimeError(f"the installation's {name} was not registered")

    def remove_installation(self):
        if not wait_for(lambda: not self.wine_run("reg", "query", INSTALL_KEY)
                        or self.wine_run("reg", "delete", r"HKLM\SOFTWARE\Orvex", "/f"), 5, 1):
            raise RuntimeError("the installation's registry key stays in the prefix")

    def xdotool(self, *args):
        result = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, timeout=15)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else ""

    def click(self, x, y, button=1):
        # One xdotool run per gesture keeps its events in order.
        self.xdotool("mousemove", str(x), str(y), "click", str(button))

    def search(self, pattern):
        return [int(w) for w in self.xdotool("search", "--onlyvisible", "--name", pattern).split()]

    def visible_windows(self):
        return set(self.search(""))

    def geometry(self, window):
        # (x, y, width, height) of a window, or None when it is gone.
        values = dict(line.split("=", 1) for line in
                      self.xdotool("getwindowgeometry", "--shell", str(window)).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT")) if values else None

    def ink_height(self, x, y, width, height):
        # Height of what is drawn inside an area of the screen that is mostly its background.
        shot = os.path.join(self.work, "area.png")
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                        "+repage", shot], env=self.env, check=True, timeout=30)
        trimmed = subprocess.run(["convert", shot, "-fuzz", "10%", "-trim", "-format", "%h",
                                  "info:"], capture_output=True, text=True, check=True, timeout=30)
        return int(trimmed.stdout)

    def clipboard_text(self):
        try:
            out = subprocess.run(["xclip", "-selection", "clipboard", "-o"], env=self.env,
                                 capture_output=True, timeout=3)
        except subprocess.TimeoutExpired:
            return None  # seen under heavy load: the owner did not answer; ask again
        return out.stdout.decode("utf-8", "replace") if out.returncode == 0 else None

    def screen_point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def click_keys(self, captions):
        for caption in captions:
            self.click(*self.screen_point(*key_centre(caption, self.dpi)))

    def keys(self, *actions):
        # Keyboard input goes to the window under the pointer (there is no window manager).
        self.xdotool("mousemove", *map(str, self.screen_point(150, 40)), *actions)

    def type(self, text):
        self.keys("type", "--delay", "20", text)

    def copy_display(self, copy=None, attempts=3):
        # The text that copy (default: typing "s") puts on the clipboard, or None. An xclip
        # holds the clipboard until a copy takes it; the clipboard may be busy, which changes
        # nothing in the calculator, so the copy is tried again.
        xclip = subprocess.Popen(
            ["xclip", "-selection", "clipboard", "-i", "-verbose", "-loops", "0"],
            env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT, bufsize=0, preexec_fn=_die_with_parent)
        try:
            xclip.stdin.write(b"(before the copy)")
            xclip.stdin.close()
            if not any(line.startswith(b"Waiting for")
                       for line in iter(xclip.stdout.readline, b"")):
                raise RuntimeError("xclip did not take the clipboard")
            # Wine answers a new clipboard owner by opening the clipboard for a moment; a
            # program that opens it just then is refused, as on Windows.
            time.sleep(0.2)
            for attempt in range(attempts):
                (copy or (lambda: self.type("s")))()
                try:
                    xclip.wait(1.5)
                    return wait_for(self.clipboard_text, 10)
                except subprocess.TimeoutExpired:
                    print("karvold_harness: the clipboard was not used, trying again",
                          file=sys.stderr)
            return None
        finally:
            xclip.kill()
            xclip.wait()
            xclip.stdout.close()
