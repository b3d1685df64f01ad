// Small, pure lookups over the compiled-in tables. None of them fails: a
// missing job or skill gives a neutral value.
#pragma once

#include "data/tables.h"

#include <cstdint>

// The job record with this id (linear search over all 20 records), or nullptr.
const JobRecord* FindJobRecord(int32_t job);

// The first skill record whose index equals `skill`; record 0 when none.
const SkillRecord& FindSkillRecord(int32_t skill);

// The skill record at table position `skill` when it is 0..744, else record 0.
// Every direct index of the skill table by a skill index goes through here.
const SkillRecord& SkillAt(int32_t skill);

// The text of record `index` in the current language, falling back to English
// and then Korean. "" for an index outside the table.
const char16_t* GetLocalizedText(int32_t index);

// The grade raised to the job's lowest grade, then lowered to its highest
// (the upper bound wins); 0 for a missing job.
int32_t ClampJobGrade(int32_t job, int32_t grade);

const char16_t* GetJobName(int32_t job, int32_t grade);
const char16_t* GetJobTitle(int32_t job, int32_t grade);

// The n-th former title (0 the most recent) of the job's highest grade in the
// current language, by the fallback of GetLocalizedText; nullptr past the last.
const char16_t* GetFormerJobTitle(int32_t job, int32_t n);

// The grade of a build slot (node 0 of the job's tree), clamped to the job's
// range. 0 for a missing job or a slot outside 0..2.
int32_t GetSlotGrade(int32_t job, int32_t slot);
// Stores the clamped grade; nothing for a missing job or a slot outside 0..2.
void SetSlotGrade(int32_t job, int32_t slot, int32_t grade);

// The position of the first skill record whose identifier equals `ident`
// exactly; 0 when none (also for an empty identifier).
int32_t FindSkillByIdent(const char16_t* ident);

// The skill's name in the current language; then Japanese, English, Korean,
// the current language skipped; "" when it has no name.
const char16_t* GetSkillDisplayName(int32_t skill);
// The same rule for a given record.
const char16_t* GetSkillRecordDisplayName(const SkillRecord& record);

// The language the lookups use: the option, with "never chosen" as Korean.
int32_t CurrentLanguageIndex();
