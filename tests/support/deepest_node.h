// Header-only, shared by the tree window tests and benchmarks: the visible
// node whose hover marks the most prerequisites.
#pragma once

#include "skilltree/skill_tree_rules.h"

// Hovers each visible node in turn and returns the one that marks the most
// prerequisites (the first on ties, -1 when no node is visible); the hover is
// cleared again.
inline int DeepestNode(SkillTreeRules& rules) {
    int best = -1, bestMarked = -1;
    for (int i = 1; i <= rules.VisibleNodeCount(); ++i) {
        rules.UpdateHover(i);
        int marked = 0;
        for (int k = 0; k < kNodeCount; ++k) marked += rules.m_pNodes[k].previewLevel > 0;
        if (marked > bestMarked) {
            bestMarked = marked;
            best = i;
        }
    }
    rules.UpdateHover(-1);
    return best;
}
