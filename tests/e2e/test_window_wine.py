"""identstrip.exe under Wine on a private X server, driven by keys and clicks."""

import os
import unittest

from wine_desktop import WineDesktop, wait_for, windows_path
from e2e_files import SLICE, numbered_lines, read, write

DATA = os.environ["IDENTSTRIP_TEST_DATA"]


class WineWindowTest(unittest.TestCase):
    def setUp(self):
        self.desktop = WineDesktop(os.environ["IDENTSTRIP_EXE"], os.environ["WINDOW_PROBE"],
                                   os.environ["WINE_RUN"], os.environ["WINE_GUI_PREFIX"])
        self.addCleanup(self.desktop.close)

    def path(self, name):
        return self.desktop.path(name)

    def test_converts_typed_names_on_enter_and_returns_to_the_idle_look(self):
        desktop = self.desktop.start()
        self.assertEqual(desktop.entry_texts(), ["", ""])
        self.assertFalse(desktop.progress_showing())
        for source, expected in (("customers.txd", "customers_expected.txd"),
                                 ("orders.txa", "orders_expected.txa")):
            with self.subTest(source):
                write(self.path(source), read(os.path.join(DATA, source)))
                output = "converted-" + source
                desktop.fill_in(windows_path(self.path(source)), windows_path(self.path(output)))
                desktop.key("Return")
                wait_for("the idle look", lambda: desktop.entry_texts() == ["", ""])
                self.assertFalse(desktop.progress_showing())
                self.assertEqual(desktop.focused_entry(), 0)
                self.assertEqual(read(self.path(output)), read(os.path.join(DATA, expected)))
        desktop.key("Escape")
        self.assertEqual(desktop.wait_exit(), 0)

    def test_a_missing_input_shows_file_not_found_and_keeps_both_names(self):
        desktop = self.desktop.start()
        names = [windows_path(self.path("Missing.txd")), windows_path(self.path("MissingNI.txd"))]
        desktop.fill_in(*names)
        desktop.key("Return")
        caption, lines = wait_for("the message box", desktop.message)
        self.assertEqual(caption, "Convert file")
        self.assertEqual(lines, ["File not found!"])
        desktop.key("Return")
        wait_for("the message box to close", lambda: desktop.message() is None)
        wait_for("the focus back in the input entry", lambda: desktop.focused_entry() == 0)
        self.assertEqual(desktop.entry_texts(), names)
        self.assertFalse(desktop.progress_showing())
        self.assertFalse(os.path.exists(self.path("MissingNI.txd")))
        desktop.click_button("Cancel/Exit")
        self.assertEqual(desktop.wait_exit(), 0)

    def test_choosing_the_input_proposes_the_output_beside_it(self):
        os.mkdir(self.path("data.old"))
        source = self.path("data.old/Sales.txd")
        write(source, read(os.path.join(DATA, "customers.txd")))
        desktop = self.desktop.start()
        desktop.choose_file(0, windows_path(source))
        wait_for("the proposal", lambda: desktop.entry_texts() == [
            windows_path(source), windows_path(self.path("data.old/SalesNI.txd"))])
        desktop.click_button("Convert File")
        wait_for("the idle look", lambda: desktop.entry_texts() == ["", ""])
        self.assertEqual(read(self.path("data.old/SalesNI.txd")),
                         read(os.path.join(DATA, "customers_expected.txd")))
        desktop.key("Escape")
        self.assertEqual(desktop.wait_exit(), 0)

    def test_the_close_box_in_the_middle_of_a_large_conversion(self):
        lines_in = 200_000  # some thousand ticks: far longer than the test needs to close
        write(self.path("Big.txa"), numbered_lines(lines_in))
        output = self.path("BigNI.txa")
        desktop = self.desktop.start()
        desktop.fill_in(windows_path(self.path("Big.txa")), windows_path(output))
        desktop.key("Return")
        wait_for("the running look", desktop.progress_showing)
        wait_for("a few slices", lambda: os.path.exists(output) and os.path.getsize(output) > 0)
        desktop.click_close_box()
        self.assertEqual(desktop.wait_exit(), 0)
        kept = read(output)
        count = kept.count(b"\r\n")
        self.assertGreater(count, 0)
        self.assertLess(count, lines_in, "closing must not wait for the end of the job")
        self.assertEqual(count % SLICE, 0, "whole slices only")
        self.assertEqual(kept, numbered_lines(count))


if __name__ == "__main__":
    unittest.main()
