#include "platform/shell_open.h"

namespace {
ShellOpenHandler& Handler() {
    static ShellOpenHandler handler;
    return handler;
}
}  // namespace

void SetShellOpenHandler(ShellOpenHandler handler) { Handler() = std::move(handler); }

void ShellOpen(const std::u16string& address) {
    if (Handler()) Handler()(address);
}
