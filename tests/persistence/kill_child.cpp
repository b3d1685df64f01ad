// The crash-safe saving tests' child that saves to a save file (see
// kill_child.h); it uses the window-free core only.
#include "kill_child.h"

#include "platform/file_io.h"

#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "file") != 0) return 2;
    kill_test::PrepareChild();
    g_bSaveFileOpen = true;
    g_szSaveFilePath = DecodeFileName(argv[2]);
    kill_test::SaveUntilKilled(std::strtoll(argv[3], nullptr, 10));
}
