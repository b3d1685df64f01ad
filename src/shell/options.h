// The eight user options. Member names are also the value names in the
// profile section "Option".
#pragma once

#include <cstdint>

class ProfileStore;

struct AppOptions {
    uint8_t SkillInfo = 1;   // show the description popup on hover (Korean only)
    uint8_t AutoChange = 1;  // raising a skill raises its missing prerequisites first
    uint8_t AutoCenter = 0;  // centre the main window whenever a child resizes it
    uint8_t AutoSave = 1;    // store the builds at exit without asking
    uint8_t SexType = 0;     // portraits: 0 male, 1 female
    uint8_t AutoUpdate = 1;  // look for a newer version at start
    uint8_t SaveToFile = 0;  // keep builds in "Tolvemar.sav" instead of the profile
    int32_t Language = -1;   // 0 Korean, 1 English, 2 Japanese, -1 never chosen
};

extern AppOptions g_Options;

inline constexpr char16_t kOptionSection[] = u"Option";

// Reads the section "Option" in its fixed order. Flags read as 0 or 1 (any
// non-zero value is 1); a Language outside -1..2 reads as -1 (never chosen).
AppOptions ReadOptions(ProfileStore& profile);
// Writes all eight values in their fixed order; false when any write failed.
bool WriteOptions(ProfileStore& profile, const AppOptions& options);
