"""The real identstrip program on a real X server, driven by keys and clicks."""

import os
import subprocess
import unittest

from desktop import Desktop, wait_for
from e2e_files import SLICE, numbered_lines, read, write

PROGRAM = os.environ["IDENTSTRIP"]
DATA = os.environ["IDENTSTRIP_TEST_DATA"]


class WindowTest(unittest.TestCase):
    window_manager = False

    def setUp(self):
        self.desktop = Desktop(PROGRAM, window_manager=self.window_manager)
        self.addCleanup(self.desktop.close)
        self.folder = self.desktop.folder

    def path(self, name):
        return os.path.join(self.folder, name)

    def start(self):
        return self.desktop.start()


class ConversionTest(WindowTest):
    def test_converts_typed_names_on_enter_and_returns_to_the_idle_look(self):
        desktop = self.start()
        self.assertEqual(desktop.entry_texts(), ["", ""])
        self.assertFalse(desktop.progress_showing())
        for source, expected in (("customers.txd", "customers_expected.txd"),
                                 ("orders.txa", "orders_expected.txa")):
            with self.subTest(source):
                write(self.path(source), read(os.path.join(DATA, source)))
                output = self.path("converted-" + source)
                desktop.fill_in(self.path(source), output)
                desktop.key("Return")
                wait_for("the idle look", lambda: desktop.entry_texts() == ["", ""])
                self.assertFalse(desktop.progress_showing())
                self.assertEqual(desktop.focused_entry(), 0)
                self.assertEqual(read(output), read(os.path.join(DATA, expected)))
        desktop.key("Escape")
        self.assertEqual(desktop.wait_exit(), 0)

    def test_choosing_the_input_proposes_the_output_beside_it(self):
        os.mkdir(self.path("data.old"))
        source = self.path("data.old/Sales.txd")
        write(source, read(os.path.join(DATA, "customers.txd")))
        desktop = self.start()
        desktop.choose_file(0, source)
        wait_for("the proposal", lambda: desktop.entry_texts() == [
            source, self.path("data.old/SalesNI.txd")])
        desktop.click_button("Convert File")
        wait_for("the idle look", lambda: desktop.entry_texts() == ["", ""])
        self.assertEqual(read(self.path("data.old/SalesNI.txd")),
                         read(os.path.join(DATA, "customers_expected.txd")))
        desktop.click_button("Cancel/Exit")
        self.assertEqual(desktop.wait_exit(), 0)

    def test_a_failed_start_shows_its_message_and_keeps_both_names(self):
        write(self.path("Sales.txd"), read(os.path.join(DATA, "customers.txd")))
        sales = self.path("Sales.txd")
        cases = [
            ("missing input", self.path("Missing.txd"), self.path("SalesNI.txd"),
             ["File not found!"]),
            ("output in a missing folder", sales, self.path("NoFolder/SalesNI.txd"),
             ["An unexpected Error: 3 occured,",
              "opening: " + self.path("NoFolder/SalesNI.txd") + "!"]),
            ("output onto the input", sales, sales,
             ["An unexpected Error: 5 occured,", "opening: " + sales + "!"]),
        ]
        desktop = self.start()
        for name, input_name, output_name, text in cases:
            with self.subTest(name):
                desktop.fill_in(input_name, output_name)
                desktop.key("Return")
                caption, lines = wait_for("the message box", desktop.message)
                self.assertEqual(caption, "Convert file")
                self.assertEqual(lines, text)
                desktop.dismiss_message()
                self.assertEqual(desktop.entry_texts(), [input_name, output_name])
                self.assertFalse(desktop.progress_showing())
                wait_for("the focus back in the input entry",
                         lambda: desktop.focused_entry() == 0)
                self.assertFalse(os.path.exists(self.path("SalesNI.txd")))
                self.assertEqual(read(sales), read(os.path.join(DATA, "customers.txd")))
        desktop.key("Escape")
        self.assertEqual(desktop.wait_exit(), 0)


class ClosingTest(WindowTest):
    LINES = 300_000  # some thousand ticks: far longer than the test needs to close

    def close_mid_run(self, close):
        write(self.path("Big.txa"), numbered_lines(self.LINES))
        output = self.path("BigNI.txa")
        desktop = self.start()
        desktop.fill_in(self.path("Big.txa"), output)
        desktop.key("Return")
        wait_for("the running look", desktop.progress_showing)
        wait_for("a few slices", lambda: os.path.getsize(output) > 0 if os.path.exists(
            output) else False)
        close(desktop)
        self.assertEqual(desktop.wait_exit(), 0)
        self.assertEqual(desktop.process.stderr.read(), b"")
        kept = read(output)
        lines = kept.count(b"\r\n")
        self.assertGreater(lines, 0)
        self.assertLess(lines, self.LINES, "closing must not wait for the end of the job")
        self.assertEqual(lines % SLICE, 0, "whole slices only")
        self.assertEqual(kept, numbered_lines(lines))

    def test_escape_in_the_middle_of_a_large_conversion(self):
        self.close_mid_run(lambda desktop: desktop.key("Escape"))

    def test_cancel_exit_in_the_middle_of_a_large_conversion(self):
        self.close_mid_run(lambda desktop: desktop.click_button("Cancel/Exit"))


class ClosingWithWindowManagerTest(ClosingTest):
    window_manager = True

    def test_alt_f4_in_the_middle_of_a_large_conversion(self):
        self.close_mid_run(lambda desktop: desktop.key("alt+F4"))

    def test_the_close_box_in_the_middle_of_a_large_conversion(self):
        self.close_mid_run(lambda desktop: desktop.click_close_box())

    # The window's own close requests are covered without a window manager.
    test_escape_in_the_middle_of_a_large_conversion = None
    test_cancel_exit_in_the_middle_of_a_large_conversion = None


class NoDisplayTest(unittest.TestCase):
    def test_without_a_display_the_program_says_so_in_one_line(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        result = subprocess.run([PROGRAM], env=env, capture_output=True, text=True, timeout=30)
        self.assertNotEqual(result.returncode, 0)
        self.assertEqual(result.stdout, "")
        lines = result.stderr.splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn("identstrip-cli", lines[0])
        self.assertIn("make screenshot", lines[0])


if __name__ == "__main__":
    unittest.main()
