#include <gtest/gtest.h>

#include "app/manifest_core.h"
#include "app/transfer_stats_core.h"

TEST(Manifest, CutsEveryFieldByItsMarkers) {
    const Text text =
        "[文件名]Player[/文件名][版本]2.1[/版本][地址]http://h/a.exe[/地址][地址]http://other[/地址]"
        "[自动]真[/自动][是否完整]假[/是否完整][完整]http://h/setup.exe[/完整]"
        "[mal]a&nbsp;b&NBSP;c[/mal][MAL]ignored[/MAL]";
    UpdateManifest m = CutManifest(text);
    EXPECT_EQ(m.latestVersion, "2.1");
    EXPECT_EQ(m.updateAddress, "http://h/a.exe");  // the first one wins
    EXPECT_EQ(m.fileName, "Player.exe");
    EXPECT_EQ(m.changeLog, "ab&NBSP;c");
    EXPECT_TRUE(IsTrueText(m.autoUpdate));
    EXPECT_FALSE(IsTrueText(m.fullUpdate));
    EXPECT_EQ(m.fullPackageAddress, "http://h/setup.exe");

    UpdateManifest empty = CutManifest("[版本]2.1");
    EXPECT_EQ(empty.latestVersion, "");
    EXPECT_EQ(empty.fileName, ".exe");

    UpdateManifest again = m;
    RecutManifest("[文件名]Player[/文件名][版本]3[/版本]", again);
    EXPECT_EQ(again.fileName, "Player");  // no ".exe" on the second cut
    EXPECT_EQ(again.latestVersion, "3");
    EXPECT_EQ(again.updateAddress, "");
}

TEST(Manifest, InformationTextKeepsTheBannersByteForByte) {
    UpdateManifest m;
    m.fileName = "Norvane.exe";
    m.latestVersion = "2.0";
    m.changeLog = "修复";
    m.updateAddress = "http://h/Norvane.exe";
    EXPECT_EQ(InformationText(m, "1.0"),
              Text(24, '-') + "文件版本信息" + Text(23, '-') + "\r\n文件名称：Norvane.exe | 当前版本：1.0 | 最新版本：2.0\r\n" +
                  Text(24, '-') + " 更新日志 " + Text(24, '-') + "\r\n修复\r\n" + Text(26, '-') + "更新地址" +
                  Text(23, '-') + "\r\nhttp://h/Norvane.exe");
}

TEST(Manifest, DecisionOrder) {
    UpdateManifest m;
    m.latestVersion = "2.0";
    m.autoUpdate = "真";
    m.fullUpdate = "真";
    EXPECT_EQ(DecideUpdateKind("", "1.0", m), UpdateDecision::ServerFailure);
    EXPECT_EQ(DecideUpdateKind("http://x", "2.0", m), UpdateDecision::UpToDate);
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m), UpdateDecision::MainExecutable);
    EXPECT_EQ(DecideUpdateKind("http://x", "", m), UpdateDecision::MainExecutable);
    m.autoUpdate = "";
    EXPECT_EQ(DecideUpdateKind("http://x", "2.0.0", m), UpdateDecision::FullInstaller);
    m.fullUpdate = "true";
    EXPECT_EQ(DecideUpdateKind("http://x", "1.10", m), UpdateDecision::Idle);
    EXPECT_EQ(ManifestUrl("127.0.0.1:8080"), "http://127.0.0.1:8080/GX.txt");
}

TEST(Versions, DotSeparatedNumbersCompareAsNumbers) {
    EXPECT_GT(CompareVersions("1.10", "1.9"), 0);
    EXPECT_LT(CompareVersions("1.9", "1.10"), 0);
    EXPECT_EQ(CompareVersions("2.0", "2.0"), 0);
    EXPECT_GT(CompareVersions("2.0", "1.99.9"), 0);
    EXPECT_LT(CompareVersions("1.99.9", "2.0"), 0);
    EXPECT_EQ(CompareVersions("2", "2.0.0"), 0);  // a missing part is 0
    EXPECT_LT(CompareVersions("2.0", "2.0.1"), 0);
    EXPECT_EQ(CompareVersions("1.010", "1.10"), 0);
    // Longer than any machine integer, and differing only in the last digit.
    EXPECT_LT(CompareVersions("1.99999999999999999999998", "1.99999999999999999999999"), 0);
    EXPECT_GT(CompareVersions("100000000000000000000.0", "99999999999999999999.9"), 0);
}

