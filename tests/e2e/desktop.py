"""A private X desktop for driving the real identstrip program.

Each Desktop starts its own Xvfb (and, when asked, a light window manager),
starts the program on it, presses keys and clicks with xdotool, and reads what
the window shows through the accessibility bus, as a screen reader would. The
accessibility bus comes from the D-Bus session that the test runs in.
"""

import os
import shutil
import subprocess
import tempfile
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import GLib  # noqa: E402
import pyatspi  # noqa: E402

WINDOW_CAPTION = "Strip IDENTs from TXD/TXA"
TIMEOUT = 30.0


def wait_for(what, condition, timeout=TIMEOUT, interval=0.05):
    """Polls condition() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        # The accessibility client learns of new programs and windows from
        # bus signals, which it takes in only while its main loop turns.
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up waiting for {what}")
        time.sleep(interval)


def _walk(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from _walk(child)


def _showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


class Desktop:
    def __init__(self, program, window_manager=False):
        self.program = program
        self.folder = tempfile.mkdtemp(prefix="identstrip-e2e-")
        self._processes = []
        self.app = None
        try:
            self._start_x_server()
            if window_manager:
                self._start_window_manager()
        except BaseException:
            # The caller never gets the desktop to close: nothing may outlive it.
            self.close()
            raise

    # -- the X server and the window manager --------------------------------

    def _start_x_server(self):
        read_end, write_end = os.pipe()
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self._processes.append(server)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise AssertionError("Xvfb did not start")
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            self.env.pop(name, None)
        self.env.update({
            "DISPLAY": ":" + number,
            "XDG_RUNTIME_DIR": self.folder,
            # Qt speaks to the accessibility bus only when asked or when a
            # screen reader is running.
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
        })

    def _start_window_manager(self):
        # On a loaded machine openbox now and then gives up while it starts;
        # a window manager that has exited is started again rather than
        # waited for in vain.
        log_path = os.path.join(self.folder, "openbox.log")
        for attempt in range(3):
            with open(log_path, "w") as log:
                manager = subprocess.Popen(
                    ["openbox", "--sm-disable"], env=self.env,
                    stdout=subprocess.DEVNULL, stderr=log)
            self._processes.append(manager)
            running = wait_for("the window manager", lambda: (
                manager.poll() is not None and "exited" or
                "window id" in subprocess.run(
                    ["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                    capture_output=True, text=True).stdout and "running"))
            if running == "running":
                return
        with open(log_path) as log:
            raise AssertionError("the window manager did not start: " + log.read())

    def close(self):
        for process in reversed(self._processes):
            if process.poll() is None:
                process.kill()
            process.wait()
            for stream in (process.stdout, process.stderr):
                if stream is not None:
                    stream.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    # -- the program ---------------------------------------------------------

    def start(self):
        """Starts the program in the desktop's folder and waits for its window."""
        self.process = subprocess.Popen(
            [self.program], cwd=self.folder, env=self.env,
            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self._processes.append(self.process)
        self.window_id = wait_for("the window on the X server", lambda: self._x_window(
            WINDOW_CAPTION))
        self.app = wait_for("the program on the accessibility bus", self._find_app)
        wait_for("the main window on the accessibility bus", self._find_main_window)
        wait_for("the input entry to have the focus", lambda: self.focused_entry() == 0)
        return self

    def wait_exit(self, timeout=TIMEOUT):
        return self.process.wait(timeout=timeout)

    def _x_window(self, name):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + name + "$"],
                               env=self.env, capture_output=True, text=True).stdout.split()
        return found[0] if found else None

    def _find_app(self):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "identstrip":
                return app
        return None

    # -- what the window shows -----------------------------------------------

    def _nodes(self):
        self.app.clearCache()
        return list(_walk(self.app))

    def _find_main_window(self):
        for node in self._nodes():
            if node.getRoleName() in ("frame", "filler") and node.name == WINDOW_CAPTION:
                return node
        return None

    def _main_window(self):
        window = self._find_main_window()
        if window is None:
            raise AssertionError("the main window is gone")
        return window

    def _entries(self):
        entries = [n for n in _walk(self._main_window()) if n.getRoleName() == "text"]
        return sorted(entries, key=lambda n: n.queryComponent().getExtents(
            pyatspi.DESKTOP_COORDS).y)

    def entry_texts(self):
        """The texts shown by the input entry and the output entry."""
        return [n.queryText().getText(0, -1) for n in self._entries()]

    def focused_entry(self):
        """0 for the input entry, 1 for the output entry, None for neither."""
        for index, node in enumerate(self._entries()):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                return index
        return None

    def progress_showing(self):
        return any(n.getRoleName() == "progress bar" and _showing(n)
                   for n in _walk(self._main_window()))

    def message(self):
        """(caption, lines of text) of the message box on screen, or None."""
        for node in self._nodes():
            if node.getRoleName() in ("alert", "dialog") and _showing(node):
                labels = [n.name for n in _walk(node) if n.getRoleName() == "label" and n.name]
                return node.name, "\n".join(labels).splitlines()
        return None

    # -- the user's hands ------------------------------------------------------

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def click(self, node):
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        self._xdotool("mousemove", "--sync", str(box.x + box.width // 2),
                      str(box.y + box.height // 2), "click", "1")

    def click_entry(self, index):
        self.click(self._entries()[index])
        wait_for("the entry to take the focus", lambda: self.focused_entry() == index)

    def click_button(self, text):
        for node in _walk(self._main_window()):
            if node.getRoleName() == "push button" and node.name == text:
                self.click(node)
                return
        raise AssertionError(f"no button {text!r}")

    def choose_file(self, chooser, path):
        """Presses a folder button (0 input, 1 output) and names the file in the chooser."""
        buttons = [n for n in _walk(self._main_window())
                   if n.getRoleName() == "push button" and not n.name]
        self.focus_window()
        self.click(sorted(buttons, key=lambda n: n.queryComponent().getExtents(
            pyatspi.DESKTOP_COORDS).y)[chooser])
        titles = ("Choose an Input TXD/TXA Clarion Text File",
                  "Choose an Output TXD Text Dictionary File")
        dialog = wait_for("the file chooser", lambda: self._x_window(titles[chooser]))
        self.focus_window(dialog)
        self.type(path)
        self.key("Return")
        wait_for("the chooser to close", lambda: self._x_window(titles[chooser]) is None)

    def click_close_box(self):
        """Clicks the close box that the window manager draws at the right of the title bar."""
        extents = subprocess.run(["xprop", "-id", self.window_id, "_NET_FRAME_EXTENTS"],
                                 env=self.env, capture_output=True, text=True).stdout
        _, right, top, _ = (int(v) for v in extents.split("=")[1].split(","))
        box = self._main_window().queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        # The button is about as wide as the title bar is high.
        self._xdotool("mousemove", "--sync", str(box.x + box.width + right - top // 2),
                      str(box.y - top // 2), "click", "1")

    def focus_window(self, window_id=None):
        self._xdotool("windowfocus", "--sync", window_id or self.window_id)

    def type(self, text):
        self._xdotool("type", "--delay", "5", text)

    def key(self, *keys):
        self._xdotool("key", *keys)

    def fill_in(self, input_name, output_name):
        """Types both names into their entries, each after a click into it."""
        self.focus_window()
        self.click_entry(0)
        self.key("ctrl+a", "BackSpace")
        self.type(input_name)
        self.click_entry(1)
        self.key("ctrl+a", "BackSpace")
        self.type(output_name)
        wait_for("both names typed", lambda: self.entry_texts() == [input_name, output_name])

    def dismiss_message(self):
        box = wait_for("the message box's window", lambda: self._x_window("Convert file"))
        self.focus_window(box)
        self.key("Return")
        wait_for("the message box to close", lambda: self.message() is None)
        # Without a window manager nobody hands the keyboard back to the main
        # window when the box goes away.
        self.focus_window()
