#include "shell/qt/option_dlg.h"

#include "data/lookups.h"
#include "persistence/build_state.h"
#include "platform/qt/qt_message_box.h"
#include "shell/profile_store.h"
#include "shell/qt/shell_services.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPushButton>

namespace {
QString Text(int record) { return QString::fromUtf16(GetLocalizedText(record)); }
}  // namespace

const DialogTemplate& COptionDlg::Template() {
    static const DialogTemplate dialog{
        175,
        QStringLiteral("환경설정"),
        DialogFontFace::Tahoma9,
        283,
        222,
        {
            {1, ControlKind::DefPushButton, QStringLiteral("저 장"), 171, 192, 50, 14},
            {2, ControlKind::PushButton, QStringLiteral("취 소"), 225, 192, 50, 14},
            {IDC_SKILLINFO, ControlKind::CheckBox, QStringLiteral("스킬정보보기"), 18, 17, 123, 10},
            {IDC_AUTOCHANGE, ControlKind::CheckBox, QStringLiteral("스킬수 자동변경"), 18, 50, 123, 10},
            {IDC_AUTOSAVE, ControlKind::CheckBox, QStringLiteral("자동저장"), 19, 84, 123, 10},
            {IDC_BOY, ControlKind::Radio, QStringLiteral("남자"), 31, 193, 30, 10},
            {IDC_GIRL, ControlKind::Radio, QStringLiteral("여자"), 90, 193, 30, 10},
            {-1, ControlKind::GroupBox, QString(), 7, 180, 137, 30},
            {-1, ControlKind::GroupBox, QString(), 7, 3, 269, 131},
            {1088, ControlKind::Static,
             QStringLiteral("아이콘위에 마우스를 올렸을 때,\n스킬에 관한 정보를 보여준다"), 28, 28, 111, 17},
            {1089, ControlKind::Static,
             QStringLiteral("올리고자 하는 스킬의 하위스킬들을 필요만큼 자동으로 올려준다"), 28, 61, 111, 17},
            {1090, ControlKind::Static,
             QStringLiteral(
                 "스킬변경후 종료시에 저장여부를\n묻지않고 자동으로 저장한다\n(파일저장시는 무조건 확인함)"),
             28, 95, 111, 24},
            {IDC_AUTOCENTER, ControlKind::CheckBox, QStringLiteral("윈도우를 항상 가운데로"), 146, 17, 123,
             10},
            {1091, ControlKind::Static,
             QStringLiteral("윈도우 크기가 변경될 때마다 자동으로 화면 가운데로 이동"), 155, 28, 111, 17},
            {IDC_AUTOUPDATE, ControlKind::CheckBox, QStringLiteral("자동 업데이트 검사"), 146, 52, 123, 10},
            {1092, ControlKind::Static,
             QStringLiteral("프로그램 시작시 최신버전이 업데이트되었는지 자동검사"), 155, 63, 111, 17},
            {IDC_KOREAN, ControlKind::Radio, QStringLiteral("Korean VO"), 46, 153, 49, 10},
            {IDC_INTERNATIONAL, ControlKind::Radio, QStringLiteral("Inernational VO"), 113, 153, 64, 10},
            {-1, ControlKind::GroupBox, QString(), 7, 139, 269, 34},
            {IDC_JAPANESE, ControlKind::Radio, QStringLiteral("Japanese VO"), 190, 153, 56, 10},
            {IDC_SAVETOFILE, ControlKind::CheckBox, QStringLiteral("파일로 저장하기"), 145, 84, 123, 10},
            {1093, ControlKind::Static,
             QStringLiteral("현재 폴더에 저장파일을 생성하여 저장한다. (이동디스크 사용시 유용)"), 154, 95,
             111, 17},
        }};
    return dialog;
}

COptionDlg::COptionDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CreateTemplateControls(this, Template());
    setFixedSize(TemplateClientSize(Template()));

    connect(GetDlgItemAs<QAbstractButton>(this, 1), &QAbstractButton::clicked, this, [this] { OnOK(); });
    connect(GetDlgItemAs<QAbstractButton>(this, 2), &QAbstractButton::clicked, this, [this] { reject(); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_BOY), &QAbstractButton::clicked, this,
            [this] { OnClickedBoy(); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_GIRL), &QAbstractButton::clicked, this,
            [this] { OnClickedGirl(); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_SKILLINFO), &QAbstractButton::clicked, this,
            [this] { Toggle(IDC_SKILLINFO, &AppOptions::SkillInfo); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_AUTOCHANGE), &QAbstractButton::clicked, this,
            [this] { Toggle(IDC_AUTOCHANGE, &AppOptions::AutoChange); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_AUTOSAVE), &QAbstractButton::clicked, this,
            [this] { Toggle(IDC_AUTOSAVE, &AppOptions::AutoSave); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_AUTOCENTER), &QAbstractButton::clicked, this,
            [this] { Toggle(IDC_AUTOCENTER, &AppOptions::AutoCenter); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_AUTOUPDATE), &QAbstractButton::clicked, this,
            [this] { Toggle(IDC_AUTOUPDATE, &AppOptions::AutoUpdate); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_SAVETOFILE), &QAbstractButton::clicked, this,
            [this] { Toggle(IDC_SAVETOFILE, &AppOptions::SaveToFile); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_KOREAN), &QAbstractButton::clicked, this,
            [this] { OnClickedKorean(); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_INTERNATIONAL), &QAbstractButton::clicked, this,
            [this] { OnClickedInternational(); });
    connect(GetDlgItemAs<QAbstractButton>(this, IDC_JAPANESE), &QAbstractButton::clicked, this,
            [this] { OnClickedJapanese(); });
    SetMessageBoxOwner(MbOwner::OptionDlg, this);
    OnInitDialog();
}

