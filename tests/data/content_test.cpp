// Checks the shipped game content on the compiled tables themselves, apart
// from the generator that wrote them.
#include "data/lookups.h"
#include "data/tables.h"
#include "support/language_scope.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::array<int, 5> kSeparators = {0, 131, 413, 476, 744};

// Nodes per page 0..3 of every job, by job id.
const std::map<int, std::array<int, 4>> kNodesPerPage = {
    {0, {7, 16, 4, 21}},  {1, {6, 10, 5, 19}},   {2, {5, 18, 6, 26}},  {3, {7, 21, 5, 31}},
    {4, {7, 18, 4, 21}},  {5, {5, 18, 6, 26}},   {6, {5, 17, 4, 24}},  {7, {7, 10, 8, 13}},
    {8, {14, 15, 4, 24}}, {9, {14, 18, 4, 21}},  {10, {6, 20, 4, 23}}, {11, {13, 20, 8, 28}},
    {12, {49, 29, 0, 0}}, {13, {13, 13, 6, 25}}, {14, {17, 18, 0, 0}}, {15, {17, 27, 0, 0}},
    {16, {23, 25, 0, 0}}, {17, {22, 20, 0, 0}},  {18, {14, 0, 0, 0}},  {19, {23, 25, 0, 0}},
};

bool IsSeparator(int p) { return std::find(kSeparators.begin(), kSeparators.end(), p) != kSeparators.end(); }

int RunOf(int32_t skill) {
    if (skill >= 1 && skill <= 130) return 0;
    if (skill >= 132 && skill <= 412) return 1;
    if (skill >= 414 && skill <= 475) return 2;
    if (skill >= 477 && skill <= 743) return 3;
    return -1;
}

std::u16string Str(const char16_t* s, int capacity) {
    const auto* end = std::find(s, s + capacity, u'\0');
    return std::u16string(s, end);
}

bool Terminated(const char16_t* s, int capacity) { return std::find(s, s + capacity, u'\0') != s + capacity; }

