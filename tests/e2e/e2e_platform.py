#!/usr/bin/env python3
"""End-to-end tests of what a real Windows machine would do differently from
a plain run: an installation directory the updater cannot write, programs
of the same name elsewhere, and a start command that nothing can hijack.

  e2e_platform.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
from e2e_support import *  # noqa: F401,F403

NOT_WRITABLE = "安装目录不可写，无法更新！请检查目录权限后重新更新 BY:Halvord"
FORM_CLASS = "UpdaterForm"


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class PlatformEndToEnd(E2eCase):
    def run_updater(self, s, **env):
        """Scenario.run with more environment variables."""
        s.updater = subprocess.Popen([WINE_RUN, os.path.join(s.install, "updater.exe")],
                                     env=dict(os.environ, UPDATER_HOST=s.host, **env),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def start_window_program(self, path, title):
        """Starts a copy of runtime_probe.exe (a window titled `title`, until
        it is ended) at `path`, and waits until its window is shown."""
        if path != os.path.join(BIN, "runtime_probe.exe"):
            shutil.copy(os.path.join(BIN, "runtime_probe.exe"), path)
        running = subprocess.Popen([WINE_RUN, path, "form-with-worker", title],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.end, running)
        end = "\\" + "\\".join(path.split("/")[-2:])
        found, _ = uia("window", FORM_CLASS, "20000", end)
        self.assertTrue(found, f"{path} showed no window")
        return running

    @staticmethod
    def end(process):
        if process.poll() is None:
            process.kill()
        process.wait()

    def make_immutable(self, directory):
        """chattr +i: not even root can create, delete or rename an entry of
        the directory. Skips the test where that cannot be had."""
        result = subprocess.run(["chattr", "+i", directory], capture_output=True, text=True)
        if result.returncode != 0:
            self.skipTest(f"chattr +i is not supported here ({result.stderr.strip()}); "
                          "an unwritable directory cannot be made for root")
        self.addCleanup(subprocess.run, ["chattr", "-i", directory], check=True)
        try:
            open(os.path.join(directory, "probe-from-the-test"), "wb").close()
        except OSError:
            return
        os.remove(os.path.join(directory, "probe-from-the-test"))
        self.skipTest("chattr +i did not stop root from creating a file here")

    def listing(self, directory):
        return {name: sha(os.path.join(directory, name)) for name in os.listdir(directory)}

    def test_unwritable_directory_restarts_elevated_once_then_changes_nothing(self):
        s = self.scenario()
        client = self.start_window_program(s.path("Norvane.exe"), "installed client")
        before = self.listing(s.install)
        self.make_immutable(s.install)
        s.run()
        # The first copy finds the directory unwritable, starts the elevated
        # copy (under Wine "runas" needs no consent) and ends by itself; the
        # elevated copy cannot write either and says so.
        self.assertEqual(s.wait(), 0)
        s.answer(CAPTION, IDOK, NOT_WRITABLE)
        self.assertIsNone(client.poll(), "the running client was stopped")
        self.assertEqual(self.listing(s.install), before)
        # One manifest per copy; no download.
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt", "/GX.txt"])

    def test_only_the_client_of_the_installation_is_stopped(self):
        s = self.scenario()
        elsewhere = os.path.join(s.root, "elsewhere")
        os.makedirs(elsewhere)
        other = self.start_window_program(os.path.join(elsewhere, "Norvane.exe"), "other client")
        titled = self.start_window_program(os.path.join(BIN, "runtime_probe.exe"), "Norvane.exe")
        installed = self.start_window_program(s.path("Norvane.exe"), "installed client")
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(installed.wait(timeout=10), 0)  # ended by the update, before the rename
        self.assertEqual(sha(s.path("Norvane.exe")), sha(s.new_program))
        self.assertIsNone(other.poll(), "a Norvane.exe of another directory was stopped")
        self.assertIsNone(titled.poll(), "the owner of a window titled Norvane.exe was stopped")

    def start_and_expect_the_new_program(self, s, **env):
        self.run_updater(s, **env)
        s.answer(CAPTION, IDYES, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        deadline = time.time() + 20
        while not os.path.exists(s.path("started.txt")) and time.time() < deadline:
            time.sleep(0.2)
        self.assertTrue(os.path.exists(s.path("started.txt")), "the new program was not started")

    def test_a_cmd_exe_beside_the_program_is_not_run(self):
        s = self.scenario()
        # A console program that does nothing useful with "/d /c start ...".
        shutil.copy(os.path.join(BIN, "uia.exe"), s.path("cmd.exe"))
        self.start_and_expect_the_new_program(s)

    def test_a_variable_cd_runs_nothing_and_the_new_program_starts(self):
        s = self.scenario()
        pwned = os.path.join(s.root, "pwned.txt")
        self.start_and_expect_the_new_program(s, CD=f'x" & echo pwned > {windows_path(pwned)} & "')
        self.assertFalse(os.path.exists(pwned), "a command planted in CD ran")


if __name__ == "__main__":
    main()
