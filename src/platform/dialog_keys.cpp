#include "platform/dialog_keys.h"

bool DropsDialogKey(uint32_t message, uint32_t virtualKey) {
    return message == kWmKeyDown && (virtualKey == kVkReturn || virtualKey == kVkEscape);
}
