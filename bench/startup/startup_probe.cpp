// The start-up probe: the program's own start (application object, main
// window, job chooser, builds and descriptions loaded), ending at the job
// chooser's first paint.
//
//   tolvemar_startup_probe                 one measured start
//   tolvemar_startup_probe --seed-profile  writes a returning user's profile
//                                          (language chosen, builds of every
//                                          job) into the current profile folder
//   tolvemar_startup_probe --shot FILE [--job N] [--hover]
//                                          saves a picture of the main window
//                                          at the chooser's first paint, or
//                                          with job N open (its first skill
//                                          hovered), and ends
#include "first_paint.h"

#include "persistence/builds.h"
#include "persistence/registry_builds.h"
#include "platform/qt/ini_profile_store.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/tolvemar_app.h"
#include "skilltree/qt/skill_memo_dlg.h"
#include "skilltree/qt/skill_tree_dlg.h"
#include "skilltree/tree_geometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>

#include <cstring>
#include <string>

namespace {

// Language chosen (no first-run options dialog) and every job's three build
// slots filled, at the highest grade.
int SeedProfile() {
    IniProfileStore profile;
    profile.WriteProfileInt(u"Option", u"Language", 0);
    const LevelCaps caps = CurrentLevelCaps();
    AllBuilds builds;
    for (int job = 0; job < kJobCount; ++job) {
        JobBuilds& b = builds.jobs[job];
        b.selectedSlot = job % kSlotCount;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            b.level[slot][0] = 3;
            for (int n = 1; n < kNodeCount; ++n)
                b.level[slot][n] = (caps.jobs[job].maxLevel[n] + slot) / (slot + 1);
        }
    }
    if (!WriteRegistryBuilds(profile, builds)) {
        std::fprintf(stderr, "could not write the profile\n");
        return 1;
    }
    return 0;
}

struct ShotRequest {
    QString file;
    int job = -1;
    bool hover = false;
};

// Takes the picture once the chooser has painted: with a job asked for, opens
// it in the tree window first and lets it paint.
void TakeShot(QWidget* chooser, const ShotRequest& shot) {
    QWidget* mainWindow = chooser->window();
    if (shot.job >= 0) {
        auto* tree = mainWindow->findChild<CSkillTreeDlg*>();
        auto* select = qobject_cast<CSelectJobDlg*>(chooser);
        if (!tree || !select) std::_Exit(3);
        select->OnClickedJob(shot.job);
        if (shot.hover && tree->Rules().HasJob()) {
            const SkillTreeNode& node = tree->Rules().m_pNodes[1];
            const QPointF at(kTreeOriginX + IconLeft(node.column) + 4, kTreeOriginY + IconTop(node.row) + 4);
            QMouseEvent move(QEvent::MouseMove, at, tree->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(tree, &move);
        }
        QApplication::processEvents();
    }
    // The description popup is a window of its own: saved beside the picture.
    if (auto* tree = mainWindow->findChild<CSkillTreeDlg*>();
        tree && tree->MemoDlg() && tree->MemoDlg()->isVisible()) {
        QString popupFile = shot.file;
        popupFile.insert(popupFile.lastIndexOf(QLatin1Char('.')), QStringLiteral("-popup"));
        if (!tree->MemoDlg()->grab().save(popupFile)) std::_Exit(4);
        std::printf("shot %s\n", qPrintable(popupFile));
    }
    const QPixmap picture = mainWindow->grab();
    std::printf("shot %s %dx%d ratio %.2f\n", qPrintable(shot.file), picture.width(), picture.height(),
                picture.devicePixelRatio());
    if (!picture.save(shot.file)) std::_Exit(4);
}

}  // namespace

int main(int argc, char** argv) {
    const auto start = FirstPaintExit::Clock::now();
    ShotRequest shot;
    bool seed = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--seed-profile"))
            seed = true;
        else if (!std::strcmp(argv[i], "--shot") && i + 1 < argc)
            shot.file = QString::fromLocal8Bit(argv[++i]);
        else if (!std::strcmp(argv[i], "--job") && i + 1 < argc)
            shot.job = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--hover"))
            shot.hover = true;
    }

    // As the program's main() does.
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvemar");
    QApplication::setOrganizationName("Tolvemar");
    if (seed) return SeedProfile();

    std::function<void(QWidget*)> afterPaint;
    if (!shot.file.isEmpty()) afterPaint = [&shot](QWidget* chooser) { TakeShot(chooser, shot); };
    FirstPaintExit exitAtPaint(
        start, [](QWidget* w) { return qobject_cast<CSelectJobDlg*>(w) != nullptr; }, afterPaint);
    CTolvemarApp theApp;
    theApp.InitInstance();
    return exitAtPaint.Painted() ? 0 : 1;
}
