// Hover cost of the skill tree window: a mouse move from one skill icon
// straight onto another, through the hit test, the prerequisite preview and
// the repaint of the shown window, on the largest tree (job 3 at grade 3).
// The floor is a window of the same size whose mouse move merely asks for a
// repaint that fills an image and copies it.
#include "../../tests/support/deepest_node.h"
#include "data/description_loader.h"
#include "data/lookups.h"
#include "persistence/build_state.h"
#include "shell/options.h"
#include "skilltree/qt/skill_memo_dlg.h"
#include "skilltree/qt/skill_tree_dlg.h"
#include "skilltree/tree_geometry.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int kHoverJob = 3;

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
    long count = 0;
};

void SendMove(QWidget* widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// Delivers pending events until the widget has painted once more; false when
// no paint came.
bool WaitForPaint(PaintCounter& counter) {
    const long before = counter.count;
    for (int spin = 0; spin < 1000 && counter.count == before; ++spin)
        QApplication::processEvents(QEventLoop::AllEvents);
    return counter.count != before;
}

void WaitExposed(QWidget* widget) {
    for (int spin = 0; spin < 1000 && !widget->windowHandle()->isExposed(); ++spin)
        QApplication::processEvents(QEventLoop::AllEvents);
}

// Median and 90th percentile of the single moves, in microseconds, next to
// the benchmark's mean.
void ReportSpread(benchmark::State& state, std::vector<double>& seconds) {
    if (seconds.empty()) return;
    std::sort(seconds.begin(), seconds.end());
    state.counters["median_us"] = seconds[seconds.size() / 2] * 1e6;
    state.counters["p90_us"] = seconds[seconds.size() * 9 / 10] * 1e6;
}

// Moves the mouse back and forth between two points, one move per iteration,
// timing each move until the widget has painted; reports the spread.
void TimeAlternatingMoves(benchmark::State& state, QWidget* widget, PaintCounter& paints,
                          const QPoint (&at)[2], int next, const char* noPaintError) {
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        SendMove(widget, at[next]);
        if (!WaitForPaint(paints)) {
            state.SkipWithError(noPaintError);
            break;
        }
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        samples.push_back(took);
        next ^= 1;
    }
    ReportSpread(state, samples);
}

QPoint IconCentre(const SkillTreeNode& node) {
    return {kTreeOriginX + IconLeft(node.column) + kIconSize / 2,
            kTreeOriginY + IconTop(node.row) + kIconSize / 2};
}

struct HoverTree {
    CSkillTreeDlg* tree = nullptr;
    PaintCounter* paints = nullptr;
    QPoint at[2];  // two icons, the first with the most prerequisites
};

HoverTree& Tree() {
    static HoverTree setup = [] {
        HoverTree h;
        g_Options.Language = 0;
        g_Options.SkillInfo = 0;  // the popup is its own window; the tree alone is measured
        SetSlotGrade(kHoverJob, g_nSelectedSlot[kHoverJob], 3);
        h.tree = new CSkillTreeDlg;
        h.tree->OpenJob(kHoverJob);
        h.paints = new PaintCounter(h.tree);
        WaitExposed(h.tree);
        SkillTreeRules& rules = h.tree->Rules();
        const int visible = rules.VisibleNodeCount();
        const int best = std::max(1, DeepestNode(rules));
        h.at[0] = IconCentre(rules.m_pNodes[best]);
        // The other icon: the last one that its own centre hits.
        for (int i = visible; i >= 1; --i) {
            const QPoint at = IconCentre(rules.m_pNodes[i]);
            if (i != best && rules.HitTestNode(at.x(), at.y()) == i) {
                h.at[1] = at;
                break;
            }
        }
        return h;
    }();
    return setup;
}

// Mouse move onto another icon, through the painted window.
void BM_TreeHoverToPainted(benchmark::State& state) {
    HoverTree& h = Tree();
    // The icon not hovered now: each move lands on a new one.
    int next = h.tree->Rules().HitTestNode(h.at[0].x(), h.at[0].y()) == h.tree->Rules().m_nHoverNode ? 1 : 0;
    TimeAlternatingMoves(state, h.tree, *h.paints, h.at, next, "the move did not repaint the tree");
    state.counters["width"] = h.tree->width();
    state.counters["height"] = h.tree->height();
    state.counters["visible_nodes"] = h.tree->Rules().VisibleNodeCount();
}
BENCHMARK(BM_TreeHoverToPainted)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A move from a blank spot onto an icon with the description popup on: the
// popup is filled, placed and shown, and both windows paint.
void BM_TreeHoverWithPopup(benchmark::State& state) {
    HoverTree& h = Tree();
    static const bool loaded = LoadSkillDescriptions();
    if (!loaded) state.SkipWithError("no skill descriptions");
    g_Options.SkillInfo = 1;
    CSkillMemoDlg* popup = h.tree->MemoDlg();
    PaintCounter popupPaints(popup);
    const QPoint blank(5, 5);  // left of the header: no icon
    std::vector<double> samples;
    for (auto _ : state) {
        SendMove(h.tree, blank);
        WaitForPaint(*h.paints);
        const long popupBefore = popupPaints.count;
        const auto start = std::chrono::steady_clock::now();
        SendMove(h.tree, h.at[0]);
        if (!WaitForPaint(*h.paints) || (popupPaints.count == popupBefore && !WaitForPaint(popupPaints))) {
            state.SkipWithError("the move did not repaint the tree and show the popup");
            break;
        }
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        samples.push_back(took);
    }
    ReportSpread(state, samples);
    SendMove(h.tree, blank);
    WaitForPaint(*h.paints);
    g_Options.SkillInfo = 0;
}
BENCHMARK(BM_TreeHoverWithPopup)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A move that stays on the hovered icon: the hit test and nothing else.
void BM_TreeMoveOnSameIcon(benchmark::State& state) {
    HoverTree& h = Tree();
    SendMove(h.tree, h.at[0]);
    WaitForPaint(*h.paints);
    const long paintsBefore = h.paints->count;
    for (auto _ : state) {
        SendMove(h.tree, h.at[0] + QPoint(1, 0));
        SendMove(h.tree, h.at[0]);
    }
    QApplication::processEvents();
    if (h.paints->count != paintsBefore) state.SkipWithError("a move on the same icon repainted");
}
BENCHMARK(BM_TreeMoveOnSameIcon)->Unit(benchmark::kNanosecond);

// The floor: the same event path into a window that fills and copies.
class FillAndCopyWindow : public QWidget {
public:
    FillAndCopyWindow() {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setMouseTracking(true);
    }

protected:
    void mouseMoveEvent(QMouseEvent*) override { update(); }
    void paintEvent(QPaintEvent*) override {
        if (m_surface.size() != size()) m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(QColor(0xF0, 0xF0, 0xF0));
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_surface);
    }

private:
    QImage m_surface;
};

void BM_HoverFloorFillAndCopy(benchmark::State& state) {
    static FillAndCopyWindow* window = [] {
        auto* w = new FillAndCopyWindow;
        w->resize(Tree().tree->size());
        w->show();
        WaitExposed(w);
        return w;
    }();
    static PaintCounter paints(window);
    // The floor repaints on any move.
    TimeAlternatingMoves(state, window, paints, Tree().at, 0, "the move did not repaint the floor");
}
BENCHMARK(BM_HoverFloorFillAndCopy)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
