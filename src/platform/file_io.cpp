#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>

namespace {

unsigned long g_tempCounter = 0;

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
int OpenRegularForReading(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
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
// survives the save.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode) &&
        ::realpath(path.c_str(), resolved) != nullptr) {
        return resolved;
    }
    return path;
}

// A fresh name next to the target for a temporary file.
std::string TempName(const std::string& folder, const std::string& name, int attempt) {
    return folder + "/." + name + "." + std::to_string(::getpid()) + "." + std::to_string(++g_tempCounter) +
           "." + std::to_string(attempt) + ".tmp";
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

std::string Utf16ToUtf8(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
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
        } else {
            AppendUtf16(out, 0xFFFD);
            ++i;
            continue;
        }
        // A broken sequence gives one U+FFFD for its longest well-formed
        // start (the maximal ill-formed subpart); the byte that broke it is
        // read again as the start of what follows.
        size_t j = i + 1;
        bool complete = true;
        for (int k = 1; k < length; ++k, ++j) {
            const unsigned char next = j < n ? static_cast<unsigned char>(text[j]) : 0;
            if (j >= n || next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
                complete = false;
                break;
            }
            c = (c << 6) | (next & 0x3F);
        }
        AppendUtf16(out, complete ? c : 0xFFFD);
        i = j;
    }
    return out;
}

bool ReadFileHead(const std::u16string& path, size_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const int fd = OpenRegularForReading(Utf16ToUtf8(path));
    if (fd < 0) return false;
    out.resize(maxBytes);
    size_t filled = 0;
    bool ok = true;
    while (filled < maxBytes) {
        const ssize_t got = ::read(fd, out.data() + filled, maxBytes - filled);
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
    return ok;
}

bool CanOpenForReading(const std::u16string& path) {
    const int fd = OpenRegularForReading(Utf16ToUtf8(path));
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
// time on a fresh file when the first attempt failed. A new file gets
// `newFileMode` when that is not negative.
bool ReplaceFile(const std::u16string& path, const std::function<bool(int)>& fill, int newFileMode) {
    if (path.empty()) return false;
    const std::string target = ResolveTarget(Utf16ToUtf8(path));
    const std::string folder = FolderOf(target);
    const size_t slash = target.find_last_of('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) return false;

    // An existing file keeps its permissions; a new one gets the mode asked
    // for, or else 0666 less the umask, as any new file.
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    const bool keepMode = exists && S_ISREG(existing.st_mode);
    // The rename needs only a writable folder, so it would replace a file
    // the user made read-only (or closed completely): such a file is left
    // alone, as if the write had failed. The effective ids decide, as for an
    // open for writing.
    if (exists && !MayWrite(target)) return false;
    auto writeTemp = [&](int fd) {
        if (keepMode)
            (void)::fchmod(fd, existing.st_mode & 07777);
        else if (newFileMode >= 0)
            (void)::fchmod(fd, static_cast<mode_t>(newFileMode) & 07777);
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

}  // namespace

bool WriteFileAtomic(const std::u16string& path, const void* data, size_t size) {
    return ReplaceFile(
        path, [&](int fd) { return WriteAll(fd, static_cast<const uint8_t*>(data), size); }, -1);
}

bool MayReplaceFile(const std::u16string& path) {
    if (path.empty()) return false;
    const std::string target = ResolveTarget(Utf16ToUtf8(path));
    struct stat existing {};
    return ::stat(target.c_str(), &existing) != 0 || MayWrite(target);
}

bool CopyFileAtomic(const std::u16string& from, const std::u16string& to) {
    const int source = OpenRegularForReading(Utf16ToUtf8(from));
    if (source < 0) return false;
    struct stat info {};
    bool ok = ::fstat(source, &info) == 0;
    const auto copy = [&](int fd) {
        uint8_t buffer[65536];
        off_t offset = 0;
        for (;;) {
            const ssize_t got = ::pread(source, buffer, sizeof buffer, offset);
            if (got < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (got == 0) return true;
            if (!WriteAll(fd, buffer, static_cast<size_t>(got))) return false;
            offset += got;
        }
    };
    ok = ok && ReplaceFile(to, copy, static_cast<int>(info.st_mode & 07777));
    ::close(source);
    return ok;
}

std::u16string AbsolutePath(const std::u16string& path) {
    if (!path.empty() && path[0] == u'/') return path;
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return path;
    std::string folder(cwd);
    std::free(cwd);
    if (folder.empty() || folder.back() != '/') folder += '/';
    return Utf8ToUtf16(folder) + path;
}
