// The texts that make the save-file type known to the desktop: the
// shared-mime-info package and the desktop entry, and where they live under
// the user's data folder.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::string_view kSaveFileMimeType = "application/x-tolvemar-save";
inline constexpr std::string_view kSaveFileTypeName = "Tolvemar Save File";
inline constexpr std::string_view kIconName = "tolvemar";

// Paths relative to the data folder ($XDG_DATA_HOME or ~/.local/share).
inline constexpr std::string_view kMimePackagePath = "mime/packages/tolvemar.xml";
// The entry each start writes has a file id of its own: the installed menu
// entry is applications/tolvemar.desktop, which a start never shadows.
inline constexpr std::string_view kDesktopEntryFolder = "applications";
inline constexpr std::string_view kFileTypeEntryName = "tolvemar-save-file.desktop";

// The icon sizes shipped under icons/hicolor/<n>x<n>/apps/tolvemar.png.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The shared-mime-info package: the type, its comment, its glob and its icon.
std::string ComposeMimePackage();

// One argument of an Exec line: quoted when it holds a reserved character,
// with '"', '`', '$' and '\' escaped inside the quotes and '%' doubled.
std::string QuoteExecArgument(std::string_view argument);

// The same argument as it is written into the file: the string escapes of a
// desktop entry value applied on top ('\' doubled, line breaks and tabs as
// escapes).
std::string EscapeDesktopValue(std::string_view value);

enum class DesktopEntryUse {
    MenuLauncher,  // the installed entry: a menu item that also opens save files
    FileTypeOnly,  // the entry a start writes: opens save files, hidden from menus
};

// The desktop entry that opens save files with the executable (UTF-8 path).
std::string ComposeDesktopEntry(std::string_view executable,
                                DesktopEntryUse use = DesktopEntryUse::MenuLauncher);
