#include "platform/message_box.h"

#include "platform/string_table.h"

namespace {
MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

MbResult FirstButton(MbButtons buttons) {
    switch (buttons) {
    case MbButtons::Ok:
    case MbButtons::OkCancel: return MbResult::Ok;
    case MbButtons::YesNo:
    case MbButtons::YesNoCancel: return MbResult::Yes;
    }
    return MbResult::Ok;
}
}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }

MbResult ShowMessageBox(const MessageBoxRequest& request) {
    if (Handler()) return Handler()(request);
    return FirstButton(request.buttons);
}

MbResult AfxMessageBox(const std::u16string& text, MbButtons buttons, MbIcon icon) {
    if (icon == MbIcon::None) {
        const bool yesNo = buttons == MbButtons::YesNo || buttons == MbButtons::YesNoCancel;
        icon = yesNo ? MbIcon::Question : MbIcon::Exclamation;
    }
    MessageBoxRequest request;
    request.owner = MbOwner::Application;
    request.text = text;
    request.caption = std::u16string(LoadStringResource(AFX_IDS_APP_TITLE));
    request.buttons = buttons;
    request.icon = icon;
    return ShowMessageBox(request);
}
