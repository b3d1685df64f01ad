// Process-wide build state: which build slot each job shows, whether the
// builds changed since they were last stored, and which save file is in use.
#pragma once

#include "data/tables.h"

#include <cstdint>
#include <functional>
#include <string>

extern bool g_bModified;
extern bool g_bSaveFileOpen;
extern std::u16string g_szSaveFilePath;     // absolute path of the save file in use
extern int32_t g_nSelectedSlot[kJobCount];  // build slot shown per job, 0..2
extern int32_t g_nAutoRunJob;               // job to open at start, or NO_JOB

// The main window title for the current state: string 104, then " - " and the
// save file's name when a file is in use (or SaveToFile is on), then " *" when
// modified.
std::u16string ComposeMainTitle();

// Sets the composed title on the main window through the installed sink.
void UpdateMainTitle();

// The main window installs this; without one, UpdateMainTitle does nothing
// visible.
void SetMainTitleSink(std::function<void(const std::u16string&)> sink);

// Resets all of the above to the values at process start (for tests).
void ResetBuildState();

// The file name with its extension: the part after the last '/'.
std::u16string FileNameOf(const std::u16string& path);
