// The file dialogs of the save and load commands, as an interface: the program
// shows real dialogs, tests answer with scripted paths.
#pragma once

#include <optional>
#include <string>

class FileDialog {
public:
    virtual ~FileDialog() = default;
    // A file name to save to (the dialog itself asks before an existing file
    // is chosen); nullopt when the user cancelled.
    virtual std::optional<std::u16string> GetSaveFileName() = 0;
    // An existing file to open; nullopt when the user cancelled.
    virtual std::optional<std::u16string> GetOpenFileName() = 0;
};
