// SPDX-License-Identifier: MIT
#include "model/stream.h"

#include "model/texts.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Made only when reading or writing fails, in the language shown then.
[[noreturn]] void FailReading() { throw TStreamError(Tr("Datei", "Stream-Lesefehler")); }
[[noreturn]] void FailWriting() { throw TStreamError(Tr("Datei", "Stream-Schreibfehler")); }

} // namespace

void TStream::ReadBuffer(void* buffer, std::size_t n) {
  char* at = static_cast<char*>(buffer);
  while (n > 0) {
    const std::size_t got = Read(at, n);
    if (got == 0)
      FailReading();
    at += got;
    n -= got;
  }
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t n) {
  if (Position >= Data.size())
    return 0;
  const std::size_t got = std::min(n, Data.size() - Position);
  std::memcpy(buffer, Data.data() + Position, got);
  Position += got;
  return got;
}

void TMemoryStream::WriteBuffer(const void* buffer, std::size_t n) {
  Data.append(static_cast<const char*>(buffer), n);
}

TFileReadStream::TFileReadStream(const std::string& path) {
  file_ = std::fopen(path.c_str(), "rb");
  struct stat info {};
  // A directory opens on some systems but cannot be read as a file.
  if (file_ && (fstat(fileno(file_), &info) != 0 || S_ISDIR(info.st_mode))) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!file_)
    throw TStreamError(Format(Tr("Datei", "Datei %1 kann nicht geöffnet werden"), {path}));
}

TFileReadStream::~TFileReadStream() {
  if (file_)
    std::fclose(file_);
}

std::size_t TFileReadStream::Read(void* buffer, std::size_t n) {
  return std::fread(buffer, 1, n, file_);
}

void TFileReadStream::WriteBuffer(const void*, std::size_t) {
  FailWriting();
}

namespace {

[[noreturn]] void CannotCreate(const std::string& path) {
  throw TStreamError(Format(Tr("Datei", "Datei %1 kann nicht erstellt werden"), {path}));
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that writing to path would change: symbolic links followed, also dangling ones
// (the save then creates the file the link names).
std::string FollowLinks(const std::string& path) {
  std::string at = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
    std::string link(4096, '\0');
    const ssize_t n = readlink(at.c_str(), link.data(), link.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return at;
    link.resize(static_cast<std::size_t>(n));
    at = link[0] == '/' ? link : DirectoryOf(at) + "/" + link;
  }
  return at;
}

// A temporary name beside target that fits the folder's name limit.
std::string TemporaryPattern(const std::string& target) {
  const std::string dir = DirectoryOf(target);
  const std::size_t slash = target.find_last_of('/');
  std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  long limit = pathconf(dir.c_str(), _PC_NAME_MAX);
  if (limit <= 0) limit = 255;
  const std::size_t suffix = 7;  // ".XXXXXX"
  if (base.size() + suffix > static_cast<std::size_t>(limit))
    base.resize(static_cast<std::size_t>(limit) - suffix);
  return dir + "/" + base + ".XXXXXX";
}

}  // namespace

TFileWriteStream::TFileWriteStream(const std::string& path)
    : path_(path), target_(FollowLinks(path)) {
  // The target must be writable as opening it for writing would find it (a read-only file is
  // refused, also when its folder would let a temporary file replace it).
  struct stat old {};
  const bool exists = stat(target_.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) CannotCreate(path_);
    const int probe = open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) CannotCreate(path_);
    close(probe);
  }
  int fd = -1;
  // Only regular files are replaced by renaming; devices and pipes are written as they are.
  if (!exists || S_ISREG(old.st_mode)) {
    std::string pattern = TemporaryPattern(target_);
    fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) tempPath_ = pattern;
  }
  if (fd >= 0) {
    // mkstemp makes the file private; give it the mode (and owner) of the file it replaces, or
    // the mode a plainly created file would have.
    if (exists) {
      if (fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only the owner's group may be lost; the mode below still applies.
      }
      fchmod(fd, old.st_mode & 07777);
    } else {
      const mode_t mask = umask(0);
      umask(mask);
      fchmod(fd, 0666 & ~mask);
    }
  } else if (exists) {
    // No temporary file beside it: the file is written in place and shortened on Commit.
    fd = open(target_.c_str(), O_WRONLY | O_CLOEXEC);
  }
  if (fd < 0) CannotCreate(path_);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    close(fd);
    if (!tempPath_.empty()) unlink(tempPath_.c_str());
    CannotCreate(path_);
  }
}

TFileWriteStream::~TFileWriteStream() {
  if (file_) {
    std::fclose(file_);
    if (!tempPath_.empty()) unlink(tempPath_.c_str());
  }
}

std::size_t TFileWriteStream::Read(void*, std::size_t) {
  return 0;
}

void TFileWriteStream::WriteBuffer(const void* buffer, std::size_t n) {
  if (!file_ || std::fwrite(buffer, 1, n, file_) != n)
    FailWriting();
}

void TFileWriteStream::Commit() {
  if (!file_)
    FailWriting();
  bool written = std::fflush(file_) == 0;
  struct stat info {};
  const bool regular = fstat(fileno(file_), &info) == 0 && S_ISREG(info.st_mode);
  if (written && regular && tempPath_.empty()) {
    // In place: cut off what is left of a longer old file.
    const off_t length = ftello(file_);
    written = length >= 0 && ftruncate(fileno(file_), length) == 0;
  }
  // Devices and pipes cannot be synced; for them the flush is what counts.
  written = written && (!regular || fsync(fileno(file_)) == 0);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!written || !closed) {
    if (!tempPath_.empty()) unlink(tempPath_.c_str());
    FailWriting();
  }
  if (!tempPath_.empty() && std::rename(tempPath_.c_str(), target_.c_str()) != 0) {
    unlink(tempPath_.c_str());
    CannotCreate(path_);
  }
}
