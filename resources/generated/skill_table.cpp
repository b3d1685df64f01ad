// The skill table. Positions 0, 131, 413, 476 and 744 are separators between
// the first-job, second-job, advanced second-job and third-job runs.
#include "data/tables.h"

// Placeholder until the authored content is generated: record 0 only.
const SkillRecord g_SkillTable[kSkillCount] = {
    {0, 10000, {u"", u"", u""}, u"", 0, {}},
};
