// The program's shell opener: hands addresses to QDesktopServices::openUrl.
#pragma once

// Installs the desktop opener as the shell-open handler (call once in main).
void UseDesktopShellOpen();
