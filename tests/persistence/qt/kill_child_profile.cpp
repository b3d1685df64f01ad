// The crash-safe saving tests' child that saves to the profile file, through
// the Qt INI store (see kill_child.h).
#include "persistence/kill_child.h"

#include "platform/qt/ini_profile_store.h"
#include "shell/profile_store.h"

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[1], "profile") != 0) return 2;
    kill_test::PrepareChild();
    IniProfileStore profile(QString::fromUtf8(argv[2]));
    SetProfileStore(&profile);
    kill_test::SaveUntilKilled(std::strtoll(argv[3], nullptr, 10));
}
