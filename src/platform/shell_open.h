// Opening an address with the system's handler (web pages, mail links,
// downloads). One replaceable handler: the program installs the desktop's
// opener, tests install a recorder.
#pragma once

#include <functional>
#include <string>

using ShellOpenHandler = std::function<void(const std::u16string& address)>;

// Installs the handler; an empty one restores the default, which opens nothing.
void SetShellOpenHandler(ShellOpenHandler handler);

// Hands the address to the installed handler. The result is not reported.
void ShellOpen(const std::u16string& address);
