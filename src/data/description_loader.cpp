#include "data/description_loader.h"

#include "data/cp949.h"
#include "data/lookups.h"
#include "data/tables.h"
#include "data/text_resources.h"

#include <string>

namespace {
constexpr std::size_t kMaxIdent = kNameChars - 1;  // 30
constexpr std::size_t kMaxDescription = 1000;
constexpr std::size_t kColourCodeLength = 6;

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// The description gathered from the list that starts right after "{". The
// scan ends at the first "}" wherever it stands (inside a string or among the
// six characters a colour code drops) or at the end of the line; at most 1000
// characters are kept. Every line starts outside a string, so an unclosed
// string cannot spill into the next line.
std::u16string GatherDescription(std::u16string_view list) {
    std::u16string text;
    bool inString = false;
    auto append = [&text](char16_t c) {
        if (text.size() < kMaxDescription) text.push_back(c);
    };
    list = list.substr(0, list.find(u'}'));
    for (std::size_t i = 0; i < list.size(); ++i) {
        const char16_t c = list[i];
        if (c == u'"') {
            if (inString) append(u'\n');
            inString = !inString;
        } else if (c == u'^') {
            i += kColourCodeLength;  // the loop stops at the line end
        } else if (inString || (c != u',' && c != u' ')) {
            append(c);
        }
    }
    return text;
}

void ApplyLine(std::u16string_view line, DescriptionLoadStats* stats) {
    const std::size_t skid = line.find(u"SKID.");
    if (skid == std::u16string_view::npos) return;
    const std::size_t identStart = skid + 5;
    if (identStart >= line.size() || line[identStart] == u']') return;
    const std::size_t close = line.find(u']', identStart);
    if (close == std::u16string_view::npos || close - identStart > kMaxIdent) return;
    const std::size_t open = line.find(u"] = {", close);
    if (open == std::u16string_view::npos) return;

    const std::u16string ident(line.substr(identStart, close - identStart));
    const std::u16string_view list = line.substr(open + 5);
    if (stats) ++stats->identifierLines;
    const int32_t skill = FindSkillByIdent(ident.c_str());
    if (skill == 0) {
        if (stats && !list.empty() && list.front() == u'}') ++stats->emptyOtherLines;
        return;
    }
    if (stats) ++stats->matchedLines;
    const std::u16string text = GatherDescription(list);
    char16_t* description = g_SkillTable[skill].description;
    text.copy(description, text.size());
    description[text.size()] = 0;
}
}  // namespace

void ApplyDescriptionTable(std::u16string_view text, DescriptionLoadStats* stats) {
    bool first = true;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsLineBreak(text[pos])) ++pos;
        std::size_t end = pos;
        while (end < text.size() && !IsLineBreak(text[end])) ++end;
        if (end > pos) {
            if (!first) ApplyLine(text.substr(pos, end - pos), stats);
            first = false;
        }
        pos = end;
    }
}

bool LoadSkillDescriptionsFrom(std::span<const unsigned char> table, DescriptionLoadStats* stats) {
    if (table.empty()) return false;
    const std::u16string text = DecodeCp949(table);
    // The table is text: a zero byte ends it, as it ends any converted string.
    std::u16string_view view(text);
    view = view.substr(0, view.find(u'\0'));
    ApplyDescriptionTable(view, stats);
    return true;
}

bool LoadSkillDescriptions() { return LoadSkillDescriptionsFrom(TextResource(kDescriptionTableResource)); }

namespace {
bool descriptionsPending = false;
}  // namespace

void DeferSkillDescriptions() { descriptionsPending = true; }

void EnsureSkillDescriptions() {
    if (!descriptionsPending) return;
    descriptionsPending = false;
    LoadSkillDescriptions();
}
