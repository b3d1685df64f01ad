// Whole-file reads and crash-safe whole-file writes, by UTF-16 path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reads at most `maxBytes` from the start of a regular file into `out`.
// False when the path does not name a regular file that can be opened and
// read; `out` is then empty.
bool ReadFileHead(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>& out);

// True when the path names a regular file that can be opened for reading.
bool CanOpenForReading(const std::u16string& path);

// Replaces the file at `path` with `data`, or leaves it byte for byte as it
// was: the bytes go to a new file in the same folder, which is flushed to disk
// and then renamed over the target. False when any step failed.
// An existing file that this user may not write (read-only, or closed
// completely) is never replaced: the write then fails.
bool WriteFileAtomic(const std::u16string& path, const void* data, size_t size);

// True when WriteFileAtomic may put a file at `path`: none is there, or this
// user may write the one that is.
bool MayReplaceFile(const std::u16string& path);

// Copies the regular file `from` whole to `to`, replacing `to` the same safe
// way as WriteFileAtomic; a new `to` gets the permissions of `from`. False
// when `from` cannot be read or `to` cannot be written.
bool CopyFileAtomic(const std::u16string& from, const std::u16string& to);

// The path made absolute against the process's current folder.
std::u16string AbsolutePath(const std::u16string& path);

// Conversions between the UTF-16 text of the program and UTF-8 bytes (file
// names, the update reply). An unpaired surrogate becomes U+FFFD, and so does
// each maximal ill-formed subpart of the bytes: a byte that cannot start a
// sequence, or the longest start of a sequence that breaks off.
std::string Utf16ToUtf8(const std::u16string& text);
std::u16string Utf8ToUtf16(std::string_view text);
