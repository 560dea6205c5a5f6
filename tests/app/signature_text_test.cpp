// The signature's texts, decoded without the platform: exactly the base64 of
// 64 bytes, and a key of hexadecimal digits.
#include <gtest/gtest.h>

#include "app/signature_text.h"

namespace {

const Text kSignature = "tVUB91Hf0/s22AJwGyxVDvjtenaH0uVhZm62IXZc2JpyXKr/F7dQRw0zsYQ1CleXvYgKgYgi7E3bsaOF2RqFwQ==";

}  // namespace

TEST(SignatureText, DecodesTheBase64OfSixtyFourBytes) {
    const std::optional<ByteArray> bytes = DecodeSignatureText(kSignature);
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->size(), 64u);
    EXPECT_EQ((*bytes)[0], 0xb5);
    EXPECT_EQ((*bytes)[63], 0xc1);
    EXPECT_EQ(EncodeBase64(*bytes), kSignature);
    EXPECT_EQ(DecodeSignatureText(" \t" + kSignature + "\r\n"), bytes);
    EXPECT_EQ(EncodeBase64({'a'}), "YQ==");
    EXPECT_EQ(EncodeBase64({'a', 'b'}), "YWI=");
    EXPECT_EQ(EncodeBase64({'a', 'b', 'c'}), "YWJj");
}

TEST(SignatureText, AnythingElseIsMalformed) {
    Text shifted = kSignature.substr(0, 85) + "=" + "==";
    for (const Text& text : {Text(), Text("\r\n"), kSignature.substr(0, 87), kSignature + "AAAA", kSignature + "=",
                             "*" + kSignature.substr(1), kSignature.substr(0, 40) + " " + kSignature.substr(41),
                             kSignature.substr(0, 86) + "A=", shifted, "====" + kSignature.substr(4)}) {
        EXPECT_FALSE(DecodeSignatureText(text)) << text;
    }
}

TEST(SignatureText, HexadecimalDigits) {
    EXPECT_EQ(BytesFromHex("00ff7Fa0"), (ByteArray{0x00, 0xff, 0x7f, 0xa0}));
    EXPECT_EQ(BytesFromHex(""), ByteArray());
    EXPECT_FALSE(BytesFromHex("abc"));
    EXPECT_FALSE(BytesFromHex("0g"));
    EXPECT_FALSE(BytesFromHex(" 00"));
}

TEST(SignatureText, SeveralPublicKeysSeparatedByCommas) {
    EXPECT_EQ(SplitPublicKeys("ab12"), (std::vector<Text>{"ab12"}));
    EXPECT_EQ(SplitPublicKeys("ab12,cd34"), (std::vector<Text>{"ab12", "cd34"}));
    EXPECT_EQ(SplitPublicKeys(" ab12 ,\tcd34\r\n"), (std::vector<Text>{"ab12", "cd34"}));
    EXPECT_EQ(SplitPublicKeys(",ab12,,"), (std::vector<Text>{"ab12"}));
    EXPECT_TRUE(SplitPublicKeys("").empty());
    EXPECT_TRUE(SplitPublicKeys(" , ").empty());
}
