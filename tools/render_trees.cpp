// Renders every job's tree at its highest grade, as the tree window paints
// it, into PNG files for looking over the content:
//   tolvemar_render_trees [output folder [language 0, 1 or 2]]
// (default: tree-pictures, Korean)
#include "data/description_loader.h"
#include "data/lookups.h"
#include "data/tables.h"
#include "persistence/build_state.h"
#include "platform/qt/bitmaps.h"
#include "shell/options.h"
#include "skilltree/qt/skill_tree_dlg.h"
#include "skilltree/qt/tree_bitmaps.h"

#include <QApplication>
#include <QDir>
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("tree-pictures");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    if (argc > 2) g_Options.Language = std::atoi(argv[2]);
    SetTreeBitmapSource(LoadBitmapResource);
    LoadSkillDescriptions();
    int failures = 0;
    for (const JobRecord& job : g_JobTable) {
        SetSlotGrade(job.id, g_nSelectedSlot[job.id], job.maxGrade);
        CSkillTreeDlg dialog;
        dialog.OpenJob(job.id);
        const QImage picture = dialog.RenderClient();
        const QString path = QStringLiteral("%1/job%2.png").arg(folder).arg(job.id, 2, 10, QLatin1Char('0'));
        if (!picture.save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failures == 0 ? 0 : 1;
}
