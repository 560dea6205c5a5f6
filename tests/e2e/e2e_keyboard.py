#!/usr/bin/env python3
"""A whole update driven with the keyboard only: keys typed into the
foreground window through SendInput (uia.exe type), never a click and never a
mouse message.

  e2e_keyboard.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
from e2e_support import *  # noqa: F401,F403


class KeyboardOnlyUpdate(E2eCase):

    def type_into_box(self, s, keys, expected_text, caption=CAPTION):
        found, text = uia("type", "box", caption, keys)
        self.assertTrue(found, f"keys '{keys}' not typed into '{caption}'; {s.log_tail()}")
        self.assertEqual(text, flat(expected_text))

    def assert_answered(self, s, answer):
        self.assertEqual(s.wait(), 0)
        self.assertIn("answer: " + answer, [line.split("] ", 1)[-1] for line in s.log_lines()])

    def wait_for_file(self, path, seconds=20):
        deadline = time.time() + seconds
        while time.time() < deadline and not os.path.exists(path):
            time.sleep(0.2)
        return os.path.exists(path)

    def test_enter_on_the_default_yes_starts_the_new_program(self):
        s = self.scenario()
        s.run()
        self.type_into_box(s, "enter", MAIN_QUESTION)
        self.assert_answered(s, "Yes")
        self.assertEqual(s.sha(), sha(s.new_program))
        self.assertTrue(self.wait_for_file(s.path("started.txt")), "new program not started")

    def test_tab_to_no_and_enter_closes_without_starting(self):
        s = self.scenario()
        s.run()
        self.type_into_box(s, "tab,enter", MAIN_QUESTION)
        self.assert_answered(s, "No")
        self.assertEqual(s.sha(), sha(s.new_program))
        time.sleep(1)
        self.assertFalse(os.path.exists(s.path("started.txt")), "the new program was started")

    def test_enter_answers_the_error_boxes(self):
        with self.subTest(error="server failure"):
            s = self.scenario({"地址": None})
            old_sha = s.sha()
            s.run()
            self.type_into_box(s, "enter", SERVER_FAILURE)
            self.assert_answered(s, "OK")
            self.assert_untouched(s, old_sha)
        with self.subTest(error="download refused"):
            s = self.scenario(server_args=["--status", "404", "--fault-path", "/Norvane.exe"])
            old_sha = s.sha()
            s.run()
            self.type_into_box(s, "enter", "不能打开该URL!", caption="信息：")
            self.type_into_box(s, "enter", UPDATE_FAILED)
            self.assert_answered(s, "OK")
            self.assertEqual(s.sha(), old_sha)

    def test_alt_f4_closes_the_main_window(self):
        # With neither flag the window stays open after the manifest is read.
        s = self.scenario({"自动": "", "是否完整": ""})
        old_sha = s.sha()
        s.run()
        program = "\\".join([os.path.basename(s.root), "install", "updater.exe"])
        found, _ = uia("type", "window", "UpdaterForm", "alt+f4", program)
        self.assertTrue(found, f"keys not typed into the main window; {s.log_tail()}")
        self.assertEqual(s.wait(), 0)
        self.assert_logged(s, "the main window closed: exit code 0")
        self.assert_untouched(s, old_sha)
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt"])


if __name__ == "__main__":
    main()
