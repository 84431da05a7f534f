"""Drives the real karvold.exe under Wine on a private Xvfb, as a user would.

Everything started here is stopped here by its own process id (or, for the
wineserver, by its prefix), so that parallel runs and other users of the
machine are left alone.
"""

import ctypes
import fcntl
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import threading
import time

KEY_SIZE = 48
KEY_PITCH = 58
WINDOW_WIDTH = 300
WINDOW_HEIGHT = 450
MAIN_TITLE = "Karvold"
ABOUT_TITLE = "ﾊﾞｰｼﾞｮﾝ情報(Karvold)"

# Captions of the on-screen keys, in key order, so that tests read like the keypad.
KEY_CAPTIONS = ["OFF", "複写", "貼付", "税込", "税抜",
                "AC", "C", "%", "+-", "GT",
                "7", "8", "9", "÷", "MC",
                "4", "5", "6", "×", "MR",
                "1", "2", "3", "-", "M-",
                "0", "･", "=", "+", "M+"]

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    # A harness killed by a timeout must not leave an X server or Wine behind.
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGTERM)


def key_rect(index):
    column, row = index % 5, index // 5
    left, top = 10 + KEY_PITCH * column, 90 + KEY_PITCH * row
    return left, top, left + KEY_SIZE, top + KEY_SIZE


def key_centre(index):
    left, top, right, bottom = key_rect(index)
    return (left + right) // 2, (top + bottom) // 2


