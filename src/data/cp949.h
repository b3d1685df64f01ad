// Decoding of the Korean code page 949 (the text resources are written in it).
#pragma once

#include <span>
#include <string>

// The bytes decoded from code page 949 into UTF-16, whatever the locale.
// Each invalid or incomplete byte sequence becomes one U+FFFD, and decoding
// goes on after it; zero bytes decode to U+0000 like any other character.
std::u16string DecodeCp949(std::span<const unsigned char> bytes);
