// The text resources compiled into the program, as the bytes they were
// written in (Korean code page 949, CR LF line ends): 177 the release notes,
// 213 carried and read by nothing, 214 the skill description table.
#pragma once

#include <span>

inline constexpr int kReleaseNotesResource = 177;
inline constexpr int kDescriptionTableResource = 214;

// The bytes of text resource `id`; an empty span when there is no such resource.
std::span<const unsigned char> TextResource(int id);
