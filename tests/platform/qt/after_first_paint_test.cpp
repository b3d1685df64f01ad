#include "platform/qt/after_first_paint.h"
#include "data/description_loader.h"
#include "data/tables.h"
#include "skilltree/qt/skill_memo_dlg.h"

#include <QApplication>
#include <QWidget>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class AfterFirstPaintTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFirstPaintWatch(); }
    void TearDown() override { ResetFirstPaintWatch(); }
};

TEST_F(AfterFirstPaintTest, WorksWaitForTheFirstPaintAndRunAfterItInOrder) {
    std::vector<std::string> ran;
    RunAfterFirstPaint([&] { ran.push_back("first"); });
    RunAfterFirstPaint([&] { ran.push_back("second"); });
    QApplication::processEvents();
    EXPECT_TRUE(ran.empty());

    QWidget window;
    bool paintedWhenRun = false;
    window.resize(40, 30);
    RunAfterFirstPaint([&] { paintedWhenRun = window.isVisible(); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ran.size() == 2; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(paintedWhenRun);

    // Once the first paint is past, a work runs at once.
    RunAfterFirstPaint([&] { ran.push_back("late"); });
    EXPECT_EQ(ran.back(), "late");
}

TEST_F(AfterFirstPaintTest, ThePopupLoadsDescriptionsStartUpLeftForLater) {
    for (const SkillRecord& record : g_SkillTable) record.description[0] = 0;
    DeferSkillDescriptions();
    CSkillMemoDlg popup;
    EXPECT_TRUE(popup.SetSkill(1));
    EXPECT_NE(g_SkillTable[1].description[0], 0);
}

}  // namespace
