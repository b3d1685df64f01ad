#include "persistence/qt/select_save_dlg.h"

#include "platform/qt/dialog_template.h"
#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QPushButton>

const DialogTemplate& SelectSaveTemplate() {
    static const DialogTemplate dialog = [] {
        DialogTemplate t{IDD_SELECTSAVE,
                         QString::fromStdU16String(kSelectSaveCaption),
                         DialogFontFace::Tahoma9,
                         155,
                         233,
                         {}};
        t.controls.push_back(
            {IDC_NOJOB, ControlKind::CheckBox, QStringLiteral("선택하지 않음"), 12, 9, 59, 10});
        t.controls.push_back(
            {IDC_JOB_GROUP, ControlKind::GroupBox, QStringLiteral("자동실행할 직업"), 7, 25, 141, 139});
        for (const SaveDlgJobRadio& radio : SaveDlgJobRadios()) {
            t.controls.push_back(
                {radio.control, ControlKind::Radio, QString(), radio.x, radio.y, radio.width, radio.height});
        }
        t.controls.push_back(
            {IDC_SLOT_GROUP, ControlKind::GroupBox, QStringLiteral("저장할 슬롯"), 7, 170, 141, 32});
        t.controls.push_back({IDC_SLOT_RADIO1, ControlKind::Radio, QStringLiteral("슬롯1"), 20, 184, 29, 10});
        t.controls.push_back({IDC_SLOT_RADIO2, ControlKind::Radio, QStringLiteral("슬롯2"), 63, 184, 29, 10});
        t.controls.push_back(
            {IDC_SLOT_RADIO3, ControlKind::Radio, QStringLiteral("슬롯3"), 106, 184, 29, 10});
        t.controls.push_back(
            {IDC_SAVE_OK, ControlKind::DefPushButton, QStringLiteral("저 장"), 42, 212, 50, 14});
        t.controls.push_back(
            {IDC_SAVE_CANCEL, ControlKind::PushButton, QStringLiteral("취 소"), 98, 212, 50, 14});
        return t;
    }();
    return dialog;
}

CSelectSaveDlg::CSelectSaveDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    CreateTemplateControls(this, SelectSaveTemplate());
    setFixedSize(size());

    // Each radio group lets one radio be checked at a time, as automatic
    // radios of one group do.
    m_jobGroup = new QButtonGroup(this);
    for (const SaveDlgJobRadio& radio : SaveDlgJobRadios()) {
        m_jobGroup->addButton(GetDlgItemAs<QAbstractButton>(this, radio.control), radio.control);
    }
    m_slotGroup = new QButtonGroup(this);
    for (int id : kSaveDlgSlotRadios) {
        m_slotGroup->addButton(GetDlgItemAs<QAbstractButton>(this, id), id);
    }
    // Only the check box, OK and Cancel are tab stops; a radio takes the
    // focus when clicked.
    for (QAbstractButton* radio : m_jobGroup->buttons()) radio->setFocusPolicy(Qt::ClickFocus);
    for (QAbstractButton* radio : m_slotGroup->buttons()) radio->setFocusPolicy(Qt::ClickFocus);
    // The dialog owns its error boxes, which then centre on it.
    SetMessageBoxOwner(MbOwner::SelectSaveDlg, this);

    connect(GetDlgItemAs<QAbstractButton>(this, IDC_NOJOB), &QAbstractButton::clicked, this,
            &CSelectSaveDlg::OnClickedNoJob);
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_SAVE_OK), &QAbstractButton::clicked, this,
            &CSelectSaveDlg::OnOK);
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_SAVE_CANCEL), &QAbstractButton::clicked, this,
            &QDialog::reject);

    m_logic.OnInitDialog(*this);
    if (QWidget* first = GetDlgItem(this, IDC_NOJOB)) first->setFocus();
}

void CSelectSaveDlg::OnClickedNoJob() { m_logic.OnClickedNoJob(*this); }

void CSelectSaveDlg::OnOK() { m_logic.OnOK(*this); }

QButtonGroup* CSelectSaveDlg::GroupOf(int id) const {
    if (m_jobGroup && m_jobGroup->button(id)) return m_jobGroup;
    if (m_slotGroup && m_slotGroup->button(id)) return m_slotGroup;
    return nullptr;
}

bool CSelectSaveDlg::IsDlgButtonChecked(int id) const {
    const auto* button = GetDlgItemAs<QAbstractButton>(this, id);
    return button && button->isChecked();
}

void CSelectSaveDlg::CheckDlgButton(int id, bool checked) {
    auto* button = GetDlgItemAs<QAbstractButton>(this, id);
    if (!button || button->isChecked() == checked) return;
    // An exclusive group keeps its checked radio; clearing one needs the
    // group opened for a moment.
    QButtonGroup* group = GroupOf(id);
    if (group && !checked) group->setExclusive(false);
    button->setChecked(checked);
    if (group && !checked) group->setExclusive(true);
}

void CSelectSaveDlg::EnableDlgItem(int id, bool enable) {
    if (QWidget* control = GetDlgItem(this, id)) control->setEnabled(enable);
}

void CSelectSaveDlg::SetDlgItemText(int id, const std::u16string& text) {
    QWidget* control = GetDlgItem(this, id);
    const QString caption = QString::fromStdU16String(text);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(caption);
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(caption);
    }
}

void CSelectSaveDlg::EndDialog(bool ok) {
    if (ok) {
        accept();
    } else {
        reject();
    }
}