def wait_for(predicate, timeout, interval=0.05):
    """Polls predicate until it returns a true value; returns the last value."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class XServer:
    """A private Xvfb; the server picks a free display number itself."""

    def __init__(self, width=1280, height=1024):
        self.width, self.height = width, height
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 0.5)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.strip().isdigit():
            self.stop()
            raise RuntimeError("Xvfb did not report a display number")
        self.display = ":" + number.strip().decode()

    def env(self):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        return env

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class WinePrefix:
    """A Wine prefix of the tests' own, locked for the whole session."""

    def __init__(self, path, display):
        self.path = path
        self.wine = shutil.which("wine64") or shutil.which("wine")
        self.wineserver = shutil.which("wineserver")
        if not self.wine or not self.wineserver:
            raise RuntimeError("wine and wineserver are needed")
        self.env = display.env()
        self.env.update(WINEPREFIX=path, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=",
                        LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        self._lock = open(path + ".lock", "w")
        fcntl.flock(self._lock, fcntl.LOCK_EX)
        # A server left from an earlier run would still talk to that run's display.
        self.kill_server()
        if not os.path.exists(os.path.join(path, "system.reg")):
            subprocess.run([self.wine, "wineboot", "-i"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=180)
            subprocess.run([self.wineserver, "-w"], env=self.env, timeout=120)

    def drive_c(self, *parts):
        return os.path.join(self.path, "drive_c", *parts)

    def run(self, *args, check=True, attempts=3):
        """Runs a Wine program to its end; a failure is tried again, then raised."""
        for attempt in range(attempts):
            result = subprocess.run([self.wine, *args], env=self.env, capture_output=True,
                                    timeout=60)
            if result.returncode == 0 or not check:
                return result
            # Seen once: "reg add" failed right after the prefix's server had started.
            output = (result.stdout + result.stderr).decode("cp932", "replace").strip()
            print(f"karvold_harness: wine {' '.join(args)} gave {result.returncode}: {output}",
                  file=sys.stderr)
            time.sleep(1)
        raise RuntimeError(f"wine {' '.join(args)} failed {attempts} times")

    def kill_server(self):
        subprocess.run([self.wineserver, "-k"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        subprocess.run([self.wineserver, "-w"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def close(self):
        self.kill_server()
        fcntl.flock(self._lock, fcntl.LOCK_UN)
        self._lock.close()


class X:
    """Thin wrappers around xdotool and xclip on one display."""

    def __init__(self, display):
        self.env = display.env()

    def run(self, *args, check=True, timeout=15):
        result = subprocess.run(args, env=self.env, capture_output=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{args[0]} {' '.join(args[1:])} failed: "
                               f"{result.stderr.decode(errors='replace').strip()}")
        return result

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check).stdout.decode("utf-8", "replace")

    def visible_windows(self):
        """Ids of all mapped windows."""
        out = self.run("xdotool", "search", "--onlyvisible", "--name", "", check=False)
        return {int(w) for w in out.stdout.split()}

    def search_name(self, pattern, only_visible=True):
        args = ["xdotool", "search"]
        if only_visible:
            args.append("--onlyvisible")
        out = self.run(*args, "--name", pattern, check=False)
        return [int(w) for w in out.stdout.split()]

    def window_name(self, window):
        return self.xdotool("getwindowname", str(window), check=False).rstrip("\n")

    def geometry(self, window):
        """(x, y, width, height) of a window, or None when it is gone."""
        out = self.run("xdotool", "getwindowgeometry", "--shell", str(window), check=False)
        if out.returncode != 0:
            return None
        values = dict(line.split("=", 1) for line in out.stdout.decode().split() if "=" in line)
        try:
            return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        except (KeyError, ValueError):
            return None

    # One xdotool run per gesture keeps its events in order; "mousemove --sync" would
    # wait forever when the pointer is already there.
    def move(self, x, y):
        self.xdotool("mousemove", str(x), str(y))

    def click(self, x, y, button=1):
        self.xdotool("mousemove", str(x), str(y), "click", str(button))

    def type(self, text):
        self.xdotool("type", "--delay", "20", text)

    def key(self, *names):
        self.xdotool("key", "--delay", "20", *names)

    def clipboard_text(self):
        try:
            out = self.run("xclip", "-selection", "clipboard", "-o", check=False, timeout=3)
        except subprocess.TimeoutExpired:
            # Seen once under heavy load: the owner did not answer; asking again is harmless.
            print("karvold_harness: the clipboard owner did not answer, asking again",
                  file=sys.stderr)
            return None
        if out.returncode != 0:
            return None
        return out.stdout.decode("utf-8", "replace")

    def save_screenshot(self, path, x, y, width, height):
        self.run("import", "-window", "root", "-crop",
                 f"{width}x{height}+{x}+{y}", "+repage", path, timeout=30)


class ClipboardHolder:
    """Owns the X clipboard with a text, through an xclip kept in the foreground.

    xclip ends when another client takes the selection, so its exit tells that the
    program has put something on the clipboard.
    """

    def __init__(self, x, text):
        self.process = subprocess.Popen(
            ["xclip", "-selection", "clipboard", "-i", "-verbose"],
            env=x.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.STDOUT, preexec_fn=_die_with_parent)
        self.process.stdin.write(text.encode("utf-8"))
        self.process.stdin.close()
        self._owning = threading.Event()
        self._served = threading.Condition()
        self.served = 0
        self._reader = threading.Thread(target=self._read, daemon=True)
        self._reader.start()
        if not self._owning.wait(10):
            self.release()
            raise RuntimeError("xclip did not take the clipboard")
        # Wine answers a new clipboard owner by opening the clipboard for a moment; a
        # program that opens it just then is refused, as on Windows.
        time.sleep(0.2)

    def _read(self):
        for line in self.process.stdout:
            if b"Waiting for selection requests" in line:
                self._owning.set()
            number = re.search(rb"selection request number (\d+)", line)
            if number:
                with self._served:
                    self.served = int(number.group(1)) - 1
                    self._served.notify_all()

    def wait_served(self, count, timeout):
        """True when the text has been read count times within timeout."""
        with self._served:
            return self._served.wait_for(lambda: self.served >= count, timeout)

    def taken(self, timeout):
        """True when another client took the clipboard within timeout."""
        try:
            self.process.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def release(self):
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        self.process.stdout.close()


class Karvold:
    """One run of karvold.exe and its calculator window."""

    def __init__(self, session, cwd=None):
        self.session = session
        self.x = session.x
        self.holders = []
        self.process = subprocess.Popen(
            [session.prefix.wine, session.exe], env=session.prefix.env,
            cwd=cwd or session.work, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        self.window = wait_for(self._find_window, 60, 0.1)
        if not self.window:
            self.stop()
            raise AssertionError("the calculator window did not appear within 60 s")
        self.origin = self.x.geometry(self.window)[:2]

    def _find_window(self):
        if self.process.poll() is not None:
            raise AssertionError(f"karvold.exe ended at start with code {self.process.returncode}")
        for window in self.x.search_name(f"^{MAIN_TITLE}$"):
            geometry = self.x.geometry(window)
            if geometry and geometry[2:] == (WINDOW_WIDTH, WINDOW_HEIGHT):
                return window
        return None

    def screen_point(self, x, y):
        return self.origin[0] + x, self.origin[1] + y

    def point_at_display(self):
        """Keyboard input goes to the window under the pointer (no window manager)."""
        self.x.move(*self.screen_point(150, 40))

    def click_keys(self, captions):
        for caption in captions:
            self.x.click(*self.screen_point(*key_centre(KEY_CAPTIONS.index(caption))))

    def type(self, text):
        self.point_at_display()
        self.x.type(text)

    def key(self, *names):
        self.point_at_display()
        self.x.key(*names)

    def chord(self, modifier, key):
        """Modifier held, key pressed and released, modifier released: as a hand does it.

        (xdotool's "key ctrl+v" lets go of the modifier first.)"""
        self.point_at_display()
        self.x.xdotool("keydown", modifier, "key", key, "keyup", modifier)

    def copy_display(self, copy=None, attempts=3, timeout=1.5):
        """The text that the program's copy command puts on the clipboard.

        copy performs the copy (default: type "s"); it is repeated when the clipboard
        was busy, which a copy may be, and which changes nothing in the calculator.
        Returns None when the program never took the clipboard.
        """
        copy = copy or (lambda: self.type("s"))
        holder = ClipboardHolder(self.x, "(clipboard before the copy)")
        try:
            for attempt in range(attempts):
                if attempt:
                    print("karvold_harness: no copy yet, copying again", file=sys.stderr)
                copy()
                if holder.taken(timeout):
                    break
            else:
                return None
        finally:
            holder.release()
        return wait_for(self.x.clipboard_text, 10)

    def paste(self, text, paste, attempts=3, timeout=1.5):
        """Puts text on the clipboard and runs paste until the program has read it.

        A second paste of the same text leaves the calculator as the first did.
        Returns whether the program read the text.
        """
        holder = ClipboardHolder(self.x, text)
        self.holders.append(holder)
        for attempt in range(attempts):
            if attempt:
                print("karvold_harness: no paste yet, pasting again", file=sys.stderr)
            paste()
            if holder.wait_served(1, timeout):
                return True
        return False

    def wait_exit(self, timeout=15):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stop(self):
        for holder in self.holders:
            holder.release()
        self.holders.clear()
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        # Let the window go before the next run looks for its own.
        wait_for(lambda: not self.x.search_name(f"^{MAIN_TITLE}$"), 10)


class Session:
    """The X server, the Wine prefix and the program under test for one test run."""

    def __init__(self, exe, work):
        locales = subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout
        if not re.search(r"^ja_JP\.utf-?8$", locales, re.I | re.M):
            # Without it Wine runs in code page 1252 and every Japanese text is wrong.
            raise RuntimeError("the ja_JP.UTF-8 locale is missing")
        self.exe = os.path.abspath(exe)
        self.work = os.path.abspath(work)
        os.makedirs(self.work, exist_ok=True)
        self.server = XServer()
        try:
            self.x = X(self.server)
            self.prefix = WinePrefix(os.path.join(self.work, "wineprefix"), self.server)
        except BaseException:
            self.server.stop()
            raise
        self.runs = []
        self.remove_installation()

    def start(self, cwd=None):
        run = Karvold(self, cwd)
        self.runs.append(run)
        return run

    INSTALL_KEY = r"HKLM\SOFTWARE\Orvex\Brennoly\Faltrane"

    def register_installation(self, values):
        for name, data in values.items():
            self.prefix.run("reg", "add", self.INSTALL_KEY, "/v", name,
                            "/t", "REG_SZ", "/d", data, "/f")

    def remove_installation(self):
        for attempt in range(3):
            if self.prefix.run("reg", "query", self.INSTALL_KEY, check=False).returncode:
                return
            self.prefix.run("reg", "delete", r"HKLM\SOFTWARE\Orvex", "/f", check=False)
        raise RuntimeError("the installation's registry key stays in the prefix")

    def close(self):
        for run in self.runs:
            try:
                run.stop()
            except Exception:
                pass
        self.runs.clear()
        try:
            self.prefix.close()
        finally:
            self.server.stop()

