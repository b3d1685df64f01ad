// Fills the skill descriptions from the description table (text resource 214)
// once at start.
#pragma once

#include <span>
#include <string_view>

// What one pass over a description table found; for checking the table.
struct DescriptionLoadStats {
    int identifierLines = 0;  // lines with "SKID.", an identifier and "] = {"
    int matchedLines = 0;     // of them, lines naming a skill of the table
    int emptyOtherLines = 0;  // lines naming no skill whose list is empty
};

// Loads text resource 214 into the skills' descriptions. False, with no
// description changed, when the resource is missing or empty.
bool LoadSkillDescriptions();

// Start-up may leave the loading for later, as nothing reads a description
// before a skill is hovered: DeferSkillDescriptions marks the load as
// pending, and EnsureSkillDescriptions runs a pending load (once) and
// otherwise does nothing. Every reader of a description calls the latter.
void DeferSkillDescriptions();
void EnsureSkillDescriptions();

// The same from the given code-page-949 bytes.
bool LoadSkillDescriptionsFrom(std::span<const unsigned char> table, DescriptionLoadStats* stats = nullptr);

// Applies already decoded table text: the first line is ignored, every
// later line naming a skill replaces that skill's description.
void ApplyDescriptionTable(std::u16string_view text, DescriptionLoadStats* stats = nullptr);
