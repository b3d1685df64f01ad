#include "persistence/build_store.h"

#include "persistence/build_state.h"
#include "persistence/save_data.h"
#include "platform/file_io.h"
#include "platform/message_box.h"
#include "shell/options.h"

bool SaveFileInUse() { return g_bSaveFileOpen || g_Options.SaveToFile; }

bool LoadBuilds() {
    CSaveData data;
    if (!SaveFileInUse()) {
        data.LoadRegistry();
        return true;
    }
    if (!g_bSaveFileOpen) g_szSaveFilePath = AbsolutePath(kFixedSaveFileName);
    data.LoadFile(g_szSaveFilePath);
    return true;
}

bool SaveBuilds() {
    if (g_bModified && !g_Options.AutoSave) {
        const MbResult answer = AfxMessageBox(kAskSaveText, MbButtons::YesNoCancel);
        if (answer == MbResult::Cancel) return false;
        if (answer == MbResult::No) return true;
    }
    CSaveData data;
    const bool written = SaveFileInUse()
                             ? data.SaveFile(kSaveBuildsAutoRunJob, kSaveBuildsAutoRunSlot,
                                             g_szSaveFilePath)
                             : data.SaveRegistry();
    if (written) return true;
    return AfxMessageBox(kSaveFailedContinueText, MbButtons::YesNo, MbIcon::Question) ==
           MbResult::Yes;
}
