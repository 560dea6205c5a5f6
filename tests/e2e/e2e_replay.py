#!/usr/bin/env python3
"""End-to-end tests of signed manifests that cannot be replayed: the version
floor kept in updater.state, the manifest's publish and expiry times, one
verified manifest per run, and a second release key.

  e2e_replay.py SOURCE_DIR BIN_DIR [unittest arguments]
"""
import datetime

from e2e_support import *  # noqa: F401,F403

sys.path.insert(0, os.path.join(SOURCE, "tools"))
import publish_manifest  # noqa: E402

SECOND_TEST_KEY = os.path.join(SOURCE, "tests", "e2e", "test_release_key2.pem")
FRESH_UPDATER = os.path.join(TEST_ONLY, "updater_TESTKEY_FRESH_DO_NOT_SHIP.exe")
TIME_FORMAT = "%Y-%m-%dT%H:%M:%SZ"


def utc(days_from_now):
    when = datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(days=days_from_now)
    return when.strftime(TIME_FORMAT)


def times(published_days, expires_days):
    """The two freshness fields, in days from now."""
    return {"发布时间": utc(published_days), "有效期": utc(expires_days)}


class ReplayedManifests(E2eCase):
    def signed(self, fields=None, **kwargs):
        kwargs.setdefault("key", TEST_KEY)
        return self.scenario(fields, signed_build=True, **kwargs)

    def install(self, s):
        s.run()
        s.answer(CAPTION, IDNO, MAIN_QUESTION)
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), sha(s.new_program))
        self.assertFalse(os.path.exists(s.path("Norvane.exe.tmp")))

    def refused_as_server_failure(self, s, *logged):
        old_sha = s.sha()
        downloads = len(s.downloads())
        s.run()
        s.answer(CAPTION, IDOK, SERVER_FAILURE)
        self.assertEqual(s.wait(), 0)
        self.assert_untouched(s, old_sha)
        self.assertEqual(len(s.downloads()), downloads)
        self.assert_logged(s, *logged)

    def state(self, s):
        with open(s.path("updater.state"), "rb") as f:
            return f.read().decode("ascii").split("\r\n")

    def test_after_an_update_older_versions_and_older_publications_are_refused(self):
        published = utc(-1)
        s = self.signed({"发布时间": published, "有效期": utc(29)})
        self.install(s)
        self.assertEqual(self.state(s), ["floor=2.0", f"published={published}", ""])
        self.assert_logged(s, "floor: none, newest accepted manifest published none", "missing: a first run",
                           f"manifest times: published {published}",
                           f"state: floor 2.0, newest manifest published {published}")
        installed = s.sha()

        # config.ini still says 1.0: only the floor knows 2.0 is installed.
        s.write_manifest(fields={"版本": "1.5", "发布时间": published, "有效期": utc(29)})
        s.run()
        self.assertEqual(s.wait(), 0)
        self.assertEqual(s.sha(), installed)
        self.assert_logged(s, "floor: 2.0, newest accepted manifest published " + published,
                           "decision: no downgrade, the signed release is older than the installed one "
                           "(local version 1.0, latest version 1.5, floor 2.0)")

        # A newer version, but signed before the manifest already accepted.
        s.write_manifest(fields={"版本": "3.0", "发布时间": utc(-2), "有效期": utc(28)})
        self.refused_as_server_failure(
            s, "signed manifest refused: it was published before the newest manifest accepted here",
            f"newest accepted {published}")
        self.assertEqual(s.sha(), installed)
        self.assertEqual(self.state(s), ["floor=2.0", f"published={published}", ""])

    def test_an_expired_manifest_is_refused(self):
        s = self.signed(times(-40, -10))
        self.refused_as_server_failure(s, "signed manifest refused: it has expired", "decision: server failure")
        self.assertFalse(os.path.exists(s.path("updater.state")))

    def test_a_manifest_signed_by_the_second_key_is_installed(self):
        s = self.signed(key=SECOND_TEST_KEY)
        self.install(s)
        lines = s.log_lines()
        self.assertEqual(sum("signature: verified with the built-in public key 2 of 2" in line for line in lines), 2)

    def test_a_manifest_signed_by_an_unknown_key_is_refused(self):
        s = self.signed()
        s.key = os.path.join(s.root, "unknown.pem")
        subprocess.run(["python3", os.path.join(SOURCE, "tools", "publish_manifest.py"), "keygen", s.key],
                       check=True, stdout=subprocess.DEVNULL)
        s.write_manifest()
        self.refused_as_server_failure(
            s, "signature: the signature does not match the manifest and any of the 2 built-in public keys")

    def test_a_second_fetch_that_differs_stops_the_update(self):
        # Both manifests are signed and fresh; the second names another
        # version and another address.
        s = self.signed()
        later = os.path.join(s.root, "later")
        os.makedirs(later)
        shutil.copy(s.new_program, os.path.join(later, "Other.exe"))
        s.write_manifest(os.path.join(later, "GX.txt"),
                         {"版本": "3.0", "地址": f"http://127.0.0.1:{s.port}/Other.exe"})
        s.start_server(["--later-manifest", later])
        self.refused_as_server_failure(s, "update refused: the second manifest (")
        self.assertEqual([r["path"] for r in s.requests()], ["/GX.txt", "/GX.sig", "/GX.txt", "/GX.sig"])
        self.assert_logged(s, "is not byte for byte the first verified one")

    def test_a_non_numeric_version_is_refused(self):
        s = self.signed()
        s.key = None
        s.write_manifest(fields={"版本": "2.0b"})
        key = publish_manifest.load_key(TEST_KEY)
        with open(os.path.join(s.served, "GX.txt"), "rb") as f:
            signature = publish_manifest.signature_text(key, f.read())
        with open(os.path.join(s.served, "GX.sig"), "w") as f:
            f.write(signature)
        self.refused_as_server_failure(s, "signature: verified",
                                       'signed manifest refused: its version [版本] "2.0b" is not dot-separated')

    def test_a_state_file_that_cannot_be_written_does_not_stop_the_update(self):
        s = self.signed()
        os.makedirs(s.path("updater.state"))
        self.install(s)
        self.assert_logged(s, "renamed into place", "updater.state could not be written (error ",
                           "the update stands, the floor stays none")
        self.assertFalse(os.path.exists(s.path("updater.state.new")))

    def test_freshness_fields_required_or_accepted_without(self):
        without = {"发布时间": None, "有效期": None}
        s = self.signed(without)
        shutil.copy(FRESH_UPDATER, s.path("updater.exe"))
        self.refused_as_server_failure(
            s, "signature: verified with the built-in public key 1 of 1",
            "signed manifest refused: it has no [发布时间] and [有效期], which this updater requires")

        s = self.signed(without)
        self.install(s)
        self.assert_logged(s, "manifest times: none ([发布时间] and [有效期] are missing); accepted")
        self.assertEqual(self.state(s), ["floor=2.0", ""])

    def test_an_unsigned_build_keeps_its_behaviour(self):
        s = self.scenario({"版本": "2.0b", **times(-40, -10)})
        self.install(s)
        self.assert_logged(s, "its version floor and freshness are not enforced")
        self.assertFalse(os.path.exists(s.path("updater.state")))


if __name__ == "__main__":
    main()
