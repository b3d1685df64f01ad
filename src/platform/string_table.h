// The program's fixed strings, by their resource numbers.
#pragma once

#include <string_view>

inline constexpr int IDS_ABOUTBOX = 102;
inline constexpr int IDS_MAIN_TITLE = 104;
inline constexpr int IDS_LOCAL_VERSION = 105;
inline constexpr int AFX_IDS_APP_TITLE = 57344;

// The text of a string, or an empty view when the table has no such string.
std::u16string_view LoadStringResource(int id);
