#include "shell/update_reply.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr std::u16string_view kLocal = u"2.213";

std::string Reply(const std::string& afterMarker) {
    return "<html><body>news\n##Tolvemar_UpdateInformation:" + afterMarker + "\n</body></html>";
}

TEST(UpdateVersion, WorkedValuesCompareInTruncatedTenThousandths) {
    EXPECT_EQ(LocalVersionValue(kLocal), 22130);
    struct Case {
        const char* text;
        int32_t remote;
        bool offered;
    };
    const Case cases[] = {
        {"2.213", 22130, false}, {"2.2131", 22131, true}, {"2.21309", 22130, false},
        {"2.214", 22140, true},  {"0.00009", 0, false},   {"3", 30000, true},
        {"+2.5", 25000, true},   {"2.3e0", 23000, true},  {".9", 9000, false},
    };
    for (const Case& c : cases) {
        const UpdateReplyScan scan =
            ScanUpdateReply(DecodeUpdateReply(Reply(std::string(c.text) + ",http://dl.test/x")));
        ASSERT_TRUE(scan.versionRead) << c.text;
        EXPECT_EQ(RemoteVersionValue(scan.version), c.remote) << c.text;
        EXPECT_EQ(DecideUpdate(Reply(std::string(c.text) + ",http://dl.test/x"), kLocal).offer, c.offered)
            << c.text;
    }
}

TEST(UpdateVersion, LocalTextIsReadAsFarAsItFormsANumber) {
    EXPECT_EQ(LocalVersionValue(u"  2.213abc"), 22130);
    EXPECT_EQ(LocalVersionValue(u"abc"), 0);
    EXPECT_EQ(LocalVersionValue(u"-1.5"), -15000);
    EXPECT_EQ(LocalVersionValue(u"1e300"), std::numeric_limits<int32_t>::min());
}

TEST(UpdateVersion, InfinityNaNAndHugeVersionsAreNeverNewer) {
    const int32_t kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(RemoteVersionValue(std::numeric_limits<float>::infinity()), kMin);
    EXPECT_EQ(RemoteVersionValue(-std::numeric_limits<float>::infinity()), kMin);
    EXPECT_EQ(RemoteVersionValue(std::numeric_limits<float>::quiet_NaN()), kMin);
    EXPECT_EQ(RemoteVersionValue(214748.36f), kMin);       // product reaches 2^31
    EXPECT_EQ(RemoteVersionValue(214748.0f), 2147480064);  // the product is rounded to single precision
    for (const char* version : {"1e39", "214748.36", "99999999999999999999999999999999999999999", "1e400"}) {
        EXPECT_FALSE(DecideUpdate(Reply(std::string(version) + ",http://dl.test/x"), kLocal).offer)
            << version;
    }
    // Text that scanf would read as special values is no number here.
    for (const char* version : {"inf", "nan", "0x1p4"}) {
        const UpdateReplyScan scan =
            ScanUpdateReply(DecodeUpdateReply(Reply(std::string(version) + ",http://dl.test/x")));
        EXPECT_FALSE(scan.versionRead && scan.version > 0 && RemoteVersionValue(scan.version) > 22130)
            << version;
        EXPECT_FALSE(DecideUpdate(Reply(std::string(version) + ",http://dl.test/x"), kLocal).offer)
            << version;
    }
}

TEST(UpdateReplyScan, WhiteSpaceCommaAndAddressEnd) {
    UpdateReplyScan scan =
        ScanUpdateReply(u"##Tolvemar_UpdateInformation: \t\r\n 2.5,\n  http://dl.test/a b c");
    ASSERT_TRUE(scan.addressRead);
    EXPECT_FLOAT_EQ(scan.version, 2.5f);
    EXPECT_EQ(scan.address, u"http://dl.test/a");

    // A blank before the comma stops the scan after the version.
    scan = ScanUpdateReply(u"##Tolvemar_UpdateInformation:2.5 ,http://dl.test/a");
    EXPECT_TRUE(scan.versionRead);
    EXPECT_FALSE(scan.addressRead);

    // Address ends at a tab or line break too.
    EXPECT_EQ(ScanUpdateReply(u"##Tolvemar_UpdateInformation:3,https://x.test/p\tq").address,
              u"https://x.test/p");
    EXPECT_EQ(ScanUpdateReply(u"##Tolvemar_UpdateInformation:3,https://x.test/p\r\nq").address,
              u"https://x.test/p");

    // Nothing after the comma, no comma, no number, no marker.
    EXPECT_FALSE(ScanUpdateReply(u"##Tolvemar_UpdateInformation:3,").addressRead);
    EXPECT_FALSE(ScanUpdateReply(u"##Tolvemar_UpdateInformation:3,   ").addressRead);
    EXPECT_FALSE(ScanUpdateReply(u"##Tolvemar_UpdateInformation:3").addressRead);
    EXPECT_FALSE(ScanUpdateReply(u"##Tolvemar_UpdateInformation:v3,http://x.test").versionRead);
    EXPECT_FALSE(ScanUpdateReply(u"##tolvemar_updateinformation:3,http://x.test").markerFound);
}

