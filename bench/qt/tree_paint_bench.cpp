// Repaint cost of the skill tree window: the largest tree (job 3 at grade 3)
// with a hovered skill, drawn into an off-screen image, against the floor of
// merely filling and copying an image of the same size.
#include "../../tests/support/deepest_node.h"
#include "data/lookups.h"
#include "persistence/build_state.h"
#include "shell/options.h"
#include "skilltree/qt/skill_tree_dlg.h"

#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

constexpr int kBenchJob = 3;

// Opens job 3 at grade 3 and hovers the skill that marks the most
// prerequisites, so the red pass has the most to draw.
void PrepareTree(CSkillTreeDlg& tree) {
    g_Options.Language = 0;
    g_Options.SkillInfo = 0;
    SetSlotGrade(kBenchJob, g_nSelectedSlot[kBenchJob], 3);
    tree.OpenJob(kBenchJob);
    tree.Rules().UpdateHover(DeepestNode(tree.Rules()));
}

// Made on first use, once the benchmarks' QApplication exists.
CSkillTreeDlg& Tree() {
    static CSkillTreeDlg* tree = [] {
        auto* t = new CSkillTreeDlg;
        PrepareTree(*t);
        return t;
    }();
    return *tree;
}

void BM_TreeRepaintJob3Grade3(benchmark::State& state) {
    for (auto _ : state) {
        QImage image = Tree().RenderClient();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["width"] = Tree().width();
    state.counters["height"] = Tree().height();
    state.counters["visible_nodes"] = Tree().Rules().VisibleNodeCount();
}
BENCHMARK(BM_TreeRepaintJob3Grade3)->Unit(benchmark::kMicrosecond);

// The floor: fill an image of the client's size and copy it once, as the
// window's final copy does.
void BM_FillAndCopyFloor(benchmark::State& state) {
    const QSize size = Tree().size();
    QImage surface(size, QImage::Format_RGB32);
    QImage client(size, QImage::Format_RGB32);
    for (auto _ : state) {
        surface.fill(QColor(0xF0, 0xF0, 0xF0));
        QPainter painter(&client);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, surface);
        painter.end();
        benchmark::DoNotOptimize(client.constBits());
    }
}
BENCHMARK(BM_FillAndCopyFloor)->Unit(benchmark::kMicrosecond);

}  // namespace
