#include "store/FileIo.h"

#include "store/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Paths are handed to the system as UTF-8.
std::string ToUtf8(const std::wstring& path) {
    return TextCodec::ToUtf8(path);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

namespace FileIo {

bool ReadFile(const std::wstring& path, std::string& bytes) {
    int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    std::string data;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    bytes.swap(data);
    return true;
}

bool ReadFilePrefix(const std::wstring& path, size_t maxBytes, std::string& bytes,
                    uint64_t& fileSize) {
    int fd = ::open(ToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return false;
    }
    fileSize = static_cast<uint64_t>(info.st_size);
    std::string data(static_cast<size_t>(std::min<uint64_t>(fileSize, maxBytes)), '\0');
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::read(fd, &data[done], data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    data.resize(done);
    bytes.swap(data);
    return true;
}

bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
    const std::string target = ToUtf8(path);
    std::string temp = target + ".tmp-XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool FileExists(const std::wstring& path) {
    struct stat st;
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool CopyNewFile(const std::wstring& from, const std::wstring& to) {
    std::string bytes;
    if (!ReadFile(from, bytes)) return false;
    int fd = ::open(ToUtf8(to).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok) ::unlink(ToUtf8(to).c_str());
    return ok;
}

bool RemoveFile(const std::wstring& path) {
    return ::unlink(ToUtf8(path).c_str()) == 0;
}

bool RenameNewFile(const std::wstring& from, const std::wstring& to) {
    // A hard link fails when the name is taken, which rename alone would not.
    if (::link(ToUtf8(from).c_str(), ToUtf8(to).c_str()) != 0) return false;
    return ::unlink(ToUtf8(from).c_str()) == 0;
}

bool MakeFolder(const std::wstring& path) {
    const std::string p = ToUtf8(path);
    if (::mkdir(p.c_str(), 0755) == 0) return true;
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::wstring> ListFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    const std::string dirPath = ToUtf8(folder);
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        struct stat st;
        const std::string full =
            dirPath + (dirPath.empty() || dirPath.back() == '/' ? "" : "/") + name;
        if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            names.push_back(TextCodec::FromUtf8(name));
        }
    }
    ::closedir(dir);
    return names;
}

bool AppendToFile(const std::wstring& path, const std::string& bytes) {
    int fd = ::open(ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    return ok;
}

}  // namespace FileIo