TEST(UpdateReplyScan, OnlyTheFirstMarkerCounts) {
    const std::string body =
        "##Tolvemar_UpdateInformation:2.0,http://old.test\n"
        "##Tolvemar_UpdateInformation:9.0,http://new.test\n";
    EXPECT_FALSE(DecideUpdate(body, kLocal).offer);
    const std::string reversed =
        "##Tolvemar_UpdateInformation:9.0,http://new.test\n"
        "##Tolvemar_UpdateInformation:2.0,http://old.test\n";
    EXPECT_EQ(DecideUpdate(reversed, kLocal).address, u"http://new.test");
}

TEST(UpdateReplyScan, AZeroByteEndsTheText) {
    std::string body = "head";
    body.push_back('\0');
    body += "##Tolvemar_UpdateInformation:9.0,http://new.test";
    EXPECT_FALSE(DecideUpdate(body, kLocal).offer);
}

TEST(UpdateReplyScan, AddressIsBoundedTo999Characters) {
    const std::string prefix = "http://dl.test/";
    const std::string fits = prefix + std::string(999 - prefix.size(), 'a');
    const std::string tooLong = fits + "a";
    UpdateDecision decision = DecideUpdate(Reply("9," + fits), kLocal);
    EXPECT_TRUE(decision.offer);
    EXPECT_EQ(decision.address.size(), 999u);
    EXPECT_FALSE(DecideUpdate(Reply("9," + tooLong), kLocal).offer);
    EXPECT_FALSE(DecideUpdate(Reply("9," + tooLong + std::string(100000, 'b')), kLocal).offer);
}

TEST(UpdateReplyScan, OnlyHttpAddressesAreOffered) {
    EXPECT_TRUE(DecideUpdate(Reply("9,HTTPS://dl.test/setup"), kLocal).offer);
    for (const char* address : {"file:///etc/passwd", "javascript:alert(1)", "ftp://dl.test/x", "http://",
                                "https:///path", "dl.test/x", "mailto:a@b.test", "smb://host/share"}) {
        EXPECT_FALSE(DecideUpdate(Reply(std::string("9,") + address), kLocal).offer) << address;
    }
    EXPECT_FALSE(IsOfferableDownloadAddress(u"http://dl.test/\x01x"));
    // A version with no address offers nothing.
    EXPECT_FALSE(DecideUpdate(Reply("9"), kLocal).offer);
    EXPECT_FALSE(DecideUpdate(Reply("9,"), kLocal).offer);
}

TEST(UpdateReplyDecoding, Utf8WithReplacementsForBrokenSequences) {
    EXPECT_EQ(DecodeUpdateReply("A\xEC\xB5\x9C\xF0\x9F\x98\x80"), u"A최\U0001F600");
    EXPECT_EQ(DecodeUpdateReply("a\xFF"
                                "b\xC3"),
              u"a\uFFFDb\uFFFD");
    EXPECT_EQ(DecodeUpdateReply("\xE0\x80\x80"), u"\uFFFD\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(DecodeUpdateReply("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // surrogate
    EXPECT_EQ(DecodeUpdateReply("\xE2\x82"
                                "x"),
              u"\uFFFDx");  // cut short
    // Korean text around the marker does not disturb the scan.
    EXPECT_TRUE(DecideUpdate("최신 버전 ##Tolvemar_UpdateInformation:2.3,http://dl.test/최신", kLocal).offer);
}

TEST(UpdateReplyDecoding, BytesBeyondTheLimitAreNotRead) {
    std::string body(kUpdateReplyLimit - 20, ' ');  // the marker is cut
    const std::string tail = "##Tolvemar_UpdateInformation:9,http://dl.test/x";
    EXPECT_FALSE(DecideUpdate(body + tail, kLocal).offer);
    body.resize(kUpdateReplyLimit - tail.size() - 1);
    EXPECT_TRUE(DecideUpdate(body + tail + " ", kLocal).offer);
}

}  // namespace
