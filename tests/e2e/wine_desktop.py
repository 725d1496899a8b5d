"""A private X desktop for driving identstrip.exe under Wine.

Each WineDesktop starts its own Xvfb, starts the program under Wine on it,
presses keys and clicks with xdotool, and reads what the window shows with
window_probe.exe, a small Windows program run in the same Wine prefix (the
accessibility bus does not see Windows programs). When it closes, it ends the
prefix's Wine processes and the X server.
"""

import os
import shutil
import subprocess
import tempfile
import time

WINDOW_CAPTION = "Strip IDENTs from TXD/TXA"
INPUT_ENTRY, INPUT_CHOOSER, OUTPUT_ENTRY, OUTPUT_CHOOSER, PROGRESS_BAR = 102, 103, 105, 106, 108
CHOOSER_TITLES = ("Choose an Input TXD/TXA Clarion Text File",
                  "Choose an Output TXD Text Dictionary File")
TIMEOUT = 60.0


def wait_for(what, condition, timeout=TIMEOUT, interval=0.1):
    """Polls condition() until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f"gave up waiting for {what}")
        time.sleep(interval)


def windows_path(path):
    """The path as Windows programs under Wine see it: drive Z: is the root."""
    return "Z:" + path.replace("/", "\\")


class Control:
    def __init__(self, fields):
        self.id = int(fields[1])
        self.kind = fields[2]
        self.visible, self.enabled, self.focused = (f == "1" for f in fields[3:6])
        self.left, self.top, self.width, self.height = (int(v) for v in fields[6].split())
        self.text = fields[7] if len(fields) > 7 else ""


class Shown:
    """One reading of a window: its place, whether it is active, its controls."""

    def __init__(self, lines):
        head = lines[0].split("\t")
        self.left, self.top, self.width, self.height = (int(v) for v in head[1].split())
        self.active = head[2] == "1"
        self.caption = head[3] if len(head) > 3 else ""
        self.controls = {}
        for line in lines[1:]:
            control = Control(line.split("\t"))
            self.controls.setdefault(control.id, control)


class WineDesktop:
    def __init__(self, program, probe, wine_run, prefix):
        self.program, self.probe, self.wine_run, self.prefix = program, probe, wine_run, prefix
        self.folder = tempfile.mkdtemp(prefix="identstrip-wine-e2e-")
        self._server = None
        self.process = None
        self._start_x_server()
        # A Wine server left from an earlier run would still speak to its display.
        self._wineserver_kill()

    def _start_x_server(self):
        read_end, write_end = os.pipe()
        self._server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise AssertionError("Xvfb did not start")
        self.env = dict(os.environ, DISPLAY=":" + number)
        self.env.pop("WAYLAND_DISPLAY", None)

    def _wineserver_kill(self):
        subprocess.run(["wineserver", "-k"], env=dict(self.env, WINEPREFIX=self.prefix),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def close(self):
        if self.process is not None and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self._wineserver_kill()
        if self._server is not None:
            self._server.kill()
            self._server.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    # -- the program ---------------------------------------------------------

    def start(self):
        """Starts the program in the desktop's folder and waits for its window."""
        # Wine's own background processes inherit the standard streams: keep
        # them off pipes that the test would wait on.
        self._log = open(os.path.join(self.folder, "wine.log"), "wb")
        self.process = subprocess.Popen(
            [self.wine_run, "--prefix=" + self.prefix, self.program], cwd=self.folder,
            env=self.env, stdin=subprocess.DEVNULL, stdout=self._log, stderr=self._log)
        wait_for("the window with the focus in the input entry",
                 lambda: self.focused_entry() == 0)
        return self

    def wait_exit(self, timeout=TIMEOUT):
        code = self.process.wait(timeout=timeout)
        self._log.close()
        return code

    def path(self, name):
        return os.path.join(self.folder, name)

    # -- what the windows show -------------------------------------------------

    def show(self, caption=WINDOW_CAPTION):
        """A reading of the top-level window with that caption, or None."""
        done = subprocess.run([self.wine_run, "--prefix=" + self.prefix, self.probe, "show",
                               caption], env=self.env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, errors="replace")
        lines = [line for line in done.stdout.replace("\r", "").split("\n") if line]
        if done.returncode != 0 or not lines:
            return None
        return Shown(lines)

    def _main(self):
        shown = self.show()
        if shown is None:
            raise AssertionError("the main window is gone")
        return shown

    def entry_texts(self):
        controls = self._main().controls
        return [controls[INPUT_ENTRY].text, controls[OUTPUT_ENTRY].text]

    def focused_entry(self):
        """0 for the input entry, 1 for the output entry, None for neither."""
        shown = self.show()
        if shown is None:
            return None
        for index, number in enumerate((INPUT_ENTRY, OUTPUT_ENTRY)):
            if shown.controls[number].focused:
                return index
        return None

    def progress_showing(self):
        return self._main().controls[PROGRESS_BAR].visible

    def message(self):
        """(caption, lines of text) of the message box, or None."""
        box = self.show("Convert file")
        if box is None:
            return None
        texts = [c.text for c in box.controls.values() if c.kind.lower() == "static" and c.text]
        return box.caption, "\n".join(texts).replace("\\r", "").splitlines()

    # -- the user's hands ------------------------------------------------------

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self.env, check=True)

    def key(self, *keys):
        self._xdotool("key", *keys)

    def type(self, text):
        self._xdotool("type", "--delay", "5", text)

    def click_at(self, x, y):
        self._xdotool("mousemove", "--sync", str(x), str(y), "click", "1")

    def click_button(self, text):
        for control in self._main().controls.values():
            if control.kind.lower() == "button" and control.text == text:
                self.click_at(control.left + control.width // 2, control.top + control.height // 2)
                return
        raise AssertionError(f"no button {text!r}")

    def click_control(self, number):
        control = self._main().controls[number]
        self.click_at(control.left + control.width // 2, control.top + control.height // 2)

    def choose_file(self, chooser, path):
        """Presses a folder button (0 input, 1 output) and names the file in the chooser."""
        self.click_control((INPUT_CHOOSER, OUTPUT_CHOOSER)[chooser])
        title = CHOOSER_TITLES[chooser]
        wait_for("the file chooser", lambda: self.show(title) is not None)
        # The chooser opens with the focus in its name box.
        self.type(path)
        self.key("Return")
        wait_for("the chooser to close", lambda: self.show(title) is None)

    def click_close_box(self):
        """Clicks the close box that Wine draws at the right of the title bar."""
        shown = self._main()
        self.click_at(shown.left + shown.width - 12, shown.top + 12)

    def fill_in(self, input_name, output_name):
        """Types both names, the input into the focused input entry, Tab twice to the output."""
        wait_for("the focus in the input entry", lambda: self.focused_entry() == 0)
        self.key("ctrl+a", "BackSpace")
        self.type(input_name)
        self.key("Tab", "Tab")
        wait_for("the focus in the output entry", lambda: self.focused_entry() == 1)
        self.key("ctrl+a", "BackSpace")
        self.type(output_name)
        wait_for("both names typed", lambda: self.entry_texts() == [input_name, output_name])
