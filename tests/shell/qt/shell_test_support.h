// Doubles for the shell's widget tests: recorded service calls, a fixed
// screen, an in-memory profile, recorded message boxes and a modal runner
// that never blocks.
#pragma once

#include "persistence/build_state.h"
#include "platform/message_box.h"
#include "platform/qt/modal.h"
#include "platform/qt/screen.h"
#include "shell/options.h"
#include "shell/profile_store.h"
#include "shell/qt/shell_services.h"

#include <QDialog>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

// Records every call in order; each call can be scripted.
class RecordingServices : public ShellServices {
public:
    std::vector<std::string> calls;
    bool saveResult = true;
    bool forwardDialogs = false;  // run the real options dialog through the modal runner
    std::function<void()> onOptionsDialog;

    void RegisterSaveFileType() override { calls.push_back("RegisterSaveFileType"); }
    void StartUpdateCheck(CTolvemarDlg&) override { calls.push_back("StartUpdateCheck"); }
    bool LoadBuilds() override {
        calls.push_back("LoadBuilds");
        return true;
    }
    bool SaveBuilds() override {
        calls.push_back("SaveBuilds");
        return saveResult;
    }
    void LoadSkillDescriptions() override { calls.push_back("LoadSkillDescriptions"); }
    void RunOptionsDialog(QWidget* owner) override {
        calls.push_back("RunOptionsDialog");
        if (onOptionsDialog) onOptionsDialog();
        if (forwardDialogs) ShellServices::RunOptionsDialog(owner);
    }
    void RunAboutDialog(QWidget*) override { calls.push_back("RunAboutDialog"); }
};

// A screen of a given size; windows are placed for real (the offscreen
// platform draws no frame).
class FixedScreen : public WindowPlacement {
public:
    explicit FixedScreen(QSize screenSize) : size(screenSize) {}
    QSize ScreenSize() const override { return size; }
    void MoveWindow(QWidget* window, const QRect& outer) override {
        moves.push_back(outer);
        WindowPlacement::MoveWindow(window, outer);
    }
    QSize size;
    std::vector<QRect> moves;
};

// Installs the doubles for one test and restores the real ones afterwards.
class ShellTestEnvironment {
public:
    explicit ShellTestEnvironment(QSize screenSize = QSize(1600, 1000)) : screen(screenSize) {
        SetProfileStore(&profile);
        SetShellServices(&services);
        SetPlacement(&this->screen);
        SetMessageBoxHandler([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            return boxAnswer;
        });
        SetModalRunner([this](QDialog& dialog) {
            dialogs.push_back(dialog.metaObject()->className());
            dialog.show();
            if (drive) drive(dialog);
            const int result = dialog.result();
            dialog.hide();
            return result;
        });
        g_Options = AppOptions{};
        ResetBuildState();
    }
    ~ShellTestEnvironment() {
        SetProfileStore(nullptr);
        SetShellServices(nullptr);
        SetPlacement(nullptr);
        SetMessageBoxHandler(nullptr);
        SetModalRunner(nullptr);
        SetMainTitleSink(nullptr);
        g_Options = AppOptions{};
        ResetBuildState();
    }

    bool HasValue(const std::u16string& section, const std::u16string& entry) const {
        return profile.values.count({section, entry}) != 0;
    }

    MemoryProfileStore profile;
    RecordingServices services;
    FixedScreen screen;
    std::vector<MessageBoxRequest> boxes;
    MbResult boxAnswer = MbResult::Ok;
    std::vector<std::string> dialogs;
    // Drives a dialog run modally, e.g. clicks its OK button.
    std::function<void(QDialog&)> drive;
};
