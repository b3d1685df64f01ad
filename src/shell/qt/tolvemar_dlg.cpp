#include "shell/qt/tolvemar_dlg.h"

#include "data/tables.h"
#include "persistence/build_state.h"
#include "persistence/build_store.h"
#include "platform/qt/modal.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/screen.h"
#include "platform/string_table.h"
#include "shell/options.h"
#include "shell/profile_store.h"
#include "shell/qt/program_icon.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_services.h"
#include "shell/window_placement.h"
#include "skilltree/qt/skill_memo_dlg.h"
#include "skilltree/qt/skill_tree_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

const DialogTemplate& CTolvemarDlg::Template() {
    static const DialogTemplate dialog{103, QStringLiteral("Tolvemar"), DialogFontFace::ShellDlg8, 295, 209,
                                       {}};
    return dialog;
}

CTolvemarDlg::CTolvemarDlg(QWidget* parent) : QDialog(parent) {
    // A caption with the window menu and the close box, and no minimize box.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    CreateTemplateControls(this, Template());
    setFixedSize(TemplateClientSize(Template()));
    move(0, 0);
    setWindowIcon(ProgramIcon());

    // Window managers keep their window menu to themselves; the About item
    // lives in this window's context menu instead.
    m_systemMenu = new QMenu(this);
    const std::u16string_view about = LoadStringResource(IDS_ABOUTBOX);
    if (!about.empty()) {
        m_systemMenu->addSeparator();
        QAction* item = m_systemMenu->addAction(QString::fromUtf16(about.data(), about.size()));
        connect(item, &QAction::triggered, this, [this] { OnSysCommand(IDM_ABOUTBOX); });
    }
}

CTolvemarDlg::~CTolvemarDlg() {
    SetMainTitleSink(nullptr);
    delete m_pSkillTreeDlg;
    m_pSkillTreeDlg = nullptr;
    delete m_pSelectJobDlg;
    m_pSelectJobDlg = nullptr;
    delete m_pSkillMemoDlg;
    m_pSkillMemoDlg = nullptr;
}

int CTolvemarDlg::DoModal() {
    OnInitDialog();
    return exec();
}

bool CTolvemarDlg::OnInitDialog() {
    SetMessageBoxOwner(MbOwner::MainWindow, this);
    SetMainTitleSink(
        [this](const std::u16string& title) { setWindowTitle(QString::fromStdU16String(title)); });

    g_Options = ReadOptions(Profile());
    if (g_Options.AutoUpdate) Services().StartUpdateCheck(*this);

    Services().LoadBuilds();
    UpdateMainTitle();

    m_pSkillTreeDlg = new CSkillTreeDlg(this);
    SetMessageBoxOwner(MbOwner::SkillTree, m_pSkillTreeDlg);
    // A right click on the tree lowers a skill: the window menu never opens there.
    m_pSkillTreeDlg->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_pSkillTreeDlg, &CSkillTreeDlg::OuterSizeChanged, this,
            [this](QSize outer) { SizeToChild(outer.width(), outer.height()); });
    connect(m_pSkillTreeDlg, &CSkillTreeDlg::CloseRequested, this, [this] {
        if (m_pSelectJobDlg) m_pSelectJobDlg->ShowWindow(true);
    });

    m_pSelectJobDlg = new CSelectJobDlg(this);
    SetMessageBoxOwner(MbOwner::SelectJob, m_pSelectJobDlg);
    m_pSelectJobDlg->SetOpenJobHandler([this](int job) {
        if (m_pSkillTreeDlg) m_pSkillTreeDlg->OpenJob(job);
    });

    // Made like the others but never shown: the tree shows its own popup.
    m_pSkillMemoDlg = new CSkillMemoDlg(this);
    m_pSkillMemoDlg->hide();

    if (g_bSaveFileOpen) m_pSelectJobDlg->ShowFileButtons(true);

    if (g_nAutoRunJob == NO_JOB) {
        m_pSelectJobDlg->ShowWindow(true);
    } else {
        m_pSkillTreeDlg->OpenJob(g_nAutoRunJob);
        g_nAutoRunJob = NO_JOB;
    }

    Services().LoadSkillDescriptions();

    if (g_Options.Language == -1) {
        Services().RunOptionsDialog(this);
        // Cancelled: Korean for this run only; the profile still has no
        // language, so the dialog returns at the next start.
        if (g_Options.Language == -1) g_Options.Language = 0;
        update();
        if (m_pSelectJobDlg) m_pSelectJobDlg->update();
    }
    return true;
}

void CTolvemarDlg::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0u) == IDM_ABOUTBOX) Services().RunAboutDialog(this);
}

void CTolvemarDlg::OnClose() {
    if (m_closing) return;  // a close request while one is being handled
    m_closing = true;
    bool saved = Services().SaveBuilds();
    if (saved) {
        const QRect r = Placement().WindowRect(this);
        saved = SaveProfileAtExit([&r](ProfileStore& profile) {
            profile.WriteProfileInt(u"Position", u"xpos", r.x());
            profile.WriteProfileInt(u"Position", u"ypos", r.y());
        });
    }
    m_closing = false;
    if (saved) done(QDialog::Accepted);
}

void CTolvemarDlg::SizeToChild(int width, int height) {
    WindowPlacement& placement = Placement();
    QRect outer = placement.WindowRect(this);
    if (g_Options.AutoCenter) {
        const QSize screen = placement.ScreenSize();
        const ScreenPoint to = CentredPosition(screen.width(), screen.height(), width, height);
        outer.moveTopLeft(QPoint(to.x, to.y));
    }
    placement.MoveWindow(this, QRect(outer.topLeft(), QSize(width, height)));
}

void CTolvemarDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnClose();
}

void CTolvemarDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            // Shift+F10 asks for the context menu of the focused control, like
            // the Menu key.
            QWidget* target = QApplication::focusWidget();
            if (!target || target->window() != this) target = this;
            const QPoint local = target->rect().center();
            QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, local, target->mapToGlobal(local));
            QApplication::sendEvent(target, &menuEvent);
            event->accept();
            return;
        }
        break;
    default: break;
    }
    QDialog::keyPressEvent(event);
}

void CTolvemarDlg::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(event->globalPos());
    event->accept();
}

void CTolvemarDlg::ShowSystemMenu(const QPoint& globalPos) {
    if (m_systemMenu && !m_systemMenu->actions().isEmpty()) m_systemMenu->popup(globalPos);
}
