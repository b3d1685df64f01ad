// The builds in the per-user profile: section "Slot" holds each job's selected
// build slot under the job's title, section "Data" each build slot's levels as
// 100 hexadecimal digits under the title followed by the slot digit. Titles
// are those of the current language; builds stored under a title the job
// carried before are read under it.
#pragma once

#include "persistence/builds.h"

#include <string>
#include <string_view>

class ProfileStore;

inline constexpr char16_t kSlotSection[] = u"Slot";
inline constexpr char16_t kDataSection[] = u"Data";

// The value names of a job: its title at its highest grade, and that title
// followed by the build slot digit.
std::u16string SlotValueName(int32_t job);
std::u16string DataValueName(int32_t job, int32_t slot);

// 100 lower-case hexadecimal digits, one per node, each clamp(level, 0, 15).
std::u16string EncodeLevelText(const int32_t (&levels)[kNodeCount]);

// Reads a "Data" text into `levels`, which holds the levels in memory on entry.
// Character n gives node n its digit value ("0".."9", "a".."f", "A".."F"); any
// other character keeps the level in memory. Nodes past the text get 0, except
// node 0 of an empty text, which gets 4 (the job's highest grade). Levels of
// nodes 1..99 are then brought into 0..cap; characters past 100 are ignored.
void DecodeLevelText(std::u16string_view text, const JobLevelCaps& caps, int32_t (&levels)[kNodeCount]);

// Writes the four values of every job, as one batch of the store. False when
// any value could not be stored.
bool WriteRegistryBuilds(ProfileStore& profile, const AllBuilds& builds);

// Reads every job's values over `current` (the builds in memory). A job with
// no value under its title reads those under its most recent former title
// that has any (the next write stores them under the title). A selected slot
// outside 0..2 reads as 0.
AllBuilds ReadRegistryBuilds(ProfileStore& profile, const AllBuilds& current, const LevelCaps& caps);
