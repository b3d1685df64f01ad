#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// Opens a regular file for reading without blocking on a pipe or device.
// -1 when that fails; `missing` then tells whether no file is there: nothing
// at all, or a symbolic link to a file that is not there now (on a stick
// that is out, say), which holds no bytes either. With `info`, the file's
// status.
int OpenRegularForReading(const std::string& path, bool* missing = nullptr, struct stat* info = nullptr) {
    if (missing) *missing = false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (missing && errno == ENOENT) {
            struct stat entry {};
            *missing = ::lstat(path.c_str(), &entry) != 0 ? errno == ENOENT : S_ISLNK(entry.st_mode);
        }
        return -1;
    }
    struct stat own {};
    struct stat& status = info ? *info : own;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

FileStamp StampFrom(const struct stat& info) {
    FileStamp stamp;
    stamp.present = true;
    stamp.device = static_cast<uint64_t>(info.st_dev);
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.size = static_cast<int64_t>(info.st_size);
    stamp.modifiedSeconds = static_cast<int64_t>(info.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<int64_t>(info.st_mtim.tv_nsec);
    return stamp;
}

bool WriteAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file a write should replace: the target of a symbolic link, so the link
// survives the save, also when that target is not there now. Empty for a
// chain of links that never ends.
std::string ResolveTarget(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        char resolved[PATH_MAX];
        if (::realpath(current.c_str(), resolved) != nullptr) return resolved;
        // A link to a file that is not there now: follow the name it holds,
        // which counts from the link's own folder unless it is absolute.
        char target[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), target, sizeof target - 1);
        if (length <= 0) return current;
        const std::string name(target, static_cast<size_t>(length));
        current = name[0] == '/' ? name : FolderOf(current) + "/" + name;
    }
    return {};
}

// A fresh name next to the target for a temporary file.
std::string TempName(const std::string& folder, const std::string& name, int attempt) {
    static unsigned long counter = 0;
    return folder + "/." + name + "." + std::to_string(::getpid()) + "." + std::to_string(++counter) + "." +
           std::to_string(attempt) + ".tmp";
}

// Creates a new named temporary file next to the target; O_EXCL makes a
// clash fail. The descriptor, or -1.
int CreateNamedTemp(const std::string& folder, const std::string& name, std::string& temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TempName(folder, name, attempt);
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    temp.clear();
    return -1;
}

// Gives an unnamed file (O_TMPFILE) a fresh name next to the target.
bool LinkUnnamed(int fd, const std::string& folder, const std::string& name, std::string& temp) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = TempName(folder, name, attempt);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) break;
    }
    temp.clear();
    return false;
}

}  // namespace

namespace {

// The UTF-8 form of a file name. A lone surrogate that stands for a byte
// (U+DC80..U+DCFF) becomes that byte again; any other becomes U+FFFD.
std::string EncodeUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            out += static_cast<char>(c - 0xDC00);
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

// The text of UTF-8 bytes. Each maximal ill-formed subpart (a byte that
// cannot start a sequence, or the longest start of a sequence that breaks
// off) becomes one U+FFFD, or, when `escapes` is set, one lone surrogate
// U+DC80..U+DCFF per byte.
std::u16string DecodeUtf8(std::string_view text, bool escapes) {
    std::u16string out;
    out.reserve(text.size());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // The sequence's length and the range of its second byte, which
        // rules out overlong forms, surrogates and values above U+10FFFF.
        int length = 0;
        char32_t c = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            c = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            c = lead & 0x07;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        }
        // A broken sequence is replaced as a whole up to its longest
        // well-formed start; the byte that broke it is read again as the start
        // of what follows.
        size_t j = i + 1;
        bool complete = length > 0;
        for (int k = 1; k < length; ++k, ++j) {
            const unsigned char next = j < n ? static_cast<unsigned char>(text[j]) : 0;
            if (j >= n || next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                complete = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if (complete) {
            AppendUtf16(out, c);
        } else if (escapes) {
            for (size_t b = i; b < j; ++b)
                out += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(text[b]));
        } else {
            AppendUtf16(out, 0xFFFD);
        }
        i = j;
    }
    return out;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text) { return DecodeUtf8(text, false); }

std::u16string DecodeFileName(std::string_view bytes) { return DecodeUtf8(bytes, true); }

std::string EncodeFileName(const std::u16string& name) { return EncodeUtf8(name); }

FileStamp StampOf(const std::u16string& path) {
    struct stat info {};
    if (::stat(EncodeFileName(path).c_str(), &info) != 0) return {};
    return StampFrom(info);
}