TEST(Versions, AnythingElseComparesItsBytes) {
    for (const Text& other : {Text(""), Text("2.0b"), Text("v2"), Text("2..0"), Text(".2"), Text("2."),
                              Text("2.0 "), Text("版本2")}) {
        EXPECT_FALSE(IsNumericVersion(other)) << other;
    }
    EXPECT_TRUE(IsNumericVersion("0"));
    EXPECT_TRUE(IsNumericVersion("10.0.3"));
    // Byte order: "1.10a" is below "1.9a" although 1.10 > 1.9 as numbers.
    EXPECT_LT(CompareVersions("1.10a", "1.9a"), 0);
    EXPECT_GT(CompareVersions("2.0b", "2.0"), 0);
    EXPECT_EQ(CompareVersions("beta", "beta"), 0);
    EXPECT_LT(CompareVersions("1.0", "1.0 "), 0);
    // Bytes compare unsigned: a GBK lead byte sorts above ASCII.
    EXPECT_GT(CompareVersions("版本", "z"), 0);
}

TEST(Manifest, SignedReleasesNeverGoBack) {
    UpdateManifest m;
    m.autoUpdate = "真";
    const auto decide = [&](const char* local, const char* latest, bool signedReleases) {
        m.latestVersion = latest;
        return DecideUpdateKind("http://x", local, m, signedReleases);
    };
    EXPECT_EQ(decide("2.0", "1.9", true), UpdateDecision::Older);
    EXPECT_EQ(decide("1.10", "1.9", true), UpdateDecision::Older);
    EXPECT_EQ(decide("1.9", "1.10", true), UpdateDecision::MainExecutable);
    EXPECT_EQ(decide("2.0", "2.00", true), UpdateDecision::UpToDate);
    // Without signing, only byte equality holds an update back.
    EXPECT_EQ(decide("2.0", "1.9", false), UpdateDecision::MainExecutable);
    EXPECT_EQ(decide("2.0", "2.00", false), UpdateDecision::MainExecutable);
    // A latest version that is not numeric cannot be ordered: refused, even
    // byte for byte equal to the installed one.
    for (const char* latest : {"2.0b", "", " 2.1", "1..2", "2.0 "}) {
        EXPECT_EQ(decide("1.0", latest, true), UpdateDecision::NonNumericVersion) << latest;
        EXPECT_EQ(decide(latest, latest, true), UpdateDecision::NonNumericVersion) << latest;
    }
    // A local version that is not numeric counts as 0.
    EXPECT_EQ(decide("", "1.0", true), UpdateDecision::MainExecutable);
    EXPECT_EQ(decide("2.0b", "0.1", true), UpdateDecision::MainExecutable);
    EXPECT_EQ(decide("beta", "0.0", true), UpdateDecision::UpToDate);
    EXPECT_EQ(DecideUpdateKind("", "2.0", m, true), UpdateDecision::ServerFailure);
}

TEST(Manifest, TheFloorHoldsWhereConfigIniWasNeverRaised) {
    UpdateManifest m;
    m.autoUpdate = "真";
    const auto decide = [&](const char* local, const char* floor, const char* latest, bool signedReleases = true) {
        m.latestVersion = latest;
        return DecideUpdateKind("http://x", local, m, signedReleases, floor);
    };
    EXPECT_EQ(decide("1.0", "3.0", "2.5"), UpdateDecision::Older);
    EXPECT_EQ(decide("1.0", "3.0", "3.0"), UpdateDecision::UpToDate);
    EXPECT_EQ(decide("1.0", "3.0", "3.0.1"), UpdateDecision::MainExecutable);
    EXPECT_EQ(decide("4.0", "3.0", "3.5"), UpdateDecision::Older);  // config.ini above the floor
    EXPECT_EQ(decide("x", "3.0", "2.9"), UpdateDecision::Older);
    EXPECT_EQ(decide("1.0", "damaged", "1.5"), UpdateDecision::MainExecutable);  // an unreadable floor is none
    EXPECT_EQ(decide("1.0", "3.0", "2.5", false), UpdateDecision::MainExecutable);  // unsigned: no floor

    EXPECT_EQ(EffectiveInstalledVersion("1.0", ""), "1.0");
    EXPECT_EQ(EffectiveInstalledVersion("1.0b", ""), "0");
    EXPECT_EQ(EffectiveInstalledVersion("1.10", "1.9"), "1.10");
    EXPECT_EQ(EffectiveInstalledVersion("1.9", "1.10"), "1.10");
}

