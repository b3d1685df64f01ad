#include "shell/qt/select_job_dlg.h"

#include "data/lookups.h"
#include "persistence/file_commands.h"
#include "persistence/qt/file_command_host.h"
#include "platform/qt/bitmap_button.h"
#include "platform/qt/key_filter.h"
#include "platform/qt/screen.h"
#include "shell/options.h"
#include "shell/qt/shell_services.h"
#include "shell/window_placement.h"
#include "skilltree/qt/tree_bitmaps.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPainter>

namespace {
struct JobPlace {
    bool bottom;
    int column;
};

// Row and column of each job's picture, by job id.
constexpr JobPlace kJobPlaces[kJobCount] = {{true, 2}, {false, 3}, {true, 5},  {false, 2}, {true, 1},
                                            {true, 6}, {false, 5}, {false, 1}, {true, 0},  {false, 0},
                                            {true, 3}, {true, 4},  {false, 6}, {false, 4}, {false, 7},
                                            {true, 7}, {false, 8}, {true, 8},  {true, 9},  {false, 9}};
constexpr int kPictureX[10] = {17, 58, 99, 140, 181, 222, 263, 304, 345, 387};
constexpr int kLabelX[10] = {15, 56, 97, 138, 179, 220, 261, 303, 344, 385};

DialogTemplate MakeTemplate() {
    DialogTemplate dialog{123, QString(), DialogFontFace::Tahoma9, 511, 211, {}};
    auto& c = dialog.controls;
    // Top row first, then the bottom row, each from the left.
    for (bool bottom : {false, true}) {
        for (int column = 0; column < 10; ++column) {
            for (int job = 0; job < kJobCount; ++job) {
                if (kJobPlaces[job].bottom != bottom || kJobPlaces[job].column != column) continue;
                c.push_back({CSelectJobDlg::kJobButtonIds[job], ControlKind::PictureButton, QString(),
                             kPictureX[column], bottom ? 96 : 18, 37, 65});
            }
        }
    }
    for (bool bottom : {false, true}) {
        for (int column = 0; column < 10; ++column) {
            for (int job = 0; job < kJobCount; ++job) {
                if (kJobPlaces[job].bottom != bottom || kJobPlaces[job].column != column) continue;
                c.push_back({CSelectJobDlg::kJobLabelIds[job], ControlKind::StaticNoPrefix, QString(),
                             kLabelX[column], bottom ? 161 : 83, 41, 8});
            }
        }
    }
    c.push_back({-1, ControlKind::GroupBox, QString(), 7, 4, 428, 172});
    c.push_back({CSelectJobDlg::IDC_CREDITS, ControlKind::StaticNoPrefix,
                 QStringLiteral("Tolvemar - a skill planner for Valdorne"), 7, 179, 428, 12});
    c.push_back(
        {CSelectJobDlg::IDC_EXIT, ControlKind::DefPushButton, QStringLiteral("(&X) 종료"), 443, 10, 50, 18});
    c.push_back({CSelectJobDlg::IDC_SAVE_AS, ControlKind::PushButton, QStringLiteral("(&W) 저장하기"), 443,
                 38, 50, 18, false});
    c.push_back({CSelectJobDlg::IDC_CLOSE_FILE, ControlKind::PushButton, QStringLiteral("(&C) 파일닫기"), 443,
                 58, 50, 18, false});
    c.push_back({CSelectJobDlg::IDC_LOAD_FILE, ControlKind::PushButton, QStringLiteral("(&L) 파일읽기"), 443,
                 86, 50, 18, false});
    c.push_back({CSelectJobDlg::IDC_SAVE_FILE, ControlKind::PushButton, QStringLiteral("(&S) 파일저장"), 443,
                 106, 50, 18, false});
    c.push_back({CSelectJobDlg::IDC_OPTIONS, ControlKind::PushButton, QStringLiteral("(&O) 환경설정"), 443,
                 134, 50, 18});
    c.push_back(
        {CSelectJobDlg::IDC_ABOUT, ControlKind::PushButton, QStringLiteral("(&A) 정보"), 443, 154, 50, 18});
    return dialog;
}

QPixmap PortraitBitmap(int32_t id) { return QPixmap::fromImage(TreeBitmap(id)); }

QAbstractButton* Button(const QWidget* host, int id) { return GetDlgItemAs<QAbstractButton>(host, id); }
}  // namespace

const DialogTemplate& CSelectJobDlg::Template() {
    static const DialogTemplate dialog = MakeTemplate();
    return dialog;
}

