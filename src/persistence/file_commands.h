// The job chooser's file commands: close the save file in use, write the
// builds to a new save file, open a save file. The chooser window binds its
// buttons to these and lends them what they need of it through the host.
#pragma once

#include "data/tables.h"
#include "platform/file_dialog.h"

#include <cstdint>
#include <optional>

// What the save options dialog answered: the member values after OK.
struct SaveChoice {
    int32_t job = NO_JOB;  // a job id 0..19, or NO_JOB
    int32_t slot = 0;      // a build slot 0..2
};

class FileCommandHost {
public:
    virtual ~FileCommandHost() = default;
    // Runs the save options dialog modally; nullopt when it did not end with OK.
    virtual std::optional<SaveChoice> RunSelectSaveDlg() = 0;
    virtual FileDialog& FileDialogs() = 0;
    // Shows or hides the chooser's close-file and store buttons.
    virtual void ShowFileButtons(bool show) = 0;
};

inline constexpr char16_t kOverwriteText[] = u"파일이 이미 존재합니다. 덮어쓸까요?";
inline constexpr char16_t kSaveDoneText[] = u"파일 저장이 완료되었습니다.";
inline constexpr char16_t kSaveFileFailedText[] = u"파일을 저장하지 못했습니다.";
inline constexpr char16_t kNotSaveFileText[] = u"올바른 저장 파일이 아닙니다.";
inline constexpr char16_t kCannotOpenText[] = u"파일을 열 수 없습니다.";
inline constexpr char16_t kConfirmCaption[] = u"확인";
inline constexpr char16_t kErrorCaption[] = u"오류";

// Close file: saves the builds (a Cancel stops here), leaves the save file,
// clears the modified mark, reloads the builds from the store now in use,
// refreshes the title and hides the file buttons.
void OnClickedCloseFile(FileCommandHost& host);

// Save file: asks for the autorun job and slot, then for a file name, asks
// before overwriting an existing file and writes every build to it. On
// success the file becomes the one in use, the modified mark is cleared and a
// done message is shown; a failed write is reported and changes nothing.
void OnClickedSaveFile(FileCommandHost& host);

// Load file: saves the builds (a Cancel stops here), asks for a file and reads
// it. A file that cannot be opened or is not a save file is reported and not
// adopted. Otherwise the autorun job (and its build slot) is taken over, the
// file becomes the one in use, the modified mark is cleared, the title is
// refreshed and the file buttons are shown.
void OnClickedLoadFile(FileCommandHost& host);
