// Where the builds live and when they move: the profile, the fixed file
// "Tolvemar.sav" of the current folder (option SaveToFile) or a save file the
// user chose (g_bSaveFileOpen).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class ProfileStore;
struct SaveFileLoad;

inline constexpr char16_t kFixedSaveFileName[] = u"Tolvemar.sav";
// The autorun job and slot that SaveBuilds stores in a file.
inline constexpr int32_t kSaveBuildsAutoRunJob = 18;
inline constexpr int32_t kSaveBuildsAutoRunSlot = 0;

inline constexpr char16_t kAskSaveText[] = u"저장할까요?";
inline constexpr char16_t kSaveFailedContinueText[] = u"저장하지 못했습니다. 저장하지 않고 계속할까요?";

// True when the builds live in a save file rather than the profile.
bool SaveFileInUse();

// Loads all builds from the current store. In fixed-file mode it points
// g_szSaveFilePath at "Tolvemar.sav" of the current folder, as an absolute
// path. A file that cannot be read or fails its header check leaves the
// builds as they are, and is noted for SaveBuilds. Always true; g_bModified
// is not changed.
bool LoadBuilds();

// Saves all builds to the current store, first asking "저장할까요?" (Yes, No,
// Cancel) when they were changed and AutoSave is off. Cancel gives false and
// writes nothing; No gives true and writes nothing. Before it replaces a save
// file that is not as the program last read or wrote it (it did not load, it
// appeared since, or it was replaced or written by another program), it keeps
// that file's bytes as "<name>.bak" beside it; when they cannot be read, the
// save fails. When the write fails, asks whether to go on without saving: Yes
// gives true, No false. g_bModified is not changed.
bool SaveBuilds();

// The rest of the exit's save, after SaveBuilds gave true: `more` stores the
// values that go with it (the window position), and every profile value
// still waiting to be written since a failed write is written with them.
// When that fails, asks whether to go on without saving, unless the user
// agreed to that in that SaveBuilds already. False: the program must not end.
bool SaveProfileAtExit(const std::function<void(ProfileStore&)>& more);

// The state in which the program read the save file at `path` (the job
// chooser's load command), or wrote it (its save command), for SaveBuilds.
void RememberSaveFileRead(const std::u16string& path, const SaveFileLoad& loaded);
void RememberSaveFileWritten(const std::u16string& path);
