#include "filestore.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <limits.h>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace longhand {

namespace {

// Bytes gathered before AtomicFile writes them out.
constexpr std::size_t kWriteBufferBytes = std::size_t{1} << 20;
// Links followed before linkTarget gives up on a loop (as the kernel does).
constexpr int kMaxLinkHops = 40;
// How often a FileLock that has to wait tries again.
constexpr std::chrono::milliseconds kLockRetry{10};

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream buf;
    buf << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(buf).str();
}

bool replaceFileAtomically(const std::string& path, const std::string& bytes) {
    AtomicFile file(path);
    file.write(bytes);
    return file.commit();
}

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    tmp_ = path_ + std::string(kNewFileInfix) + "XXXXXX";
    fd_ = ::mkstemp(tmp_.data());
    if (fd_ < 0) return;
    // Keep the permissions of the file being replaced, or the usual ones.
    struct stat st {};
    const mode_t mode = (::stat(path_.c_str(), &st) == 0) ? (st.st_mode & 07777) : 0644;
    ok_ = ::fchmod(fd_, mode) == 0;
}

AtomicFile::~AtomicFile() {
    if (fd_ < 0) return;
    ::close(fd_);
    ::unlink(tmp_.c_str());
}

void AtomicFile::write(std::string_view bytes) {
    if (!ok()) return;
    if (buffer_.size() + bytes.size() > kWriteBufferBytes) {
        flush();
        if (bytes.size() >= kWriteBufferBytes) {
            ok_ = ok_ && writeAll(fd_, bytes);
            return;
        }
    }
    buffer_.append(bytes);
}

void AtomicFile::flush() {
    ok_ = ok_ && writeAll(fd_, buffer_);
    buffer_.clear();
}

bool AtomicFile::commit() {
    if (fd_ < 0) return false;
    flush();
    bool done = ok_ && ::fsync(fd_) == 0;
    done = (::close(fd_) == 0) && done;
    fd_ = -1;
    if (done && ::rename(tmp_.c_str(), path_.c_str()) == 0) return true;
    ::unlink(tmp_.c_str());
    return false;
}

std::optional<std::string> linkTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return std::nullopt;
        target.resize(static_cast<std::size_t>(n));
        if (target.empty()) return std::nullopt;
        if (target.front() != '/') {
            const std::filesystem::path folder = std::filesystem::path(current).parent_path();
            target = (folder / target).string();
        }
        current = std::move(target);
    }
    return std::nullopt;
}

bool isWriteProtected(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

void removeLeftoverNewFiles(const std::string& path) {
    const std::filesystem::path file(path);
    const std::string prefix = file.filename().string() + std::string(kNewFileInfix);
    std::filesystem::path folder = file.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0)
            ::unlink(it->path().c_str());
    }
}

FileLock::FileLock(const std::string& lockPath, std::chrono::milliseconds wait,
                   LockWaitWatch* watch) {
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    // Another user's lock file may be read-only to us; it locks all the same.
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return;
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            status_ = Status::Held;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) break;
        if (std::chrono::steady_clock::now() >= giveUp) {
            status_ = Status::Busy;
            break;
        }
        if (watch && !watch->goOn()) {
            status_ = Status::Cancelled;
            break;
        }
        std::this_thread::sleep_for(kLockRetry);
    }
    ::close(fd_);
    fd_ = -1;
}

FileLock::~FileLock() {
    if (fd_ >= 0) ::close(fd_); // closing lets the lock go
}

} // namespace longhand
