#include "persistence/file_commands.h"

#include "data/tables.h"
#include "persistence/build_state.h"
#include "persistence/build_store.h"
#include "persistence/save_data.h"
#include "platform/file_io.h"
#include "platform/message_box.h"

namespace {

MbResult ChooserBox(const char16_t* text, const char16_t* caption, MbButtons buttons, MbIcon icon) {
    MessageBoxRequest request;
    request.owner = MbOwner::SelectJob;
    request.text = text;
    request.caption = caption;
    request.buttons = buttons;
    request.icon = icon;
    return ShowMessageBox(request);
}

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : (value > high ? high : value);
}

}  // namespace

void OnClickedCloseFile(FileCommandHost& host) {
    if (!SaveBuilds()) return;
    g_bSaveFileOpen = false;
    g_bModified = false;
    LoadBuilds();
    UpdateMainTitle();
    host.ShowFileButtons(false);
}

void OnClickedSaveFile(FileCommandHost& host) {
    const std::optional<SaveChoice> choice = host.RunSelectSaveDlg();
    if (!choice) return;
    const int32_t slot = Clamp(choice->slot, 0, kSlotCount - 1);
    const int32_t job = Clamp(choice->job, 0, NO_JOB);

    const std::optional<std::u16string> chosen = host.FileDialogs().GetSaveFileName();
    if (!chosen || chosen->empty()) return;
    const std::u16string path = AbsolutePath(*chosen);
    if (CanOpenForReading(path) &&
        ChooserBox(kOverwriteText, kConfirmCaption, MbButtons::YesNo, MbIcon::None) != MbResult::Yes) {
        return;
    }
    if (!CSaveData().SaveFile(job, slot, path)) {
        ChooserBox(kSaveFileFailedText, kErrorCaption, MbButtons::Ok, MbIcon::Stop);
        return;
    }
    RememberSaveFileWritten(path);
    g_bSaveFileOpen = true;
    g_szSaveFilePath = path;
    g_bModified = false;
    UpdateMainTitle();
    ChooserBox(kSaveDoneText, kConfirmCaption, MbButtons::Ok, MbIcon::None);
}

void OnClickedLoadFile(FileCommandHost& host) {
    if (!SaveBuilds()) return;
    const std::optional<std::u16string> chosen = host.FileDialogs().GetOpenFileName();
    if (!chosen || chosen->empty()) return;
    const std::u16string path = AbsolutePath(*chosen);
    const SaveFileLoad loaded = CSaveData().LoadFile(path);
    if (loaded.status == SaveFileStatus::CannotOpen || loaded.status == SaveFileStatus::Missing) {
        ChooserBox(kCannotOpenText, kErrorCaption, MbButtons::Ok, MbIcon::Stop);
        return;
    }
    if (loaded.status == SaveFileStatus::BadHeader) {
        ChooserBox(kNotSaveFileText, kErrorCaption, MbButtons::Ok, MbIcon::Stop);
        return;
    }
    RememberSaveFileRead(path, loaded);
    g_nAutoRunJob = loaded.autoRunJob;
    if (loaded.autoRunJob >= 0 && loaded.autoRunJob < kJobCount) {
        g_nSelectedSlot[loaded.autoRunJob] = loaded.autoRunSlot;
    }
    g_bSaveFileOpen = true;
    g_bModified = false;
    g_szSaveFilePath = path;
    UpdateMainTitle();
    host.ShowFileButtons(true);
}