void COptionDlg::OnInitDialog() {
    m_options = g_Options;
    m_bRelabel = true;
    // Korean is preselected when no language was ever chosen; a stored value
    // outside the three languages reads as Korean too.
    if (m_options.Language < 0 || m_options.Language > 2) m_options.Language = 0;
    SetCheck(IDC_BOY, m_options.SexType == 0);
    SetCheck(IDC_GIRL, m_options.SexType != 0);
    SetCheck(IDC_SKILLINFO, m_options.SkillInfo);
    SetCheck(IDC_AUTOCHANGE, m_options.AutoChange);
    SetCheck(IDC_AUTOCENTER, m_options.AutoCenter);
    SetCheck(IDC_AUTOSAVE, m_options.AutoSave);
    SetCheck(IDC_AUTOUPDATE, m_options.AutoUpdate);
    SetCheck(IDC_SAVETOFILE, m_options.SaveToFile);
    SetCheck(IDC_KOREAN, m_options.Language == 0);
    SetCheck(IDC_INTERNATIONAL, m_options.Language == 1);
    SetCheck(IDC_JAPANESE, m_options.Language == 2);
}

void COptionDlg::SetCheck(int id, bool checked) {
    if (auto* button = GetDlgItemAs<QAbstractButton>(this, id)) button->setChecked(checked);
}

void COptionDlg::Toggle(int id, uint8_t AppOptions::*member) {
    m_options.*member = m_options.*member == 0 ? 1 : 0;
    SetCheck(id, m_options.*member != 0);
}

void COptionDlg::OnClickedBoy() {
    m_options.SexType = 0;
    SetCheck(IDC_BOY, true);
    SetCheck(IDC_GIRL, false);
}

void COptionDlg::OnClickedGirl() {
    m_options.SexType = 1;
    SetCheck(IDC_BOY, false);
    SetCheck(IDC_GIRL, true);
}

void COptionDlg::OnClickedKorean() { SetLanguage(0); }
void COptionDlg::OnClickedInternational() { SetLanguage(1); }
void COptionDlg::OnClickedJapanese() { SetLanguage(2); }

void COptionDlg::SetLanguage(int32_t language) {
    m_options.Language = language;
    SetCheck(IDC_KOREAN, language == 0);
    SetCheck(IDC_INTERNATIONAL, language == 1);
    SetCheck(IDC_JAPANESE, language == 2);
    m_bRelabel = true;
    update();
}

void COptionDlg::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (m_bRelabel) Relabel();
}

void COptionDlg::Relabel() {
    const int32_t kept = g_Options.Language;
    g_Options.Language = m_options.Language;

    setWindowTitle(Text(12));
    GetDlgItemAs<QAbstractButton>(this, IDC_BOY)->setText(Text(14));
    GetDlgItemAs<QAbstractButton>(this, IDC_GIRL)->setText(Text(15));
    SetCheck(IDC_BOY, m_options.SexType == 0);
    SetCheck(IDC_GIRL, m_options.SexType != 0);

    GetDlgItemAs<QAbstractButton>(this, IDC_SKILLINFO)->setText(Text(16));
    GetDlgItemAs<QAbstractButton>(this, IDC_AUTOCENTER)->setText(Text(17));
    GetDlgItemAs<QAbstractButton>(this, IDC_AUTOCHANGE)->setText(Text(18));
    GetDlgItemAs<QAbstractButton>(this, IDC_AUTOUPDATE)->setText(Text(19));
    GetDlgItemAs<QAbstractButton>(this, IDC_AUTOSAVE)->setText(Text(20));

    const bool korean = m_options.Language == 0;
    GetDlgItem(this, IDC_SKILLINFO)->setEnabled(korean);
    for (int id : {1088, 1091, 1089, 1092, 1090}) GetDlgItem(this, id)->setVisible(korean);

    GetDlgItemAs<QAbstractButton>(this, 1)->setText(Text(10));
    GetDlgItemAs<QAbstractButton>(this, 2)->setText(Text(11));

    g_Options.Language = kept;
    m_bRelabel = false;
}

void COptionDlg::OnOK() {
    if (m_options.SaveToFile != g_Options.SaveToFile) {
        if (!Services().SaveBuilds()) return;
        g_Options.SaveToFile = m_options.SaveToFile;
        Services().LoadBuilds();
        UpdateMainTitle();
    }
    g_Options = m_options;
    WriteOptions(Profile(), m_options);
    accept();
}