CSelectJobDlg::CSelectJobDlg(QWidget* parent) : QWidget(parent) {
    CreateTemplateControls(this, Template());
    m_shownPortrait.fill(-1);
    for (int job = 0; job < kJobCount; ++job) {
        SetButtonBitmap(Button(this, kJobButtonIds[job]), QPixmap());
        auto* label = GetDlgItemAs<QLabel>(this, kJobLabelIds[job]);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        connect(Button(this, kJobButtonIds[job]), &QAbstractButton::clicked, this,
                [this, job] { OnClickedJob(job); });
    }
    auto* credits = GetDlgItemAs<QLabel>(this, IDC_CREDITS);
    credits->setAlignment(Qt::AlignCenter);
    credits->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    connect(Button(this, IDC_EXIT), &QAbstractButton::clicked, this, [this] { OnClickedExit(); });
    connect(Button(this, IDC_CLOSE_FILE), &QAbstractButton::clicked, this, [this] { OnClickedCloseFile(); });
    connect(Button(this, IDC_LOAD_FILE), &QAbstractButton::clicked, this, [this] { OnClickedLoadFile(); });
    connect(Button(this, IDC_SAVE_FILE), &QAbstractButton::clicked, this, [this] { OnClickedSaveFile(); });
    connect(Button(this, IDC_OPTIONS), &QAbstractButton::clicked, this, [this] { OnClickedOptions(); });
    connect(Button(this, IDC_ABOUT), &QAbstractButton::clicked, this, [this] { OnClickedAbout(); });
    EnterEscapeFilter::Instance().Cover(this);
    // Able to hold the focus, but never reached with Tab.
    setFocusPolicy(Qt::ClickFocus);
    hide();
}

void CSelectJobDlg::SetOpenJobHandler(std::function<void(int)> handler) { m_openJob = std::move(handler); }

void CSelectJobDlg::ShowWindow(bool show) {
    setVisible(show);
    OnShowWindow();
}

void CSelectJobDlg::OnShowWindow() {
    QWidget* mainWindow = window();
    if (mainWindow != this) {
        WindowPlacement& placement = Placement();
        const QSize client = size();
        const QRect r = placement.WindowRect(mainWindow);
        const QSize screen = placement.ScreenSize();
        const ScreenRect current{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
        const ScreenPoint to = ChooserPlacement(current, screen.width(), screen.height(), client.width(),
                                                client.height(), g_Options.AutoCenter != 0);
        placement.MoveWindow(mainWindow, QRect(to.x, to.y, client.width(), client.height()));
    }
    move(0, 0);
    // The focus goes to the close-file button. While that button is hidden
    // the chooser itself holds the focus, so no visible button has it and
    // Space presses nothing.
    QWidget* closeFile = GetDlgItem(this, IDC_CLOSE_FILE);
    if (closeFile && closeFile->isVisibleTo(this)) {
        closeFile->setFocus();
    } else {
        setFocus();
    }
}

int32_t CSelectJobDlg::PortraitIdFor(int job) {
    const JobRecord* record = FindJobRecord(job);
    if (!record) return kFallbackPortrait;
    const int sex = g_Options.SexType != 0 ? 1 : 0;
    return record->portrait[sex][ClampJobGrade(job, 4)];
}

void CSelectJobDlg::Relabel() {
    for (int job = 0; job < kJobCount; ++job) {
        const int32_t portrait = PortraitIdFor(job);
        if (portrait != m_shownPortrait[job]) {
            m_shownPortrait[job] = portrait;
            SetButtonBitmap(Button(this, kJobButtonIds[job]), PortraitBitmap(portrait));
        }
        GetDlgItemAs<QLabel>(this, kJobLabelIds[job])->setText(QString::fromUtf16(GetJobName(job, 4)));
    }
    const std::pair<int, int> captions[] = {
        {IDC_EXIT, 1}, {IDC_LOAD_FILE, 2}, {IDC_SAVE_FILE, 3}, {IDC_OPTIONS, 4}, {IDC_ABOUT, 5}};
    for (const auto& [id, record] : captions)
        Button(this, id)->setText(QString::fromUtf16(GetLocalizedText(record)));
}

void CSelectJobDlg::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    Relabel();
}

void CSelectJobDlg::OnClickedJob(int job) {
    ShowWindow(false);
    if (m_openJob) m_openJob(job);
}

void CSelectJobDlg::OnClickedOptions() {
    Services().RunOptionsDialog(this);
    update();
}

void CSelectJobDlg::OnClickedAbout() { Services().RunAboutDialog(this); }

void CSelectJobDlg::OnClickedExit() {
    if (QWidget* mainWindow = window(); mainWindow != this) mainWindow->close();
}

void CSelectJobDlg::ShowFileButtons(bool show) {
    GetDlgItem(this, IDC_CLOSE_FILE)->setVisible(show);
    GetDlgItem(this, IDC_SAVE_AS)->setVisible(show);
}

void CSelectJobDlg::OnClickedCloseFile() {
    QtFileCommandHost host([this](bool show) { ShowFileButtons(show); });
    ::OnClickedCloseFile(host);
}

void CSelectJobDlg::OnClickedSaveFile() {
    QtFileCommandHost host([this](bool show) { ShowFileButtons(show); });
    ::OnClickedSaveFile(host);
}

void CSelectJobDlg::OnClickedLoadFile() {
    QtFileCommandHost host([this](bool show) { ShowFileButtons(show); });
    ::OnClickedLoadFile(host);
}
