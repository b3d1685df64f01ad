#include "shell/qt/about_dlg.h"

#include "data/lookups.h"
#include "platform/qt/dialog_template.h"
#include "platform/shell_open.h"
#include "platform/string_table.h"
#include "shell/about_box.h"
#include "shell/qt/program_icon.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <optional>

#include "data/cp949.h"
#include "data/text_resources.h"

namespace {
constexpr int kOkText = 10;
constexpr int kHomePageText = 27;
constexpr int kEmailText = 28;
constexpr int kDescriptionText = 29;

DialogTemplate AboutTemplate() {
    return {IDD_ABOUTBOX,
            QStringLiteral("About Tolvemar"),
            DialogFontFace::ShellDlg8,
            236,
            195,
            {
                {-1, ControlKind::Icon, QString(), 11, 17, 20, 20},
                {IDC_ABOUT_VERSION, ControlKind::StaticNoPrefix, QStringLiteral("Tolvemar 버전 1.0"), 43, 10,
                 188, 8},
                {-1, ControlKind::Static, QString::fromStdU16String(std::u16string(kRightsNotice)), 43, 18,
                 119, 8},
                {1, ControlKind::DefPushButton, QStringLiteral("확인"), 181, 174, 50, 16},
                {IDC_ABOUT_NOTES, ControlKind::MultiLineReadOnlyEdit, QString(), 7, 84, 224, 84},
                {IDC_ABOUT_HOMEPAGE, ControlKind::FlatButton, QStringLiteral("Homepage"), 42, 30, 189, 14},
                {IDC_ABOUT_EMAIL, ControlKind::FlatButton, QStringLiteral("E-mail"), 42, 45, 189, 14},
                {IDC_ABOUT_DESCRIPTION, ControlKind::Static, QStringLiteral("Tolvemar"), 7, 63, 214, 17},
            }};
}

// The release notes, decoded from CP949; nothing when the resource is missing.
std::optional<QString> ReleaseNotesFromResource() {
    const std::span<const unsigned char> bytes = TextResource(kReleaseNotesResource);
    if (bytes.empty()) return std::nullopt;
    std::u16string text = DecodeCp949(bytes);
    text.resize(std::u16string_view(text).find(u'\0') == std::u16string_view::npos
                    ? text.size()
                    : std::u16string_view(text).find(u'\0'));  // the text ends at a zero byte
    return QString::fromStdU16String(text);
}

ReleaseNotesSource& NotesSource() {
    static ReleaseNotesSource source;
    return source;
}

std::optional<QString> LoadReleaseNotes() {
    return NotesSource() ? NotesSource()() : ReleaseNotesFromResource();
}

QString Localized(int index) { return QString::fromStdU16String(GetLocalizedText(index)); }
}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setModal(true);
    CreateTemplateControls(this, AboutTemplate());
    setFixedSize(size());
    if (auto* icon = qobject_cast<QLabel*>(findChildren<QLabel*>().value(0))) {
        icon->setPixmap(ProgramIcon().pixmap(32, 32));
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    if (auto* ok = GetDlgItemAs<QPushButton>(this, 1))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    if (auto* home = GetDlgItemAs<QPushButton>(this, IDC_ABOUT_HOMEPAGE)) {
        connect(home, &QPushButton::clicked, this, &CAboutDlg::OnClickedHomepage);
    }
    if (auto* mail = GetDlgItemAs<QPushButton>(this, IDC_ABOUT_EMAIL)) {
        connect(mail, &QPushButton::clicked, this, &CAboutDlg::OnClickedEmail);
    }
    OnInitDialog();
}

bool CAboutDlg::OnInitDialog() {
    m_strVersion = QString::fromStdU16String(std::u16string(LoadStringResource(IDS_MAIN_TITLE)));
    const std::optional<QString> notes = LoadReleaseNotes();
    if (!notes) return false;  // the box keeps its template texts
    // Line ends of the resource are CR LF; the edit breaks lines at LF.
    m_strNotes = *notes;
    m_strNotes.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Data exchange into the controls.
    if (auto* edit = GetDlgItemAs<QPlainTextEdit>(this, IDC_ABOUT_NOTES)) edit->setPlainText(m_strNotes);
    if (auto* version = GetDlgItemAs<QLabel>(this, IDC_ABOUT_VERSION)) version->setText(m_strVersion);
    if (auto* home = GetDlgItemAs<QPushButton>(this, IDC_ABOUT_HOMEPAGE))
        home->setText(Localized(kHomePageText));
    if (auto* mail = GetDlgItemAs<QPushButton>(this, IDC_ABOUT_EMAIL)) mail->setText(Localized(kEmailText));
    if (auto* description = GetDlgItemAs<QLabel>(this, IDC_ABOUT_DESCRIPTION)) {
        description->setText(Localized(kDescriptionText));
    }
    if (auto* ok = GetDlgItemAs<QPushButton>(this, 1)) {
        ok->setText(Localized(kOkText));
        ok->setFocus();
    }
    // A fixed-pitch Korean face, 12 pixels high, for the notes.
    m_notesFont.setFamilies({QStringLiteral("NanumGothicCoding"), QStringLiteral("D2Coding"),
                             QStringLiteral("Noto Sans Mono CJK KR"), QStringLiteral("NanumGothic"),
                             QStringLiteral("DejaVu Sans Mono")});
    m_notesFont.setStyleHint(QFont::TypeWriter);
    m_notesFont.setPixelSize(12);
    m_notesFont.setWeight(QFont::Normal);
    if (auto* edit = GetDlgItemAs<QPlainTextEdit>(this, IDC_ABOUT_NOTES)) edit->setFont(m_notesFont);
    return true;
}

void CAboutDlg::OnClickedHomepage() { ShellOpen(std::u16string(kHomePageAddress)); }

void CAboutDlg::OnClickedEmail() { ShellOpen(u"mailto:" + std::u16string(kEmailAddress)); }

void SetReleaseNotesSource(ReleaseNotesSource source) { NotesSource() = std::move(source); }
