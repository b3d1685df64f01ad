#include "data/description_loader.h"
#include "data/cp949.h"
#include "data/lookups.h"
#include "data/tables.h"
#include "data/text_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Ascii(const char16_t* s) {
    std::string out;
    for (; *s; ++s) out.push_back(static_cast<char>(*s));
    return out;
}

std::span<const unsigned char> Bytes(const std::string& s) {
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

std::u16string Description(int32_t skill) { return g_SkillTable[skill].description; }

void ClearDescriptions() {
    for (const SkillRecord& record : g_SkillTable) record.description[0] = 0;
}

class DescriptionLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearDescriptions();
        a = Ascii(g_SkillTable[1].ident);
        b = Ascii(g_SkillTable[2].ident);
    }
    // Descriptions start empty in every test, whatever ran before.
    void TearDown() override { ClearDescriptions(); }
    // A table with its header line and the given lines, CR LF separated.
    static std::string Table(const std::vector<std::string>& lines) {
        std::string text = "-- header\r\n";
        for (const std::string& line : lines) text += line + "\r\n";
        return text;
    }
    bool Load(const std::vector<std::string>& lines, DescriptionLoadStats* stats = nullptr) {
        const std::string text = Table(lines);
        return LoadSkillDescriptionsFrom(Bytes(text), stats);
    }
    std::string a, b;
};

TEST_F(DescriptionLoaderTest, ShippedTableFillsAllButFourSkills) {
    DescriptionLoadStats stats;
    ASSERT_TRUE(LoadSkillDescriptionsFrom(TextResource(kDescriptionTableResource), &stats));
    EXPECT_EQ(stats.identifierLines, 1065);
    EXPECT_EQ(stats.matchedLines, 736);
    EXPECT_EQ(stats.identifierLines - stats.matchedLines, 329);
    EXPECT_EQ(stats.emptyOtherLines, 152);
    int empty = 0;
    for (int32_t p = 1; p < kSkillCount - 1; ++p) {
        if (g_SkillTable[p].index == 0) continue;
        const std::u16string text = Description(p);
        empty += text.empty();
        EXPECT_LE(text.size(), 1000u) << p;
        if (!text.empty()) {
            EXPECT_EQ(text.back(), u'\n') << p;
            EXPECT_EQ(text.find(u'^'), std::u16string::npos) << p;
        }
    }
    EXPECT_EQ(empty, 4);
    // The descriptions are Korean and decoded from code page 949.
    bool hangul = false;
    for (char16_t c : Description(1)) hangul |= (c >= 0xAC00 && c <= 0xD7A3);
    EXPECT_TRUE(hangul);
}

TEST_F(DescriptionLoaderTest, ResourceLoadingAndMissingTable) {
    EXPECT_TRUE(LoadSkillDescriptions());
    EXPECT_FALSE(Description(1).empty());
    ClearDescriptions();
    EXPECT_FALSE(LoadSkillDescriptionsFrom({}));
    EXPECT_TRUE(Description(1).empty());
    EXPECT_TRUE(TextResource(999).empty());
    EXPECT_FALSE(TextResource(213).empty());
}

TEST_F(DescriptionLoaderTest, ADeferredLoadRunsOnceWhenFirstAskedFor) {
    EnsureSkillDescriptions();  // nothing pending: nothing loads
    EXPECT_TRUE(Description(1).empty());
    DeferSkillDescriptions();
    EXPECT_TRUE(Description(1).empty());
    EnsureSkillDescriptions();
    EXPECT_FALSE(Description(1).empty());
    ClearDescriptions();
    EnsureSkillDescriptions();  // done already
    EXPECT_TRUE(Description(1).empty());
}

