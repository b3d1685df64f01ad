// The About box: release notes, title and version, the two link buttons and
// the program's one-line description.
#pragma once

#include <QDialog>
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDC_ABOUT_NOTES = 1020;
inline constexpr int IDC_ABOUT_VERSION = 1021;
inline constexpr int IDC_ABOUT_HOMEPAGE = 1022;
inline constexpr int IDC_ABOUT_EMAIL = 1023;
inline constexpr int IDC_ABOUT_DESCRIPTION = 1094;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QString m_strNotes;
    QString m_strVersion;

    void OnClickedHomepage();
    void OnClickedEmail();

private:
    bool OnInitDialog();
    QFont m_notesFont;  // owned by the box, released with it
};

// Where the box takes its release notes from: text resource 177 decoded from
// CP949 by default, nothing when the resource is missing. Tests may install
// their own source; an empty one restores the default.
using ReleaseNotesSource = std::function<std::optional<QString>()>;
void SetReleaseNotesSource(ReleaseNotesSource source);
