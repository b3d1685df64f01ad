// Message boxes as requests: the rules describe a box (owner, text, caption,
// buttons, icon) and one installed handler shows it and returns the answer.
// The program installs a handler that shows a real box; tests install one that
// records the request and returns a scripted answer.
#pragma once

#include <functional>
#include <string>

enum class MbButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MbIcon { None, Stop, Question, Exclamation, Information };
enum class MbResult { Ok, Cancel, Yes, No };

// The window that owns a box.
enum class MbOwner { Application, MainWindow, SkillTree, SelectJob, OptionDlg, SelectSaveDlg, AboutDlg };

struct MessageBoxRequest {
    MbOwner owner = MbOwner::Application;
    std::u16string text;
    std::u16string caption;
    MbButtons buttons = MbButtons::Ok;
    MbIcon icon = MbIcon::None;

    bool operator==(const MessageBoxRequest&) const = default;
};

using MessageBoxHandler = std::function<MbResult(const MessageBoxRequest&)>;

// Installs the handler; an empty one restores the default, which answers every
// box with its first button without showing anything.
void SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a box through the installed handler.
MbResult ShowMessageBox(const MessageBoxRequest& request);

// An application box: caption "Tolvemar"; with no icon named, Yes/No boxes get
// the question icon and the others the exclamation icon.
MbResult AfxMessageBox(const std::u16string& text, MbButtons buttons = MbButtons::Ok,
                       MbIcon icon = MbIcon::None);