TEST_F(DescriptionLoaderTest, LinesGiveTheirDescriptions) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        std::u16string first, second;  // the descriptions of skills 1 and 2
    };
    const Case cases[] = {
        {"strings joined with line feeds, colour codes dropped",
         {"[SKID." + a + "] = {\"Fire ^FF0000Bolt^000000\", \"Lv 1\"},"},
         u"Fire Bolt\nLv 1\n",
         u""},
        {"separators outside strings dropped, other characters kept",
         {"[SKID." + a + "] = {\"x, y\" ,  ^123456 ;\"z\"}, trailing"},
         u"x, y\n;z\n",
         u""},
        {"an unclosed string does not spill into the next line",
         {"[SKID." + a + "] = {\"open, never closed}", "[SKID.NOT_A_SKILL] = {\"",
          "[SKID." + b + "] = {\"a b\", \"c\"}"},
         u"open, never closed",
         u"a b\nc\n"},
        {"a colour code or a list ending at the line end",
         {"[SKID." + a + "] = {\"tail\" ^12", "[SKID." + b + "] = {\"x\", \"no close"},
         u"tail\n",
         u"x\nno close"},
        {"descriptions stop at a thousand characters",
         {"[SKID." + a + "] = {\"" + std::string(1001, 'x') + "\"}",
          "[SKID." + b + "] = {\"" + std::string(999, 'y') + "\"}"},
         std::u16string(1000, u'x'),
         std::u16string(999, u'y') + u"\n"},
        // "가나" and "한" in code page 949.
        {"Hangul decoded from code page 949",
         {"[SKID." + a + "] = {\"\xB0\xA1\xB3\xAA \xC7\xD1\"}"},
         u"가나 한\n",
         u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ClearDescriptions();
        ASSERT_TRUE(Load(c.lines));
        EXPECT_EQ(Description(1), c.first);
        EXPECT_EQ(Description(2), c.second);
    }
    // A table whose last line ends without a line break, in a colour code.
    const std::string text = "-- header\r\n[SKID." + a + "] = {\"end\"^";
    ASSERT_TRUE(LoadSkillDescriptionsFrom(Bytes(text)));
    EXPECT_EQ(Description(1), u"end\n");
}

TEST_F(DescriptionLoaderTest, QuirksOfTheTableFormat) {
    // First line ignored even when it names a skill; later line wins; an
    // empty list empties; a "}" inside a string ends the description.
    const std::string text = "[SKID." + a +
                             "] = {\"first\"}\r\n"
                             "[SKID." +
                             b +
                             "] = {\"old\"},\r\n"
                             "\r\n\r\n"
                             "[SKID." +
                             b +
                             "] = {\"new\"},\r\n"
                             "[SKID." +
                             a + "] = {\"cut}here\"},\r\n";
    ASSERT_TRUE(LoadSkillDescriptionsFrom(Bytes(text)));
    EXPECT_EQ(Description(2), u"new\n");
    EXPECT_EQ(Description(1), u"cut");
    // A "}" among the six characters a "^" drops still ends the list: the
    // colour code must not carry the scan past it into the next string.
    ASSERT_TRUE(Load({"[SKID." + a + "] = {\"ab^12}cd\", \"ef\"}"}));
    EXPECT_EQ(Description(1), u"ab");

    ASSERT_TRUE(Load({"[SKID." + a + "] = {}"}));
    EXPECT_EQ(Description(1), u"");
}

TEST_F(DescriptionLoaderTest, LinesThatDoNotMatchAreSkipped) {
    std::string lower = a;
    for (char& c : lower) c = static_cast<char>(c == '_' ? c : c - 'A' + 'a');
    DescriptionLoadStats stats;
    ASSERT_TRUE(Load({"[SKID.] = {\"empty identifier\"}", "[SKID." + lower + "] = {\"other case\"}",
                      "[SKID." + a + "] = \"no brace\"", "[SKID." + a + " = {\"no bracket\"}",
                      "[SKID." + std::string(31, 'A') + "] = {\"too long\"}", "no identifier at all"},
                     &stats));
    EXPECT_EQ(Description(1), u"");
    EXPECT_EQ(stats.identifierLines, 1);  // only the other-case line has the full syntax
    EXPECT_EQ(stats.matchedLines, 0);
}

// Catches release notes (resource 177) shipped in another encoding: the About
// box decodes them as code page 949, where a stray byte shows as U+FFFD.
TEST(Cp949Test, ShippedReleaseNotesDecodeWithoutReplacementCharacters) {
    const std::u16string notes = DecodeCp949(TextResource(kReleaseNotesResource));
    ASSERT_FALSE(notes.empty());
    EXPECT_EQ(notes.find(u'\uFFFD'), std::u16string::npos);
    bool hangul = false;
    for (char16_t c : notes) hangul |= (c >= 0xAC00 && c <= 0xD7A3);
    EXPECT_TRUE(hangul);
}

TEST(Cp949Test, DecodesHangulAndReplacesBrokenSequences) {
    const std::string good =
        "A\xB0\xA1"
        "B";
    EXPECT_EQ(DecodeCp949(Bytes(good)), u"A가B");
    // A lead byte followed by an invalid trail byte, and a lone lead byte at the end.
    const std::string bad =
        "x\xFF"
        "y\xB0";
    const std::u16string decoded = DecodeCp949(Bytes(bad));
    EXPECT_EQ(decoded.front(), u'x');
    EXPECT_NE(decoded.find(u'y'), std::u16string::npos);
    EXPECT_EQ(decoded.back(), u'\uFFFD');
    EXPECT_EQ(DecodeCp949({}), u"");
}

}  // namespace
