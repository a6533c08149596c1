"""What a screen reader gets of the game through the desktop's accessibility
bus: the game runs on an X server with accessibility on (RunStack.sh), this
client reads it as a screen reader does (the AT-SPI library a screen reader
is built on) and plays by keys, and checks what it can read and which
events reach it after a roll, a hold, a release, a move of the card's cursor
and an entry.

    RunStack.sh -- /usr/bin/python3 tst_screenreader.py PATH-OF-THE-GAME
"""

import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

FACE = r"(one|two|three|four|five|six)"
WAIT = 15  # seconds for anything to arrive


class Failure(Exception):
    pass


class Client:
    def __init__(self, game):
        self.home = tempfile.mkdtemp(prefix="quintor-reader-")
        env = dict(os.environ, QT_QPA_PLATFORM="xcb", HOME=self.home, XDG_CONFIG_HOME=self.home,
                   XDG_RUNTIME_DIR=self.home, LC_ALL="C.UTF-8")
        self.errors = open(os.path.join(self.home, "stderr"), "w+")
        self.game = subprocess.Popen([game], env=env, stderr=self.errors)
        self.events = []
        self.listener = Atspi.EventListener.new(self.on_event)
        for kind in ("object:state-changed:showing", "object:state-changed:focused"):
            self.listener.register(kind)
        self.app = None

    def on_event(self, event):
        try:
            name, role = event.source.get_name(), event.source.get_role_name()
        except GLib.Error:
            return
        if event.source.get_process_id() == self.game.pid:
            self.events.append((event.type, event.detail1, role, name))
            if os.environ.get("VERBOSE"):
                print(self.events[-1])

    def pump(self, seconds):
        end = time.monotonic() + seconds
        context = GLib.MainContext.default()
        while time.monotonic() < end:
            while context.iteration(False):
                pass
            time.sleep(0.02)

    def wait_for(self, probe, what):
        end = time.monotonic() + WAIT
        while time.monotonic() < end:
            if self.game.poll() is not None:
                raise Failure("the game ended while waiting for " + what)
            found = probe()
            if found:
                return found
            self.pump(0.1)
        raise Failure("no " + what + " within %d s; events: %r" % (WAIT, self.events[-10:]))

    def find_app(self):
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(i)
            if app is not None and app.get_process_id() == self.game.pid:
                return app
        return None

    def find(self, role, pattern, root=None):
        """The first object of the role whose name matches the pattern."""
        root = root or self.app
        if root.get_role_name() == role and re.fullmatch(pattern, root.get_name() or ""):
            return root
        for i in range(root.get_child_count()):
            child = root.get_child_at_index(i)
            found = child is not None and self.find(role, pattern, child)
            if found:
                return found
        return None

    def key(self, name):
        self.events.clear()
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True, timeout=WAIT)

    def said(self, pattern):
        """Waits for a notification whose text matches the pattern."""
        def probe():
            return next((e[3] for e in self.events if e[:3] == ("object:state-changed:showing", 1, "notification")
                         and re.fullmatch(pattern, e[3])), None)
        return self.wait_for(probe, "notification %r" % pattern)

    def focused(self, role, pattern):
        """Waits until the object last focused is of the role and its name matches the pattern."""
        def probe():
            last = [e for e in self.events if e[:2] == ("object:state-changed:focused", 1)][-1:]
            return last and last[0][2] == role and re.fullmatch(pattern, last[0][3]) and last[0][3]
        return self.wait_for(probe, "focus on %s %r" % (role, pattern))

    def close(self):
        self.game.send_signal(signal.SIGTERM)
        try:
            self.game.wait(10)
        except subprocess.TimeoutExpired:
            self.game.kill()
        self.errors.seek(0)
        errors = self.errors.read()
        self.errors.close()
        shutil.rmtree(self.home, ignore_errors=True)
        return errors


def check(condition, message):
    if not condition:
        raise Failure(message)


def play(c):
    # Roll! has the focus at the start; the window gets the keyboard.
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(c.game.pid)],
                            capture_output=True, text=True, timeout=WAIT, check=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=WAIT)
    roll = c.wait_for(lambda: c.find("push button", "Roll!"), "Roll!")
    check(roll.get_description() == "Dice not rolled yet; 3 rolls left", roll.get_description())

    # A roll: the faces and the rolls left are said and stay readable.
    c.key("space")
    news = c.said(r"%s(, %s){4}; 2 rolls left" % (FACE, FACE))
    faces = news.split(";")[0].split(", ")
    check(roll.get_description() == news, "Roll! reads %r after %r" % (roll.get_description(), news))
    for i, face in enumerate(faces):
        check(c.find("check box", "Die %d: %s, not held" % (i + 1, face)), "die %d is not %s" % (i + 1, face))

    # A hold and a release of die 3.
    c.key("3")
    c.said("Die 3: %s, held" % faces[2])
    die = c.find("check box", "Die 3: .*")
    check(die.get_state_set().contains(Atspi.StateType.CHECKED), "die 3 does not read as checked")
    c.key("3")
    c.said("Die 3: %s, not held" % faces[2])

    # Tab onto the card: the box under the cursor has the focus, and Right
    # moves it; each box reads its preview.
    c.key("Tab")
    c.focused("table cell", r"Ones, column 1: open, this throw scores \d+")
    c.key("Right")
    twos = c.focused("table cell", r"Ones, column 2: open, this throw scores \d+")
    score = int(twos.rsplit(" ", 1)[1])
    check(score == 1 * faces.count("one"), "%r for faces %r" % (twos, faces))

    # The entry: the box and the grand total are said, the focus goes back to Roll!.
    c.key("Return")
    c.said(r"Ones, column 2: %d; grand total %d" % (score, 2 * score))
    c.focused("push button", "Roll!")

    # Every number stays readable, and the card is a table with headers.
    upper = c.find("table", "Upper section")
    table = upper
    check((Atspi.Table.get_n_rows(table), Atspi.Table.get_n_columns(table)) == (6, 3), "upper section not 6 x 3")
    cell = Atspi.Table.get_accessible_at(table, 0, 1)
    check(cell.get_name() == "Ones, column 2: %d" % score, cell.get_name())
    check(Atspi.Table.get_column_description(table, 1) == "column 2", "no column header")
    check(Atspi.Table.get_row_description(table, 5) == "Sixes", "no row header")
    check(c.find("table cell", "Total, column 2: %d" % score), "no upper total")
    check(c.find("label", "Grand Total: %d" % (2 * score)), "no grand total")


def main():
    c = Client(sys.argv[1])
    try:
        c.app = c.wait_for(c.find_app, "the game on the accessibility bus")
        play(c)
    except Failure as failure:
        print("FAIL:", failure)
        print("stderr of the game:", c.close())
        return 1
    errors = c.close()
    # Events the bridge cannot carry show as warnings; none may be sent.
    for bad in ("no ValueInterface", "AddressSanitizer", "runtime error"):
        if bad in errors:
            print("FAIL: the game's stderr shows %r:\n%s" % (bad, errors))
            return 1
    print("PASS")
    return 0


if __name__ == "__main__":
    sys.exit(main())
