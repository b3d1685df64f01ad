#include "data/lookups.h"

#include "shell/options.h"

#include <initializer_list>

namespace {
const char16_t kEmpty[1] = {0};
}  // namespace

const JobRecord* FindJobRecord(int32_t job) {
    for (const JobRecord& record : g_JobTable) {
        if (record.id == job) return &record;
    }
    return nullptr;
}

const SkillRecord& FindSkillRecord(int32_t skill) {
    for (const SkillRecord& record : g_SkillTable) {
        if (record.index == skill) return record;
    }
    return g_SkillTable[0];
}

const SkillRecord& SkillAt(int32_t skill) {
    if (skill < 0 || skill >= kSkillCount) return g_SkillTable[0];
    return g_SkillTable[skill];
}

int32_t CurrentLanguageIndex() {
    const int32_t language = g_Options.Language;
    return (language >= 0 && language < kLanguageCount) ? language : 0;
}

namespace {
// The text in the current language; when that is empty, English, else Korean.
const char16_t* TextInLanguage(const LocalizedText& record) {
    const int32_t language = CurrentLanguageIndex();
    if (record.text[language][0] != 0) return record.text[language];
    if (record.text[1][0] != 0) return record.text[1];
    return record.text[0];
}
}  // namespace

const char16_t* GetLocalizedText(int32_t index) {
    if (index < 0 || index >= kTextCount) return kEmpty;
    return TextInLanguage(g_LocalizedTextTable[index]);
}

int32_t ClampJobGrade(int32_t job, int32_t grade) {
    const JobRecord* record = FindJobRecord(job);
    const int32_t minGrade = record ? record->minGrade : 0;
    const int32_t maxGrade = record ? record->maxGrade : 0;
    if (grade <= minGrade) grade = minGrade;
    return grade < maxGrade ? grade : maxGrade;
}

const char16_t* GetJobName(int32_t job, int32_t grade) {
    const JobRecord* record = FindJobRecord(job);
    if (!record) return kEmpty;
    const int32_t g = ClampJobGrade(job, grade);
    if (g < 0 || g >= kPageCount) return kEmpty;
    return GetLocalizedText(record->nameText[g]);
}

const char16_t* GetJobTitle(int32_t job, int32_t grade) {
    const JobRecord* record = FindJobRecord(job);
    if (!record) return kEmpty;
    const int32_t g = ClampJobGrade(job, grade);
    if (g < 0 || g >= kPageCount) return kEmpty;
    return GetLocalizedText(record->titleText[g]);
}

const char16_t* GetFormerJobTitle(int32_t job, int32_t n) {
    if (n < 0) return nullptr;
    for (const FormerJobTitle* record = g_FormerJobTitleTable; record->job != NO_JOB; ++record) {
        if (record->job == job && n-- == 0) return TextInLanguage(record->title);
    }
    return nullptr;
}

int32_t GetSlotGrade(int32_t job, int32_t slot) {
    const JobRecord* record = FindJobRecord(job);
    if (!record || slot < 0 || slot >= kSlotCount) return ClampJobGrade(job, 0);
    return ClampJobGrade(job, record->nodes[0].level[slot]);
}

void SetSlotGrade(int32_t job, int32_t slot, int32_t grade) {
    if (slot < 0 || slot >= kSlotCount) return;
    for (const JobRecord& record : g_JobTable) {
        if (record.id == job) record.nodes[0].level[slot] = ClampJobGrade(job, grade);
    }
}

int32_t FindSkillByIdent(const char16_t* ident) {
    if (!ident) return 0;
    for (int32_t position = 0; position < kSkillCount; ++position) {
        const char16_t* candidate = g_SkillTable[position].ident;
        int i = 0;
        while (i < kNameChars && candidate[i] == ident[i] && ident[i] != 0) ++i;
        if (i < kNameChars && candidate[i] == ident[i]) return position;
    }
    return 0;
}

const char16_t* GetSkillDisplayName(int32_t skill) {
    return GetSkillRecordDisplayName(FindSkillRecord(skill));
}

const char16_t* GetSkillRecordDisplayName(const SkillRecord& record) {
    const int32_t language = CurrentLanguageIndex();
    if (record.name[language][0] != 0) return record.name[language];
    for (int32_t other : {2, 1, 0}) {
        if (other != language && record.name[other][0] != 0) return record.name[other];
    }
    return kEmpty;
}