namespace {

// 2026-12-08T12:00:00Z
constexpr std::int64_t kNoon = 1796731200;
constexpr std::int64_t kDay = 86400;

UpdateManifest WithTimes(const Text& published, const Text& expires) {
    UpdateManifest m;
    m.publishedAt = published;
    m.expiresAt = expires;
    return m;
}

Freshness FreshnessOf(const UpdateManifest& m, std::int64_t now, std::optional<std::int64_t> newest = std::nullopt,
                      bool require = false) {
    FreshnessPolicy policy;
    policy.requireFields = require;
    policy.now = now;
    policy.newestAccepted = newest;
    return CheckFreshness(m, policy).verdict;
}

}  // namespace

TEST(Freshness, FieldsAreCutFromTheManifest) {
    const UpdateManifest m =
        CutManifest("[版本]2.0[/版本][发布时间]2026-12-08T12:00:00Z[/发布时间][有效期]2027-01-07T12:00:00Z[/有效期]");
    EXPECT_EQ(m.publishedAt, "2026-12-08T12:00:00Z");
    EXPECT_EQ(m.expiresAt, "2027-01-07T12:00:00Z");
    const FreshnessCheck check = CheckFreshness(m, FreshnessPolicy{false, kNoon, std::nullopt});
    EXPECT_EQ(check.verdict, Freshness::Fresh);
    EXPECT_EQ(check.publishedAt, kNoon);
    EXPECT_EQ(check.expiresAt, kNoon + 30 * kDay);
}

TEST(Freshness, ExpiryAllowsOneDayOfClockSkew) {
    const UpdateManifest m = WithTimes("2026-12-08T12:00:00Z", "2026-12-09T12:00:00Z");
    EXPECT_EQ(FreshnessOf(m, kNoon), Freshness::Fresh);
    EXPECT_EQ(FreshnessOf(m, kNoon + kDay + kClockSkewSeconds), Freshness::Fresh);
    EXPECT_EQ(FreshnessOf(m, kNoon + kDay + kClockSkewSeconds + 1), Freshness::Expired);
    EXPECT_TRUE(CheckFreshness(m, FreshnessPolicy{false, kNoon, std::nullopt}).Accepted());
    EXPECT_FALSE(CheckFreshness(m, FreshnessPolicy{false, kNoon + 3 * kDay, std::nullopt}).Accepted());
}

TEST(Freshness, APublicationBeforeTheNewestAcceptedIsRefused) {
    const UpdateManifest m = WithTimes("2026-12-08T12:00:00Z", "2027-01-07T12:00:00Z");
    EXPECT_EQ(FreshnessOf(m, kNoon, kNoon), Freshness::Fresh);  // the same manifest again
    EXPECT_EQ(FreshnessOf(m, kNoon, kNoon - 1), Freshness::Fresh);
    EXPECT_EQ(FreshnessOf(m, kNoon, kNoon + 1), Freshness::Superseded);
    // Expired is told first: the vendor's fix is to publish again.
    EXPECT_EQ(FreshnessOf(m, kNoon + 40 * kDay, kNoon + 1), Freshness::Expired);
}

TEST(Freshness, MissingFieldsAreAcceptedUnlessRequired) {
    const UpdateManifest none;
    EXPECT_EQ(FreshnessOf(none, kNoon), Freshness::NoFields);
    EXPECT_TRUE(CheckFreshness(none, FreshnessPolicy{false, kNoon, std::nullopt}).Accepted());
    EXPECT_EQ(FreshnessOf(none, kNoon, kNoon, true), Freshness::FieldsRequired);
    EXPECT_FALSE(CheckFreshness(none, FreshnessPolicy{true, kNoon, std::nullopt}).Accepted());
}

TEST(Freshness, HalfOrUnreadableTimesAreMalformed) {
    for (const UpdateManifest& m :
         {WithTimes("2026-12-08T12:00:00Z", ""), WithTimes("", "2027-01-07T12:00:00Z"),
          WithTimes("2026-12-08 12:00:00", "2027-01-07T12:00:00Z"),
          WithTimes("2026-12-08T12:00:00Z", "2027-01-07T12:00:00+08:00"),
          WithTimes("2026-12-08T12:00:00Z", "2026-12-08T11:59:59Z")}) {
        EXPECT_EQ(FreshnessOf(m, kNoon), Freshness::Malformed) << m.publishedAt << " / " << m.expiresAt;
        EXPECT_EQ(FreshnessOf(m, kNoon, std::nullopt, true), Freshness::Malformed);
    }
}


