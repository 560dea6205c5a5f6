#!/usr/bin/env python3
"""The updater at a display scale of 144 DPI (a Wine prefix whose LogPixels
is 144): a whole update, with the main window laid out at the scale, read
from outside, and the manifest's per-monitor awareness in force.

  e2e_dpi.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
import os

DPI = 144
# Every Wine program of this script (updater, uia, server helpers) runs in the
# prefix at that scale, beside the one the test run uses.
os.environ["WINE_DPI"] = str(DPI)
os.environ["WINEPREFIX"] = os.environ.get(
    "WINEPREFIX", os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build", "wineprefix")) + f"-dpi{DPI}"

from e2e_support import *  # noqa: E402,F401,F403
from run_e2e import read_window  # noqa: E402


def px(length):
    """A 96-DPI length at the scale, rounded half away from zero."""
    return (length * DPI + 48) // 96


def place(left, top, width, height):
    """A control of the main form's table as the scale places it: each edge scaled."""
    return (px(left), px(top), px(left + width) - px(left), px(top + height) - px(top))


class ScaledUpdate(E2eCase):
    def test_an_update_at_144_dpi_lays_the_window_out_at_the_scale(self):
        s = self.scenario()
        s.run()
        found, _ = uia("wait", CAPTION)
        self.assertTrue(found, s.log_tail())
        title, controls = read_window(s)
        self.assertEqual(title, "软件自动更新")
        # The progress bar full, the change-log box, a label, each at its scaled place.
        progress = controls.get(("msctls_progress32", *place(38, 50, 418, 32)))
        self.assertIsNotNone(progress, sorted(controls))
        self.assertEqual(progress[2], 100)
        self.assertIn(("Edit", *place(37, 158, 419, 79)), controls)
        self.assertIn(("Static", *place(43, 89, 64, 15)), controls)
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(sha(s.path("Norvane.exe")), sha(s.new_program))
        # The manifest made the program per-monitor aware: no run-time fallback was needed.
        self.assertFalse([line for line in s.log_lines() if "display scale:" in line], s.log_tail())


if __name__ == "__main__":
    main()
