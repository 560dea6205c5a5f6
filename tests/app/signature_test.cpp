// Manifest signatures through CNG, with vectors made by
// tools/publish_manifest.py and the e2e test key.
#include <gtest/gtest.h>

#include <string>

#include "app/signature.h"

namespace {

const Text kPublicKey =
    "82f861963abd781ffedd164c1b8a4e90f15135d6a95c3b3c6c02df97663106a0"
    "19a7a27f1627c4d1c37bb6f1d166bed7546a93ad9673f4eb1cd873f21a08d592";
// GBK markers, a line end, then a zero byte: every byte is signed.
const std::string kSigned("[\xb0\xe6\xb1\xbe]2.0[/\xb0\xe6\xb1\xbe]\r\n\0after zero", 29);
const Text kSignature = "tVUB91Hf0/s22AJwGyxVDvjtenaH0uVhZm62IXZc2JpyXKr/F7dQRw0zsYQ1CleXvYgKgYgi7E3bsaOF2RqFwQ==";
const Text kOtherKeysSignature =
    "+YvxjfB4iK3+mJu8TNsIn5PTY6KJOrZywEgJFrOcKO6t40VXPSiWa46yS+NZ9rO3oLpmbK0NR5Sw2wXLQAM36A==";

ByteArray Bytes(const std::string& text) { return ByteArray(text.begin(), text.end()); }

}  // namespace

TEST(Signature, TheSignedBytesVerify) {
    ASSERT_EQ(kSigned.size(), 29u);
    EXPECT_TRUE(VerifySignature(Bytes(kSigned), kSignature, kPublicKey).valid);
    EXPECT_TRUE(VerifySignature(Bytes(kSigned), kSignature + "\r\n", kPublicKey).valid);
    Text upperKey = kPublicKey;
    for (char& c : upperKey) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(VerifySignature(Bytes(kSigned), kSignature, upperKey).valid);
}

TEST(Signature, AnyOtherBytesOrSignatureFail) {
    std::string changed = kSigned;
    changed[10] ^= 1;
    const std::string cutAtZero = kSigned.substr(0, kSigned.find('\0'));
    for (const std::string& data : {changed, cutAtZero, kSigned + " ", std::string()}) {
        const SignatureVerdict verdict = VerifySignature(Bytes(data), kSignature, kPublicKey);
        EXPECT_FALSE(verdict.valid);
        EXPECT_NE(verdict.reason.find("does not match"), Text::npos) << verdict.reason;
    }
    Text flipped = kSignature;
    flipped[20] = flipped[20] == 'A' ? 'B' : 'A';
    EXPECT_FALSE(VerifySignature(Bytes(kSigned), flipped, kPublicKey).valid);
    EXPECT_FALSE(VerifySignature(Bytes(kSigned), kOtherKeysSignature, kPublicKey).valid);
}

TEST(Signature, MalformedSignatureTexts) {
    const Text sixtyThreeBytes =
        "tVUB91Hf0/s22AJwGyxVDvjtenaH0uVhZm62IXZc2JpyXKr/F7dQRw0zsYQ1CleXvYgKgYgi7E3bsaOF2RqF";
    for (const Text& text : {Text(), Text("\r\n"), kSignature.substr(0, 87), sixtyThreeBytes, kSignature + "AAAA",
                             "*" + kSignature.substr(1), kSignature.substr(0, 40) + " " + kSignature.substr(41)}) {
        const SignatureVerdict verdict = VerifySignature(Bytes(kSigned), text, kPublicKey);
        EXPECT_FALSE(verdict.valid) << text;
        EXPECT_NE(verdict.reason.find("malformed"), Text::npos) << text << ": " << verdict.reason;
    }
}

TEST(Signature, UnusableKeysVerifyNothing) {
    Text offCurve = kPublicKey;
    offCurve[127] = offCurve[127] == '2' ? '3' : '2';  // Y no longer matches X
    for (const Text& key : {Text(), kPublicKey.substr(2), kPublicKey + "00", "g" + kPublicKey.substr(1), offCurve,
                            Text(128, '0')}) {
        EXPECT_FALSE(VerifySignature(Bytes(kSigned), kSignature, key).valid) << key;
    }
}

TEST(Signature, AnyOfSeveralKeysVerifies) {
    // tests/e2e/test_release_key2.pub: a real point that did not sign kSigned.
    const Text secondKey =
        "29926d5cc9a530d007d9ed1f290431bacd8111c40feb061a20ca2f74d71d47b0"
        "21490fd0b0572c82adf797edf46169dbe5a30a9e6578cc3746bf14eec65b76c2";
    const SignatureVerdict second = VerifySignatureWithAnyKey(Bytes(kSigned), kSignature, {secondKey, kPublicKey});
    EXPECT_TRUE(second.valid);
    EXPECT_EQ(second.keyIndex, 1u);
    const SignatureVerdict first = VerifySignatureWithAnyKey(Bytes(kSigned), kSignature, {kPublicKey, secondKey});
    EXPECT_TRUE(first.valid);
    EXPECT_EQ(first.keyIndex, 0u);

    const SignatureVerdict neither =
        VerifySignatureWithAnyKey(Bytes(kSigned), kOtherKeysSignature, {secondKey, kPublicKey});
    EXPECT_FALSE(neither.valid);
    EXPECT_NE(neither.reason.find("any of the 2 built-in public keys"), Text::npos) << neither.reason;
    EXPECT_FALSE(VerifySignatureWithAnyKey(Bytes(kSigned), kSignature, {secondKey}).valid);
    EXPECT_FALSE(VerifySignatureWithAnyKey(Bytes(kSigned), kSignature, {}).valid);
    // A malformed signature is told as such, whatever the keys.
    const SignatureVerdict malformed = VerifySignatureWithAnyKey(Bytes(kSigned), "x", {secondKey, kPublicKey});
    EXPECT_NE(malformed.reason.find("malformed"), Text::npos) << malformed.reason;
}
