#include "persistence/build_store.h"

#include "persistence/build_state.h"
#include "persistence/save_data.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "shell/options.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// The name under which the bytes of an unreadable save file are kept.
constexpr char16_t kBackupSuffix[] = u".bak";

// Before a save replaces the file that failed the header check when it was
// read, its bytes are kept as "<name>.bak" beside it (replacing an older one),
// so that whatever the file held is not destroyed. Bytes that pass the check
// by now need no copy. False when the bytes could not be kept: the file must
// then not be replaced.
bool KeepUnreadSaveFile(const std::u16string& path) {
    if (g_szUnreadSaveFilePath.empty() || g_szUnreadSaveFilePath != path) return true;
    std::vector<uint8_t> head;
    if (!ReadFileHead(path, kSaveFileSize, head)) {
        std::error_code error;
        const bool gone = !std::filesystem::exists(Utf16ToUtf8(path), error) && !error;
        return gone;  // nothing left to keep, or bytes that cannot be read
    }
    if (DecodeSaveFile(head.data(), head.size(), CurrentLevelCaps()).status != SaveFileStatus::BadHeader) {
        return true;
    }
    return CopyFileAtomic(path, path + kBackupSuffix);
}

bool WriteSaveFileInUse() {
    // A file that may not be replaced is not copied either: the save fails as it is.
    if (!MayReplaceFile(g_szSaveFilePath) || !KeepUnreadSaveFile(g_szSaveFilePath)) return false;
    if (!CSaveData().SaveFile(kSaveBuildsAutoRunJob, kSaveBuildsAutoRunSlot, g_szSaveFilePath)) {
        return false;
    }
    if (g_szUnreadSaveFilePath == g_szSaveFilePath) g_szUnreadSaveFilePath.clear();
    return true;
}

}  // namespace

bool SaveFileInUse() { return g_bSaveFileOpen || g_Options.SaveToFile; }

bool LoadBuilds() {
    CSaveData data;
    if (!SaveFileInUse()) {
        g_szUnreadSaveFilePath.clear();
        data.LoadRegistry();
        return true;
    }
    if (!g_bSaveFileOpen) g_szSaveFilePath = AbsolutePath(kFixedSaveFileName);
    const bool unread = data.LoadFile(g_szSaveFilePath).status == SaveFileStatus::BadHeader;
    g_szUnreadSaveFilePath = unread ? g_szSaveFilePath : std::u16string();
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