TEST(Manifest, AMalformedChecksumOfTheChosenUpdateRefusesItInEveryBuild) {
    UpdateManifest m;
    m.latestVersion = "2.0";
    m.autoUpdate = "真";
    m.checksum = Text(63, 'a');
    m.fullChecksum = Text(64, 'b');
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m, false), UpdateDecision::MalformedChecksum);
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m, true), UpdateDecision::MalformedChecksum);
    // Nothing would be downloaded: the earlier verdicts stand.
    EXPECT_EQ(DecideUpdateKind("", "1.0", m), UpdateDecision::ServerFailure);
    EXPECT_EQ(DecideUpdateKind("http://x", "2.0", m), UpdateDecision::UpToDate);
    EXPECT_EQ(DecideUpdateKind("http://x", "2.1", m, true), UpdateDecision::Older);
    // Absent is no check (unsigned), not a refusal.
    m.checksum.clear();
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m), UpdateDecision::MainExecutable);
    // Only the checksum of the update chosen counts.
    m.fullChecksum = "真";
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m), UpdateDecision::MainExecutable);
    m.autoUpdate.clear();
    m.fullUpdate = "真";
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m), UpdateDecision::MalformedChecksum);
    m.fullChecksum = Text(64, 'F');
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m), UpdateDecision::FullInstaller);
    m.fullUpdate.clear();
    m.fullChecksum = "x";
    EXPECT_EQ(DecideUpdateKind("http://x", "1.0", m), UpdateDecision::Idle);
}

TEST(Manifest, ChosenChecksumFollowsTheDecisionOrder) {
    UpdateManifest m;
    m.checksum = "main";
    m.fullChecksum = "full";
    EXPECT_EQ(ChosenChecksumField(m), nullptr);
    m.fullUpdate = "真";
    EXPECT_EQ(ChosenChecksumField(m), &m.fullChecksum);
    m.autoUpdate = "真";
    EXPECT_EQ(ChosenChecksumField(m), &m.checksum);
}

TEST(TransferStats, HalfOfAFreshDownload) {
    TransferStatsTexts t = ComputeTransferStats("Norvane", 102400, 51200, 2000, 51200);
    EXPECT_EQ(t.label2, "Norvane      |      文件大小:100KB\r\n");
    EXPECT_EQ(t.label4, "50KB           |      所用时间:2秒\r\n");
    EXPECT_EQ(t.label6Speed, "25KB/s");
    ASSERT_TRUE(t.label6);
    EXPECT_EQ(*t.label6, "25KB/s        |       剩余时间:0时0分2秒");
    EXPECT_EQ(t.percent, 50);
}

TEST(TransferStats, SlowLinkShowsOnlyTheSpeed) {
    TransferStatsTexts t = ComputeTransferStats("f", 1000000, 1, 100000, 1);
    EXPECT_EQ(t.label6Speed, "0KB/s");
    EXPECT_FALSE(t.label6);
    EXPECT_EQ(t.percent, 0);
}

TEST(TransferStats, ResumedTransferCountsTheWholeFile) {
    // 1000 bytes were there; this response carries the remaining 9240.
    TransferStatsTexts t = ComputeTransferStats("f", 9240, 10240, 1000, 9240);
    EXPECT_EQ(t.label2, "f      |      文件大小:10KB\r\n");
    EXPECT_EQ(t.percent, 100);
    ASSERT_TRUE(t.label6);
    EXPECT_NE(t.label6->find("0时0分0秒"), Text::npos);
    TransferStatsTexts mid = ComputeTransferStats("f", 9240, 5120, 1000, 4120);
    EXPECT_EQ(mid.percent, 50);
}

TEST(TransferStats, MissingLengthIsUnknownAndLeavesTheBar) {
    TransferStatsTexts t = ComputeTransferStats("f", 0, 20480, 1000, 20480);
    EXPECT_EQ(t.label2, "f      |      文件大小:未知\r\n");
    EXPECT_EQ(t.label4, "20KB           |      所用时间:1秒\r\n");
    ASSERT_TRUE(t.label6);
    EXPECT_EQ(*t.label6, "20KB/s        |       剩余时间:未知");
    EXPECT_FALSE(t.percent);
}

