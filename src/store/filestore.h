// Whole-file reads, crash-safe writes and the lock that serialises writers.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace longhand {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> readWholeFile(const std::string& path);

// Replaces the file's content with `bytes` so that a crash or a full disk
// never leaves it half-written: the bytes go to a new file in the same
// folder, are flushed to disk, and the new file is renamed over the old one.
// Returns false (and leaves the old file as it was) on any failure.
bool replaceFileAtomically(const std::string& path, const std::string& bytes);

// The middle part of the name of the new file that replaceFileAtomically and
// AtomicFile write beside `path`: path + kNewFileInfix + six random
// characters. A crash may leave such a file behind.
inline constexpr std::string_view kNewFileInfix = ".new-";

// The same kind of write for content that comes in pieces: write() buffers
// and writes, commit() flushes, syncs and renames. Without a successful
// commit() the new file is removed and `path` keeps its old content.
class AtomicFile {
  public:
    explicit AtomicFile(std::string path);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False once anything has failed (including the new file's creation).
    bool ok() const { return fd_ >= 0 && ok_; }
    void write(std::string_view bytes);
    bool commit();

  private:
    void flush();

    std::string path_;
    std::string tmp_;
    int fd_ = -1;
    bool ok_ = true;
    std::string buffer_;
};

// The file a symbolic link finally names (relative links resolved against
// the link's folder), or `path` itself when it is no link. A link that
// names a missing file gives that file's path, so that writing creates it.
// Nothing when the links go round in a loop.
std::optional<std::string> linkTarget(const std::string& path);

// True when the file exists and must not be replaced: it has no write
// permission bit, or the user may not write it. Permission bits count even
// for a user whom they would let through (root), since a rename would
// replace the file anyway.
bool isWriteProtected(const std::string& path);

// Removes the new files that writes of `path` left behind when interrupted
// (path + kNewFileInfix + anything). Only safe while no write of `path` is
// going on, that is under its FileLock.
void removeLeftoverNewFiles(const std::string& path);

// Asked by a FileLock at every try while it waits for another holder.
class LockWaitWatch {
  public:
    // False ends the wait (the lock is then not taken).
    virtual bool goOn() = 0;

  protected:
    ~LockWaitWatch() = default;
};

// An exclusive advisory lock (flock) on a lock file, held while the object
// lives. Locks of other processes and of other FileLock objects of this
// process exclude each other alike.
class FileLock {
  public:
    enum class Status { Held, Busy, Failed, Cancelled };

    // Takes the lock on `lockPath` (created when missing), waiting at most
    // `wait` for another holder to let go. Busy: still held by another
    // after the wait; Failed: the lock file cannot be created or opened.
    // While it waits, `watch` (when given) is asked at every try; a false
    // ends the wait as Cancelled.
    FileLock(const std::string& lockPath, std::chrono::milliseconds wait,
             LockWaitWatch* watch = nullptr);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Status status() const { return status_; }

  private:
    int fd_ = -1;
    Status status_ = Status::Failed;
};

} // namespace longhand
