#include "platform/dialog_keys.h"

#include <gtest/gtest.h>

namespace {

// Catches a filter that drops more than the key-downs of Enter and Escape
// (key-ups, character messages, other keys), which the windows then lose.
TEST(DialogKeys, OnlyEnterAndEscapeKeyDownsAreDropped) {
    constexpr uint32_t kWmKeyUp = 0x0101;
    constexpr uint32_t kWmChar = 0x0102;
    constexpr uint32_t kVkSpace = 0x20;
    constexpr uint32_t kVkTab = 0x09;
    EXPECT_TRUE(DropsDialogKey(kWmKeyDown, kVkReturn));
    EXPECT_TRUE(DropsDialogKey(kWmKeyDown, kVkEscape));
    for (uint32_t key : {kVkSpace, kVkTab, 0u}) EXPECT_FALSE(DropsDialogKey(kWmKeyDown, key)) << key;
    for (uint32_t message : {kWmKeyUp, kWmChar}) {
        EXPECT_FALSE(DropsDialogKey(message, kVkReturn)) << message;
        EXPECT_FALSE(DropsDialogKey(message, kVkEscape)) << message;
    }
}

}  // namespace
