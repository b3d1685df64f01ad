#include "persistence/build_store.h"

#include "persistence/build_state.h"
#include "persistence/save_data.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "shell/options.h"

namespace {

// The name under which the bytes of a save file that did not load are kept.
constexpr char16_t kBackupSuffix[] = u".bak";

// The save file that LoadBuilds last found but could not load (it could not
// be read, or failed the header check), or empty. What it holds is not in
// memory, so the first save that replaces it keeps its bytes first.
std::u16string unreadSaveFile;

// Before a save replaces the file that did not load, its bytes are kept as
// "<name>.bak" beside it (replacing an older one, but never written through
// a link). A file that is gone, or empty, has nothing to keep, and an older
// backup stays. False when the bytes could not be kept: the file must then
// not be replaced.
bool KeepUnreadSaveFile(const std::u16string& path) {
    if (unreadSaveFile.empty() || unreadSaveFile != path) return true;
    return BackUpFile(path, path + kBackupSuffix) != BackupResult::Failed;
}

bool WriteSaveFileInUse() {
    // A file that may not be replaced is not copied either: the save fails as it is.
    if (!MayReplaceFile(g_szSaveFilePath) || !KeepUnreadSaveFile(g_szSaveFilePath)) return false;
    if (!CSaveData().SaveFile(kSaveBuildsAutoRunJob, kSaveBuildsAutoRunSlot, g_szSaveFilePath)) {
        return false;
    }
    if (unreadSaveFile == g_szSaveFilePath) unreadSaveFile.clear();
    return true;
}

}  // namespace

bool SaveFileInUse() { return g_bSaveFileOpen || g_Options.SaveToFile; }

bool LoadBuilds() {
    CSaveData data;
    if (!SaveFileInUse()) {
        unreadSaveFile.clear();
        data.LoadRegistry();
        return true;
    }
    if (!g_bSaveFileOpen) g_szSaveFilePath = AbsolutePath(kFixedSaveFileName);
    const SaveFileStatus status = data.LoadFile(g_szSaveFilePath).status;
    const bool unread = status != SaveFileStatus::Ok && status != SaveFileStatus::Missing;
    unreadSaveFile = unread ? g_szSaveFilePath : std::u16string();
    return true;
}

bool SaveBuilds() {
    if (g_bModified && !g_Options.AutoSave) {
        const MbResult answer = AfxMessageBox(kAskSaveText, MbButtons::YesNoCancel);
        if (answer == MbResult::Cancel) return false;
        if (answer == MbResult::No) return true;
    }
    const bool written = SaveFileInUse() ? WriteSaveFileInUse() : CSaveData().SaveRegistry();
    if (written) return true;
    return AfxMessageBox(kSaveFailedContinueText, MbButtons::YesNo, MbIcon::Question) == MbResult::Yes;
}
