#!/usr/bin/env python3
"""Libraries planted in the installation directory under the names of the
system libraries the updater uses are never loaded into it.

Wine prefers its built-in libraries, which would hide a planted one; the
override below gives Windows' order, the program's directory first.

  e2e_library_search.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
from e2e_support import *  # noqa: F401,F403

PLANTED = ("gdiplus.dll", "wininet.dll", "msimg32.dll", "comctl32.dll", "bcrypt.dll")
WINDOWS_ORDER = dict(os.environ, WINEDLLOVERRIDES="gdiplus,wininet,msimg32,comctl32,bcrypt=n,b")


class PlantedLibraries(E2eCase):
    def plant(self, s):
        for name in PLANTED:
            shutil.copy(os.path.join(BIN, "planted", name), s.path(name))

    def markers(self, s):
        """The planted libraries whose code ran, each marker then removed."""
        ran = []
        for name in PLANTED:
            marker = s.path(name + ".loaded")
            if os.path.exists(marker):
                ran.append(name)
                os.remove(marker)
        return ran

    def test_planted_libraries_are_not_loaded_and_the_update_completes(self):
        s = Scenario(self, {})
        self.addCleanup(s.close)
        self.plant(s)
        # The control: the ordinary search, from the same directory and with
        # the same override, runs every planted library.
        loader = s.path("library_loader.exe")
        shutil.copy(os.path.join(BIN, "library_loader.exe"), loader)
        subprocess.run([WINE_RUN, loader, *PLANTED], env=WINDOWS_ORDER, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.assertEqual(self.markers(s), list(PLANTED))

        s.updater = subprocess.Popen([WINE_RUN, s.path("updater.exe")], env=dict(WINDOWS_ORDER, UPDATER_HOST=s.host),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        found, text = uia("press", CAPTION, str(IDNO))
        if found:
            self.assertEqual(s.wait(), 0)
        self.assertEqual(self.markers(s), [], "planted libraries ran inside the updater")
        self.assertTrue(found, "no question after the download")
        self.assertEqual(text, flat(MAIN_QUESTION))
        self.assertEqual(s.sha(), sha(s.new_program))
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))
        # The published checksum was checked, through the system's hashing library.
        self.assertIn(f"checksum: SHA-256 {sha(s.new_program)} matches", "\n".join(s.log_lines()))


if __name__ == "__main__":
    main()
