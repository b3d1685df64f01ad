// Whole-file reads and crash-safe whole-file writes, by UTF-16 path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class FileRead {
    Ok,       // the bytes were read
    Missing,  // nothing is at that path
    Failed,   // something is there that could not be opened or read as a regular file
};

// One version of a file, as far as the program can tell: a file that was
// replaced, or written since, has another stamp. Links are followed.
struct FileStamp {
    bool present = false;  // something is there; the rest is zero when not
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t modifiedSeconds = 0;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of whatever is at `path` now, links followed; not present when
// nothing is there (a link to a file that is not there now included).
FileStamp StampOf(const std::u16string& path);

// Reads at most `maxBytes` from the start of a regular file into `out`, which
// is empty unless the result is Ok. A symbolic link to a file that is not
// there now reads as Missing. With `stamp`, the stamp of the file read (not
// present unless the result is Ok).
FileRead ReadFileHead(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>& out,
                      FileStamp* stamp = nullptr);

// True when the path names a regular file that can be opened for reading.
bool CanOpenForReading(const std::u16string& path);

// Replaces the file at `path` with `data`, or leaves it byte for byte as it
// was: the bytes go to a new file in the same folder, which is flushed to disk
// and then renamed over the target. False when any step failed (a full disk
// among them). A symbolic link at `path` is kept and the file it names is
// written, also when that file is not there now, provided its folder is.
// An existing file that this user may not write (read-only, or closed
// completely) is never replaced: the write then fails.
bool WriteFileAtomic(const std::u16string& path, const void* data, size_t size);

// True when WriteFileAtomic may put a file at `path`: none is there, or this
// user may write the one that is.
bool MayReplaceFile(const std::u16string& path);

enum class BackupResult {
    Copied,         // `to` now holds the bytes of `from`
    NothingToKeep,  // `from` is missing or empty; `to` is left as it was
    Failed,         // `from` could not be read or `to` not written; `to` is as it was
};

// Keeps the bytes of the regular file `from` as the file `to`, replacing `to`
// the same safe way as WriteFileAtomic. The copy gets the permission bits of
// `from`, whatever an older `to` had, so it is never more open than the file
// it keeps. `to` is a name of the program's own: a symbolic link there is
// replaced by the copy, never written through.
BackupResult BackUpFile(const std::u16string& from, const std::u16string& to);

// Before the file at `path` is replaced: unless it is still the version
// `known` (its stamp when the program last read or wrote it; none when it was
// there but could not be read), its bytes are kept as "<path>.bak" by
// BackUpFile. False when they could not be kept: the file must then not be
// replaced. A file that is not there has nothing to keep.
bool KeepChangedFile(const std::u16string& path, const std::optional<FileStamp>& known);

// The path made absolute against the process's current folder.
std::u16string AbsolutePath(const std::u16string& path);

// The UTF-16 text of UTF-8 bytes read from outside (the update reply). Each
// maximal ill-formed subpart of the bytes becomes U+FFFD: a byte that cannot
// start a sequence, or the longest start of a sequence that breaks off.
std::u16string Utf8ToUtf16(std::string_view text);

// Conversions between a file name as the system spells it (bytes, mostly
// UTF-8) and the program's UTF-16 text. A name that comes from the system
// (the current folder, say) gives back every byte: a byte that is not part of
// well-formed UTF-8 stands for itself as the lone surrogate U+DC80..U+DCFF (so
// a folder named in another code page is still found), and such a surrogate
// turns back into its byte. A name that went through Qt's own decoding (from
// its file dialog) has already lost such bytes to U+FFFD; it is written as
// UTF-8, so that name is not found again.
std::u16string DecodeFileName(std::string_view bytes);
std::string EncodeFileName(const std::u16string& name);
