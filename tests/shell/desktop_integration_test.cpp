#include "shell/desktop_integration.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// A file of the source tree this binary was built from, or of the copy that
// TOLVEMAR_SOURCE_DIR names. Empty when it cannot be read.
std::string ReadSourceFile(const std::string& relative) {
    const char* root = std::getenv("TOLVEMAR_SOURCE_DIR");
    if (!root || !*root) root = TOLVEMAR_BUILT_FROM;
    std::ifstream in(std::string(root) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The Exec value as a desktop launcher reads it back: first the string
// escapes of the file, then the quoting of the argument and the '%%' field
// code. Returns the program path.
std::string UnquoteExecProgram(const std::string& line) {
    std::string value;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            const char e = line[++i];
            value.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 's' ? ' ' : e);
        } else {
            value.push_back(line[i]);
        }
    }
    std::string program;
    std::size_t i = 0;
    if (value[0] == '"') {
        for (i = 1; i < value.size() && value[i] != '"'; ++i) {
            if (value[i] == '\\') ++i;
            if (value[i] == '%') ++i;
            program.push_back(value[i]);
        }
        ++i;
    } else {
        for (; i < value.size() && value[i] != ' '; ++i) {
            if (value[i] == '%') ++i;
            program.push_back(value[i]);
        }
    }
    EXPECT_EQ(value.substr(i), " %f");
    return program;
}

std::string ExecLine(const std::string& entry) {
    const std::size_t start = entry.find("\nExec=");
    const std::size_t end = entry.find('\n', start + 1);
    return entry.substr(start + 6, end - start - 6);
}

TEST(DesktopIntegration, ExecQuotingOfOddPaths) {
    EXPECT_EQ(QuoteExecArgument("/a b/tolvemar"), "\"/a b/tolvemar\"");
    EXPECT_EQ(QuoteExecArgument("/a\"b$c`d\\e/x"), "\"/a\\\"b\\$c\\`d\\\\e/x\"");
    EXPECT_EQ(QuoteExecArgument("/100%/x"), "/100%%/x");
    EXPECT_EQ(QuoteExecArgument("/100% sure/x"), "\"/100%% sure/x\"");
    EXPECT_EQ(EscapeDesktopValue("\"a\\\\b\"\n"), "\"a\\\\\\\\b\"\\n");
    EXPECT_EQ(ExecLine(ComposeDesktopEntry("/opt/tolvemar/bin/tolvemar")), "/opt/tolvemar/bin/tolvemar %f");
    // A backslash in the path ends up as four in the file.
    EXPECT_EQ(ExecLine(ComposeDesktopEntry("/a\\b")), "\"/a\\\\\\\\b\" %f");

    for (const std::string path :
         {"/home/u/My Games/tolvemar", "/tmp/it's \"here\"/tolvemar", "/tmp/$HOME/`id`/x", "/tmp/%f %u %%/x",
          "/tmp/back\\slash/x", "/tmp/tab\there/x", "/tmp/line\nbreak/x", "/tmp/게임/トルヴェ/x",
          "/tmp/semi;colon&amp|pipe<>~*?#()/x"}) {
        const std::string entry = ComposeDesktopEntry(path);
        EXPECT_EQ(entry.find('\n', entry.find("Exec=")), entry.find("Exec=") + 5 + ExecLine(entry).size())
            << path;
        EXPECT_EQ(UnquoteExecProgram(ExecLine(entry)), path);
    }
}

// The whole texts: the installed files are the ones a start writes, the entry
// shown in menus.
TEST(DesktopIntegration, InstalledFilesMatchTheRegisteredOnes) {
    const std::string mime = ReadSourceFile("resources/linux/tolvemar.xml");
    const std::string entry = ReadSourceFile("resources/linux/tolvemar.desktop");
    ASSERT_FALSE(mime.empty());
    EXPECT_EQ(mime, ComposeMimePackage());
    EXPECT_EQ(entry, ComposeDesktopEntry("tolvemar"));
}

}  // namespace
