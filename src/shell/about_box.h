// Fixed texts of the About box that are not localized.
#pragma once

#include <string_view>

// The addresses the About box's link buttons open; the captions of text
// records 27 and 28 name the same addresses.
inline constexpr std::u16string_view kHomePageAddress = u"http://www.tolvemar.invalid/";
inline constexpr std::u16string_view kEmailAddress = u"tolvemar@tolvemar.invalid";

// The rights notice under the version line.
inline constexpr std::u16string_view kRightsNotice = u"Copyright (C) 2026 Tolvemar";
