// Every job's name fits where it is shown at a fixed width: the save options
// dialog's job radios (the text gets the radio's width less the style's
// indicator) and the chooser's labels, in the dialogs' own font, in all three
// languages. With TOLVEMAR_SCREENSHOT_DIR set, saves the save options dialog
// in each language.
#include "persistence/qt/select_save_dlg.h"
#include "persistence/select_save.h"
#include "platform/qt/dialog_template.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"

#include <QDir>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(JobNames, FitTheSaveDialogRadiosAndTheChooserLabels) {
    const char* screenshots = std::getenv("TOLVEMAR_SCREENSHOT_DIR");
    for (int32_t language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        ShellTestEnvironment env;
        g_Options.Language = language;

        CSelectSaveDlg dlg;
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        for (const SaveDlgJobRadio& place : SaveDlgJobRadios()) {
            const auto* radio = GetDlgItemAs<QRadioButton>(&dlg, place.control);
            ASSERT_NE(radio, nullptr);
            QStyleOptionButton option;
            option.initFrom(radio);
            option.text = radio->text();
            const QRect text = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
            EXPECT_FALSE(radio->text().isEmpty()) << place.job;
            EXPECT_LE(radio->fontMetrics().horizontalAdvance(radio->text()), text.width())
                << "job " << place.job << ": " << radio->text().toStdString();
        }
        if (screenshots) {
            EXPECT_TRUE(dlg.grab().save(QDir(QString::fromUtf8(screenshots))
                                            .filePath(QStringLiteral("save-options-%1.png").arg(language))));
        }

        QWidget window;
        auto* chooser = new CSelectJobDlg(&window);
        window.show();
        chooser->ShowWindow(true);
        chooser->grab();  // the paint sets the names
        for (int job = 0; job < kJobCount; ++job) {
            const auto* label = GetDlgItemAs<QLabel>(chooser, CSelectJobDlg::kJobLabelIds[job]);
            EXPECT_FALSE(label->text().isEmpty()) << job;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                << "job " << job << ": " << label->text().toStdString();
        }
    }
}

}  // namespace