// Lengths past 2^31 and 2^32: a signed 32-bit size looked missing, and a
// 32-bit one wrapped.
TEST(TransferStats, ThreeGigabyteFileHalfDone) {
    const std::int64_t whole = 3LL << 30;
    TransferStatsTexts t = ComputeTransferStats("f", whole, whole / 2, 100000, whole / 2);
    EXPECT_EQ(t.label2, "f      |      文件大小:3145728KB\r\n");
    EXPECT_EQ(t.label4, "1572864KB           |      所用时间:100秒\r\n");
    ASSERT_TRUE(t.label6);
    EXPECT_EQ(*t.label6, "15728.64KB/s        |       剩余时间:0时1分40秒");
    EXPECT_EQ(t.percent, 50);
}

TEST(TransferStats, FiveGigabyteFileResumedAfterOneGigabyte) {
    // 1 GB was there; this response carries the remaining 4 GB (2^32 bytes).
    const std::int64_t start = 1LL << 30, rest = 4LL << 30;
    TransferStatsTexts t = ComputeTransferStats("f", rest, 4LL << 30, 200000, (4LL << 30) - start);
    EXPECT_EQ(t.label2, "f      |      文件大小:5242880KB\r\n");
    EXPECT_EQ(t.label4, "4194304KB           |      所用时间:200秒\r\n");
    ASSERT_TRUE(t.label6);
    EXPECT_EQ(*t.label6, "15728.64KB/s        |       剩余时间:0时1分6秒");
    EXPECT_EQ(t.percent, 80);
    TransferStatsTexts end = ComputeTransferStats("f", rest, start + rest, 300000, rest);
    EXPECT_EQ(end.percent, 100);
    EXPECT_NE(end.label6->find("0时0分0秒"), Text::npos);
}

TEST(Manifest, PublishedChecksums) {
    const Text hex(64, 'a');
    const Text upper = "0123456789ABCDEF0123456789abcdef0123456789ABCDEF0123456789ABCDEF";
    UpdateManifest m;
    RecutManifest("[完整校验]" + upper + "[/完整校验][校验]" + hex + "[/校验][完整]http://h/s[/完整]", m);
    EXPECT_EQ(m.checksum, hex);
    EXPECT_EQ(m.fullChecksum, upper);
    EXPECT_EQ(m.fullPackageAddress, "http://h/s");
    EXPECT_EQ(CutManifest("[校验]" + hex + "[/校验]").checksum, hex);

    const PublishedChecksum present = ReadPublishedChecksum(upper);
    EXPECT_EQ(present.state, PublishedChecksum::State::Present);
    EXPECT_EQ(present.hex, "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef");
    EXPECT_EQ(ReadPublishedChecksum("").state, PublishedChecksum::State::Absent);
    for (const Text& bad : {Text(63, 'a'), Text(65, 'a'), Text(63, 'a') + "g", " " + Text(63, 'a'), Text("真")}) {
        EXPECT_EQ(ReadPublishedChecksum(bad).state, PublishedChecksum::State::Malformed) << bad;
    }
}

TEST(Manifest, PublishedSizes) {
    UpdateManifest m;
    RecutManifest("[完整大小]2000[/完整大小][大小]1000[/大小]", m);
    EXPECT_EQ(m.size, "1000");
    EXPECT_EQ(m.fullSize, "2000");
    EXPECT_EQ(CutManifest("[大小]7[/大小]").size, "7");

    const PublishedSize present = ReadPublishedSize("0123456789");
    EXPECT_EQ(present.state, PublishedSize::State::Present);
    EXPECT_EQ(present.bytes, 123456789);
    EXPECT_EQ(ReadPublishedSize("999999999999999999").bytes, 999999999999999999);
    EXPECT_EQ(ReadPublishedSize("").state, PublishedSize::State::Absent);
    for (const Text& bad : {Text("1000000000000000000"), Text("-1"), Text("+1"), Text(" 1"), Text("1 "),
                            Text("1e3"), Text("0x10"), Text("1.5"), Text("大")}) {
        EXPECT_EQ(ReadPublishedSize(bad).state, PublishedSize::State::Malformed) << bad;
    }
}
