// Pictures of the job chooser and the options dialog in Korean and English,
// written only when TOLVEMAR_SCREENSHOT_DIR names a folder.
#include "shell/qt/option_dlg.h"
#include "shell/qt/select_job_dlg.h"
#include "shell/qt/shell_test_support.h"
#include "shell/qt/tolvemar_dlg.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ShellScreenshots, ChooserAndOptionsInKoreanAndEnglish) {
    const char* dir = std::getenv("TOLVEMAR_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "TOLVEMAR_SCREENSHOT_DIR not set";
    const QDir out(QString::fromUtf8(dir));
    for (int32_t language : {0, 1}) {
        ShellTestEnvironment env;
        env.profile.WriteProfileInt(u"Option", u"Language", language);
        env.profile.WriteProfileInt(u"Option", u"AutoUpdate", 0);
        CTolvemarDlg main;
        main.OnInitDialog();
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
        EXPECT_TRUE(
            main.m_pSelectJobDlg->grab().save(out.filePath(QStringLiteral("chooser-%1.png").arg(language))));

        COptionDlg options(&main);
        options.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
        options.grab();  // the first paint relabels
        EXPECT_TRUE(options.grab().save(out.filePath(QStringLiteral("options-%1.png").arg(language))));
    }
}

}  // namespace
