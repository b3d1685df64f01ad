#include "persistence/build_store.h"

#include "persistence/build_state.h"
#include "persistence/save_data.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "shell/options.h"
#include "shell/profile_store.h"

#include <optional>

namespace {

// The save file as the program last read or wrote it. A save replaces that
// file without further care only while it is still in that state; the stamp
// is empty when the file was there but did not load (it could not be read, or
// failed the header check), so its bytes are not in memory.
struct KnownSaveFile {
    std::u16string path;
    std::optional<FileStamp> stamp;
};
KnownSaveFile knownSaveFile;

// Set by SaveBuilds when the user chose to go on without saving.
bool wentOnWithoutSaving = false;

bool WriteSaveFileInUse() {
    const std::u16string path = g_szSaveFilePath;
    // A file that may not be replaced is not copied either: the save fails as
    // it is. One that is not as the program left it (it did not load, it
    // appeared since, or somebody replaced or wrote it) is kept as .bak first.
    const std::optional<FileStamp> known =
        knownSaveFile.path == path ? knownSaveFile.stamp : std::optional<FileStamp>();
    if (!MayReplaceFile(path) || !KeepChangedFile(path, known)) return false;
    if (!CSaveData().SaveFile(kSaveBuildsAutoRunJob, kSaveBuildsAutoRunSlot, path)) return false;
    RememberSaveFileWritten(path);
    return true;
}

bool AskGoOnWithoutSaving() {
    return AfxMessageBox(kSaveFailedContinueText, MbButtons::YesNo, MbIcon::Question) == MbResult::Yes;
}

}  // namespace

void RememberSaveFileRead(const std::u16string& path, const SaveFileLoad& loaded) {
    knownSaveFile.path = path;
    if (loaded.status == SaveFileStatus::Ok || loaded.status == SaveFileStatus::Missing)
        knownSaveFile.stamp = loaded.stamp;
    else
        knownSaveFile.stamp.reset();
}

void RememberSaveFileWritten(const std::u16string& path) {
    knownSaveFile.path = path;
    knownSaveFile.stamp = StampOf(path);
}

bool SaveFileInUse() { return g_bSaveFileOpen || g_Options.SaveToFile; }

bool LoadBuilds() {
    CSaveData data;
    if (!SaveFileInUse()) {
        knownSaveFile = {};
        data.LoadRegistry();
        return true;
    }
    if (!g_bSaveFileOpen) g_szSaveFilePath = AbsolutePath(kFixedSaveFileName);
    RememberSaveFileRead(g_szSaveFilePath, data.LoadFile(g_szSaveFilePath));
    return true;
}

bool SaveBuilds() {
    wentOnWithoutSaving = false;
    if (g_bModified && !g_Options.AutoSave) {
        const MbResult answer = AfxMessageBox(kAskSaveText, MbButtons::YesNoCancel);
        if (answer == MbResult::Cancel) return false;
        if (answer == MbResult::No) return true;
    }
    const bool written = SaveFileInUse() ? WriteSaveFileInUse() : CSaveData().SaveRegistry();
    if (written) return true;
    wentOnWithoutSaving = AskGoOnWithoutSaving();
    return wentOnWithoutSaving;
}

bool SaveProfileAtExit(const std::function<void(ProfileStore&)>& more) {
    const bool agreed = wentOnWithoutSaving;
    wentOnWithoutSaving = false;
    ProfileStore& profile = Profile();
    profile.BeginBatch();
    if (more) more(profile);
    if (profile.EndBatch() || agreed) return true;
    return AskGoOnWithoutSaving();
}