FileRead ReadFileHead(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>& out,
                      FileStamp* stamp) {
    out.clear();
    if (stamp) *stamp = {};
    bool missing = false;
    struct stat info {};
    const int fd = OpenRegularForReading(EncodeFileName(path), &missing, &info);
    if (fd < 0) return missing ? FileRead::Missing : FileRead::Failed;
    // Room for the file as it is now and one byte more, which tells a file
    // that grew since; more is made as it is needed.
    const size_t now = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
    out.resize(std::min(maxBytes, now + 1));
    size_t filled = 0;
    bool ok = true;
    while (filled < maxBytes) {
        if (filled == out.size()) out.resize(std::min(maxBytes, std::max<size_t>(out.size() * 2, 4096)));
        const ssize_t got = ::read(fd, out.data() + filled, out.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    ::close(fd);
    out.resize(ok ? filled : 0);
    if (ok && stamp) *stamp = StampFrom(info);
    return ok ? FileRead::Ok : FileRead::Failed;
}

bool CanOpenForReading(const std::u16string& path) {
    const int fd = OpenRegularForReading(EncodeFileName(path));
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

namespace {

bool MayWrite(const std::string& target) {
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// Puts a new file, whose bytes `fill` writes, in place of the file at `path`,
// or leaves that file byte for byte as it was. `fill` may be called a second
// time on a fresh file when the first attempt failed. When `mode` is not
// negative the new file gets it, whatever the old one had; otherwise it keeps
// the old file's mode. With `followLink`, a symbolic link at `path` is kept
// and the file it names is replaced; without, the link itself is replaced and
// what it names is not touched.
bool ReplaceFile(const std::u16string& path, const std::function<bool(int)>& fill, int mode,
                 bool followLink) {
    if (path.empty()) return false;
    const std::string spelled = EncodeFileName(path);
    const std::string target = followLink ? ResolveTarget(spelled) : spelled;
    if (target.empty()) return false;
    const std::string folder = FolderOf(target);
    const size_t slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) return false;

    // An existing file keeps its permissions unless a mode is asked for; a
    // new one gets that mode, or else 0666 less the umask, as any new file.
    struct stat existing {};
    const bool exists =
        (followLink ? ::stat(target.c_str(), &existing) : ::lstat(target.c_str(), &existing)) == 0;
    const bool keepMode = exists && S_ISREG(existing.st_mode);
    // The rename needs only a writable folder, so it would replace a file
    // the user made read-only (or closed completely): such a file is left
    // alone, as if the write had failed. The effective ids decide, as for an
    // open for writing. A link that is replaced rather than followed is only
    // a name in the folder.
    if (exists && !S_ISLNK(existing.st_mode) && !MayWrite(target)) return false;
    auto writeTemp = [&](int fd) {
        if (mode >= 0) {
            if (::fchmod(fd, static_cast<mode_t>(mode) & 07777) != 0) return false;
        } else if (keepMode) {
            (void)::fchmod(fd, existing.st_mode & 07777);
        }
        return fill(fd) && ::fsync(fd) == 0;
    };

    // The bytes go first to an unnamed file in the target's folder, so that a
    // process killed while writing leaves nothing behind; the file gets a
    // name next to the target only once it is complete, just before the
    // rename. Where the file system has no unnamed files (or linking one
    // fails), a named temporary file is written instead.
    std::string temp;
    bool renamed = false;
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
        if (writeTemp(fd) && LinkUnnamed(fd, folder, name, temp)) {
            renamed = ::rename(temp.c_str(), target.c_str()) == 0;
            if (!renamed) {
                ::unlink(temp.c_str());
                ::close(fd);
                return false;
            }
        }
        ::close(fd);
    }
    if (!renamed) {
        fd = CreateNamedTemp(folder, name, temp);
        if (fd < 0) return false;
        bool ok = writeTemp(fd);
        ok = (::close(fd) == 0) && ok;
        if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
        if (!ok) {
            ::unlink(temp.c_str());
            return false;
        }
    }
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

// The file a path names in the end, links followed; empty when there is none.
std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

}  // namespace

bool WriteFileAtomic(const std::u16string& path, const void* data, size_t size) {
    return ReplaceFile(
        path, [&](int fd) { return WriteAll(fd, static_cast<const uint8_t*>(data), size); }, -1, true);
}

bool MayReplaceFile(const std::u16string& path) {
    if (path.empty()) return false;
    const std::string target = ResolveTarget(EncodeFileName(path));
    struct stat existing {};
    return ::stat(target.c_str(), &existing) != 0 || MayWrite(target);
}

BackupResult BackUpFile(const std::u16string& from, const std::u16string& to) {
    const std::string source = EncodeFileName(from);
    const std::string copy = EncodeFileName(to);
    bool missing = false;
    const int fd = OpenRegularForReading(source, &missing);
    if (fd < 0) return missing ? BackupResult::NothingToKeep : BackupResult::Failed;
    struct stat info {};
    struct stat entry {};
    uint8_t first = 0;
    ssize_t got = 0;
    do {
        got = ::pread(fd, &first, 1, 0);
    } while (got < 0 && errno == EINTR);
    BackupResult result = BackupResult::Failed;
    if (got == 0) {
        result = BackupResult::NothingToKeep;
    } else if (got > 0 && ::fstat(fd, &info) == 0 &&
               // A file that is itself the backup's name (a link to it) would be
               // replaced by whatever is saved next: no copy can be kept there.
               !(::lstat(copy.c_str(), &entry) == 0 && !S_ISLNK(entry.st_mode) &&
                 RealPath(source) == RealPath(copy))) {
        const auto write = [&](int out) {
            uint8_t buffer[65536];
            off_t offset = 0;
            for (;;) {
                const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
                if (n < 0) {
                    if (errno == EINTR) continue;
                    return false;
                }
                if (n == 0) return true;
                if (!WriteAll(out, buffer, static_cast<size_t>(n))) return false;
                offset += n;
            }
        };
        if (ReplaceFile(to, write, static_cast<int>(info.st_mode & 0777), false))
            result = BackupResult::Copied;
    }
    ::close(fd);
    return result;
}

bool KeepChangedFile(const std::u16string& path, const std::optional<FileStamp>& known) {
    const FileStamp now = StampOf(path);
    if (!now.present || known == now) return true;
    return BackUpFile(path, path + u".bak") != BackupResult::Failed;
}

std::u16string AbsolutePath(const std::u16string& path) {
    if (!path.empty() && path[0] == u'/') return path;
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return path;
    std::string folder(cwd);
    std::free(cwd);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return DecodeFileName(folder) + path;
}
