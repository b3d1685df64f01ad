// The key filter that the skill tree window and the job chooser share, as a
// decision without a window: a key-down of Enter or Escape is dropped before
// the window handles it as a dialog key, so Enter presses no button and
// Escape does not close the window. Every other message goes on.
#pragma once

#include <cstdint>

inline constexpr uint32_t kWmKeyDown = 0x0100;
inline constexpr uint32_t kVkReturn = 0x0D;  // either Enter key
inline constexpr uint32_t kVkEscape = 0x1B;

// True when the message is to be dropped.
bool DropsDialogKey(uint32_t message, uint32_t virtualKey);