// Icon rectangle of a cell, inclusive pixels.
struct Box {
    int x0, y0, x1, y1;
    bool Contains(int x, int y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
    bool OnBoundary(int x, int y) const {
        return Contains(x, y) && (x == x0 || x == x1 || y == y0 || y == y1);
    }
};

Box IconBox(const SkillTreeNode& n) {
    const int x = 64 * n.column + 33, y = 64 * n.row + 35;
    return {x, y, x + 23, y + 23};
}

// Estimated width in pixels of a line of a name in the 11-pixel name font:
// wide characters (Hangul, kana, CJK) 11, M and W 9, capitals 7, space 3,
// anything else 6.
int LineWidth(const std::u16string& line) {
    int width = 0;
    for (char16_t c : line) {
        if (c >= 0x1100)
            width += 11;
        else if (c == u'M' || c == u'W' || c == u'm' || c == u'w')
            width += 9;
        else if (c >= u'A' && c <= u'Z')
            width += 7;
        else if (c == u' ')
            width += 3;
        else
            width += 6;
    }
    return width;
}

std::vector<std::u16string> Lines(const std::u16string& name) {
    std::vector<std::u16string> lines(1);
    for (char16_t c : name) {
        if (c == u'\n')
            lines.emplace_back();
        else
            lines.back().push_back(c);
    }
    return lines;
}

std::vector<const SkillTreeNode*> NodesOf(int job) {
    std::vector<const SkillTreeNode*> nodes;
    const SkillTreeNode* all = FindJobRecord(job)->nodes;
    for (int i = 1; i < kNodeCount && all[i].skill != 0; ++i) nodes.push_back(&all[i]);
    return nodes;
}

std::vector<const PrerequisiteEntry*> UsedEntries(const SkillTreeNode& n) {
    std::vector<const PrerequisiteEntry*> used;
    for (const PrerequisiteEntry& e : n.prereq) {
        if (e.skill == 0) break;
        used.push_back(&e);
    }
    return used;
}

const SkillTreeNode* NodeOfSkill(int job, int32_t skill) {
    for (const SkillTreeNode* n : NodesOf(job))
        if (n->skill == skill) return n;
    return nullptr;
}

TEST(ContentSkillTable, SeparatorsAndRecords) {
    EXPECT_EQ(g_SkillTable[0].iconId, 10000);
    EXPECT_EQ(Str(g_SkillTable[0].name[0], kNameChars), u"");
    for (int p : {131, 413, 476}) {
        EXPECT_EQ(g_SkillTable[p].iconId, 0) << p;
        EXPECT_EQ(Str(g_SkillTable[p].name[0], kNameChars), u"?") << p;
    }
    EXPECT_EQ(g_SkillTable[744].iconId, 0);
    EXPECT_EQ(g_SkillTable[744].name[0][0], 0);
    std::set<int32_t> icons;
    std::set<std::u16string> idents;
    std::map<int32_t, int> maxLevels;
    int japaneseEmpty = 0;
    for (int p = 0; p < kSkillCount; ++p) {
        const SkillRecord& s = g_SkillTable[p];
        if (IsSeparator(p)) {
            EXPECT_EQ(s.index, 0) << p;
            EXPECT_EQ(s.ident[0], 0) << p;
            EXPECT_EQ(s.maxLevel, 0) << p;
            continue;
        }
        EXPECT_EQ(s.index, p);
        EXPECT_GE(s.iconId, 10001) << p;
        EXPECT_LE(s.iconId, 11148) << p;
        icons.insert(s.iconId);
        ASSERT_TRUE(Terminated(s.ident, kNameChars)) << p;
        const std::u16string ident = Str(s.ident, kNameChars);
        EXPECT_TRUE(ident.size() >= 5 && ident.size() <= 26) << p;
        EXPECT_TRUE(std::all_of(ident.begin(), ident.end(), [](char16_t c) {
            return c == u'_' || (c >= u'A' && c <= u'Z');
        })) << p;
        idents.insert(ident);
        ++maxLevels[s.maxLevel];
        for (int lang = 0; lang < kLanguageCount; ++lang) {
            ASSERT_TRUE(Terminated(s.name[lang], kNameChars)) << p;
            const std::u16string name = Str(s.name[lang], kNameChars);
            EXPECT_LE(std::count(name.begin(), name.end(), u'\n'), 2) << p;
            if (lang < 2) {
                EXPECT_FALSE(name.empty()) << p;
            }
            if (!name.empty()) {
                for (const std::u16string& line : Lines(name)) EXPECT_LE(LineWidth(line), 72) << p;
            }
        }
        japaneseEmpty += s.name[2][0] == 0;
        EXPECT_EQ(s.description[0], 0) << "descriptions start empty";
    }
    EXPECT_EQ(icons.size(), 740u);
    EXPECT_EQ(idents.size(), 740u);
    EXPECT_EQ(japaneseEmpty, 309);
    EXPECT_EQ(maxLevels, (std::map<int32_t, int>{{0, 1},
                                                 {1, maxLevels[1]},
                                                 {2, maxLevels[2]},
                                                 {3, maxLevels[3]},
                                                 {4, maxLevels[4]},
                                                 {5, maxLevels[5]},
                                                 {7, maxLevels[7]},
                                                 {10, maxLevels[10]}}));
    for (int level : {1, 2, 3, 4, 5, 7, 10}) EXPECT_GT(maxLevels[level], 0) << level;
    EXPECT_EQ(FindSkillByIdent(g_SkillTable[743].ident), 743);
}

TEST(ContentTrees, NodeCountsCellsAndFrames) {
    int total = 0;
    for (const auto& [job, perPage] : kNodesPerPage) {
        const JobRecord* record = FindJobRecord(job);
        ASSERT_NE(record, nullptr);
        const SkillTreeNode* all = record->nodes;
        // Node 0 and everything after the list end are zero in the image.
        for (int i = 0; i < kNodeCount; ++i) {
            const bool inList = i >= 1 && i <= perPage[0] + perPage[1] + perPage[2] + perPage[3];
            if (!inList) {
                EXPECT_EQ(all[i].skill, 0) << job << " node " << i;
            }
            EXPECT_EQ(all[i].previewLevel, 0);
        }
        const auto nodes = NodesOf(job);
        std::array<int, 4> counts{};
        std::set<std::pair<int, int>> cells;
        std::set<int32_t> skills;
        int lastPage = 0;
        for (const SkillTreeNode* n : nodes) {
            ASSERT_TRUE(n->page >= 0 && n->page <= record->maxGrade) << job;
            ++counts[n->page];
            EXPECT_GE(n->page, lastPage) << job;
            lastPage = n->page;
            EXPECT_TRUE(n->column >= 0 && n->column <= 15 && n->row >= 0 && n->row <= 6) << job;
            EXPECT_TRUE(cells.insert({n->column, n->row}).second) << job;
            EXPECT_TRUE(skills.insert(n->skill).second) << job;
            EXPECT_FALSE(IsSeparator(n->skill)) << job;
            EXPECT_EQ(g_SkillTable[n->skill].index, n->skill) << job;
            // Icon and name inside the page frame's inner line.
            const PageRect& r = record->pages[n->page].rect;
            ASSERT_FALSE(r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0) << job;
            const int left = r.left + 2, top = r.top + 8, right = r.right - 2, bottom = r.bottom + 4;
            const Box icon = IconBox(*n);
            EXPECT_TRUE(left < icon.x0 && icon.x1 < right && top < icon.y0 && icon.y1 < bottom)
                << "job " << job << " skill " << n->skill;
            const bool nodeBelow = std::any_of(nodes.begin(), nodes.end(), [&](const SkillTreeNode* m) {
                return m->column == n->column && m->row == n->row + 1;
            });
            for (int lang = 0; lang < kLanguageCount; ++lang) {
                const std::u16string name = Str(g_SkillTable[n->skill].name[lang], kNameChars);
                if (name.empty()) continue;
                const auto lines = Lines(name);
                int width = 0;
                for (const auto& line : lines) width = std::max(width, LineWidth(line));
                const int centre = 64 * n->column + 45, half = (width + 1) / 2;
                const int textBottom = 64 * n->row + 61 + 11 * static_cast<int>(lines.size()) - 1;
                EXPECT_TRUE(left < centre - half && centre + half < right && textBottom < bottom)
                    << "job " << job << " skill " << n->skill << " language " << lang;
                EXPECT_LE(lines.size(), nodeBelow ? 2u : 3u) << "job " << job << " skill " << n->skill;
            }
        }
        EXPECT_EQ(counts, perPage) << "job " << job;
        total += static_cast<int>(nodes.size());
    }
    EXPECT_EQ(total, 1002);
}

TEST(ContentTrees, SkillsOutsideTheirPagesRun) {
    for (const auto& [job, perPage] : kNodesPerPage) {
        std::map<std::pair<int, int>, int> off;  // (page, run) -> nodes
        for (const SkillTreeNode* n : NodesOf(job))
            if (RunOf(n->skill) != n->page) ++off[{n->page, RunOf(n->skill)}];
        std::map<std::pair<int, int>, int> expected;
        const JobRecord* record = FindJobRecord(job);
        if (record->minGrade == 1 && record->maxGrade == 3) expected[{3, 0}] = 1;
        if (job == 4) expected[{1, 0}] = 4;
        if (job == 9 || job == 10) expected[{1, 0}] = 3;
        if (job == 12) expected[{1, 2}] = 1;
        EXPECT_EQ(off, expected) << "job " << job;
    }
}

TEST(ContentTrees, PrerequisitesAndTheirOddEntries) {
    std::array<int, 6> distribution{};
    int dead = 0;
    std::vector<std::pair<int, int>> levelZero;    // (job, maxLevel of prerequisite)
    std::vector<std::pair<int, int>> overMaximum;  // (job, required level)
    std::vector<int> fiveEntryJobs;
    for (const auto& [job, perPage] : kNodesPerPage) {
        for (const SkillTreeNode* n : NodesOf(job)) {
            const auto used = UsedEntries(*n);
            ++distribution[used.size()];
            for (std::size_t k = used.size(); k < kPrereqCount; ++k) {
                const PrerequisiteEntry& e = n->prereq[k];
                if (e.startX || e.startY ||
                    std::any_of(std::begin(e.path), std::end(e.path), [](int32_t s) { return s != 0; }))
                    ++dead;
            }
            if (used.size() == 5) {
                fiveEntryJobs.push_back(job);
                for (const PrerequisiteEntry* e : used) EXPECT_GT(e->requiredLevel, 0);
            }
            for (const PrerequisiteEntry* e : used) {
                EXPECT_NE(e->skill, n->skill);
                const SkillTreeNode* p = NodeOfSkill(job, e->skill);
                ASSERT_NE(p, nullptr) << "job " << job << " skill " << n->skill;
                EXPECT_LE(p->page, n->page);
                // Left of the node, or above it in the same column: the node
                // order by (column, row) is then a topological order, so the
                // prerequisites form no cycle.
                EXPECT_TRUE(p->column < n->column || (p->column == n->column && p->row < n->row))
                    << "job " << job << " skill " << n->skill;
                const int32_t maxLevel = g_SkillTable[e->skill].maxLevel;
                if (e->requiredLevel == 0) {
                    levelZero.push_back({job, maxLevel});
                    EXPECT_EQ(e, used.front());
                } else if (e->requiredLevel > maxLevel) {
                    overMaximum.push_back({job, e->requiredLevel});
                    EXPECT_EQ(maxLevel, 1);
                }
                EXPECT_GE(e->requiredLevel, 0);
            }
        }
    }
    EXPECT_EQ(distribution, (std::array<int, 6>{213, 593, 146, 40, 9, 1}));
    EXPECT_EQ(dead, 33);
    EXPECT_EQ(levelZero, (std::vector<std::pair<int, int>>{{0, 0}}));
    EXPECT_EQ(overMaximum, (std::vector<std::pair<int, int>>{{3, 3}}));
    EXPECT_EQ(fiveEntryJobs, std::vector<int>{7});
}

TEST(ContentTrees, ConnectorsRunFromTheNodeToThePrerequisiteIcon) {
    int paths = 0;
    for (const auto& [job, perPage] : kNodesPerPage) {
        const auto nodes = NodesOf(job);
        for (const SkillTreeNode* n : nodes) {
            for (const PrerequisiteEntry* e : UsedEntries(*n)) {
                const Box own = IconBox(*n);
                const Box target = IconBox(*NodeOfSkill(job, e->skill));
                const bool fromLeft = e->startX == 0 && e->startY >= 0 && e->startY <= 23;
                const bool fromTop = e->startY == 0 && e->startX >= 0 && e->startX <= 23;
                EXPECT_TRUE(fromLeft || fromTop) << "job " << job;
                // Points of the path; the trailing steps after the last move are 0.
                std::vector<std::pair<int, int>> points{{own.x0 + e->startX, own.y0 + e->startY}};
                int last = -1;
                for (int j = 0; j < kPathSteps; ++j) {
                    EXPECT_NE(e->path[j], kPathEnd);
                    if (e->path[j] == 0) continue;
                    last = j;
                    auto [x, y] = points.back();
                    (j % 2 == 0 ? x : y) += e->path[j];
                    points.push_back({x, y});
                }
                ASSERT_GE(last, 0) << "job " << job << ": an empty path";
                if (fromLeft && !fromTop) {
                    EXPECT_LT(e->path[0], 0);
                }
                if (fromTop && !fromLeft) {
                    EXPECT_EQ(e->path[0], 0);
                    EXPECT_LT(e->path[1], 0);
                }
                EXPECT_TRUE(target.OnBoundary(points.back().first, points.back().second)) << "job " << job;
                // Walk every pixel; other icons are never touched, the own icon
                // only at the start, the prerequisite's only at the end.
                for (std::size_t s = 1; s < points.size(); ++s) {
                    auto [x, y] = points[s - 1];
                    const auto [tx, ty] = points[s];
                    const int dx = (tx > x) - (tx < x), dy = (ty > y) - (ty < y);
                    while (true) {
                        const bool isStart = s == 1 && x == points[0].first && y == points[0].second;
                        const bool isEnd = s + 1 == points.size() && x == tx && y == ty;
                        for (const SkillTreeNode* m : nodes) {
                            const Box box = IconBox(*m);
                            if (!box.Contains(x, y)) continue;
                            const bool allowed = (m == n && isStart) || (isEnd && m->skill == e->skill);
                            EXPECT_TRUE(allowed) << "job " << job << " skill " << n->skill
                                                 << " touches skill " << m->skill << " at " << x << "," << y;
                        }
                        if (x == tx && y == ty) break;
                        x += dx;
                        y += dy;
                    }
                }
                ++paths;
            }
        }
    }
    EXPECT_EQ(paths, 593 + 2 * 146 + 3 * 40 + 4 * 9 + 5);
}

TEST(ContentTexts, PresenceByLanguage) {
    for (int i = 27; i < kTextCount; ++i) {
        const LocalizedText& t = g_LocalizedTextTable[i];
        for (int lang = 0; lang < kLanguageCount; ++lang)
            ASSERT_TRUE(Terminated(t.text[lang], kTextChars)) << i;
        EXPECT_NE(t.text[0][0], 0) << i;
        const bool english = t.text[1][0] != 0, japanese = t.text[2][0] != 0;
        if (i <= 29) {
            EXPECT_TRUE(english && !japanese) << i;
        } else if (i <= 79) {
            const bool translated = i == 43 || i == 45 || i == 46 || i == 54 || i == 72;
            EXPECT_EQ(english, translated) << i;
            EXPECT_EQ(japanese, translated) << i;
        } else {
            const bool noJapanese = (i >= 112 && i <= 124) || i == 131 || i == 132 || i == 134 || i == 135;
            EXPECT_TRUE(english) << i;
            EXPECT_EQ(japanese, !noJapanese) << i;
        }
    }
    const std::u16string home = g_LocalizedTextTable[27].text[0];
    EXPECT_EQ(home.substr(0, 2), u"\u3000\u3000");
    EXPECT_EQ(std::u16string(g_LocalizedTextTable[28].text[1]).rfind(u"E-mail   : mailto:", 0), 0u);
}

TEST(ContentTexts, HighestGradeTitlesAndNamesAreDistinct) {
    for (int language : {0, 1, 2}) {
        LanguageScope scope(language);
        std::set<std::u16string> titles, names;
        for (const JobRecord& job : g_JobTable) {
            const std::u16string title = GetJobTitle(job.id, 4);
            EXPECT_FALSE(title.empty()) << job.id;
            EXPECT_LE(title.size(), 11u) << job.id;  // fits the header
            titles.insert(title);
            const std::u16string name = GetJobName(job.id, 4);
            EXPECT_FALSE(name.empty()) << job.id;
            names.insert(name);
        }
        EXPECT_EQ(titles.size(), 20u) << "language " << language;
        EXPECT_EQ(names.size(), 20u) << "language " << language;
    }
}

}  // namespace
