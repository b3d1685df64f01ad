#include "shell/desktop_integration.h"

namespace {
// Characters that make an Exec argument need quotes.
constexpr std::string_view kReservedInExec = " \t\n\"'\\><~|&;$*?#()`";
}  // namespace

std::string ComposeMimePackage() {
    std::string text;
    text += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    text += "  <mime-type type=\"";
    text += kSaveFileMimeType;
    text += "\">\n    <comment>";
    text += kSaveFileTypeName;
    text += "</comment>\n    <icon name=\"";
    text += kIconName;
    text += "\"/>\n    <glob pattern=\"*.tvf\"/>\n  </mime-type>\n</mime-info>\n";
    return text;
}

std::string QuoteExecArgument(std::string_view argument) {
    const bool quote = argument.empty() || argument.find_first_of(kReservedInExec) != std::string_view::npos;
    std::string out;
    if (quote) out.push_back('"');
    for (char c : argument) {
        if (c == '%') {
            out += "%%";
        } else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out.push_back('\\');
            out.push_back(c);
        } else {
            out.push_back(c);
        }
    }
    if (quote) out.push_back('"');
    return out;
}

std::string EscapeDesktopValue(std::string_view value) {
    std::string out;
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string ComposeDesktopEntry(std::string_view executable, DesktopEntryUse use) {
    std::string text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=Tolvemar\n";
    text += "GenericName=Skill Tree Simulator\n";
    text += "Comment=Plan skill builds for Valdorne\n";
    text += "Icon=";
    text += kIconName;
    text += "\n";
    text += "Exec=" + EscapeDesktopValue(QuoteExecArgument(executable)) + " %f\n";
    text += "Terminal=false\n";
    // Menus leave the entry out; file managers still offer it for the type.
    if (use == DesktopEntryUse::FileTypeOnly) text += "NoDisplay=true\n";
    text += "MimeType=";
    text += kSaveFileMimeType;
    text += ";\n";
    text += "Categories=Game;RolePlaying;\n";
    return text;
}
