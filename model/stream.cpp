// SPDX-License-Identifier: MIT
#include "model/stream.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string WithName(const char* pattern, const std::string& name) {
  std::string text = pattern;
  const std::size_t at = text.find("%s");
  if (at != std::string::npos)
    text.replace(at, 2, name);
  return text;
}

const char* const kReadError = "Stream-Lesefehler";
const char* const kWriteError = "Stream-Schreibfehler";

} // namespace

void TStream::ReadBuffer(void* buffer, std::size_t n) {
  char* at = static_cast<char*>(buffer);
  while (n > 0) {
    const std::size_t got = Read(at, n);
    if (got == 0)
      throw TStreamError(kReadError);
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
    throw TStreamError(WithName("Datei %s kann nicht geöffnet werden", path));
}

TFileReadStream::~TFileReadStream() {
  if (file_)
    std::fclose(file_);
}

std::size_t TFileReadStream::Read(void* buffer, std::size_t n) {
  return std::fread(buffer, 1, n, file_);
}

void TFileReadStream::WriteBuffer(const void*, std::size_t) {
  throw TStreamError(kWriteError);
}

TFileWriteStream::TFileWriteStream(const std::string& path) : path_(path) {
  std::string pattern = path + ".XXXXXX";
  const int fd = mkstemp(pattern.data());
  if (fd < 0)
    throw TStreamError(WithName("Datei %s kann nicht erstellt werden", path));
  tempPath_ = pattern;
  // mkstemp makes the file private; give it the mode a plainly created file (or the one it
  // replaces) would have.
  struct stat info {};
  mode_t mode;
  if (stat(path.c_str(), &info) == 0) {
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  fchmod(fd, mode);
  file_ = fdopen(fd, "wb");
  if (!file_) {
    close(fd);
    std::remove(tempPath_.c_str());
    throw TStreamError(WithName("Datei %s kann nicht erstellt werden", path));
  }
}

TFileWriteStream::~TFileWriteStream() {
  if (file_) {
    std::fclose(file_);
    std::remove(tempPath_.c_str());
  }
}

std::size_t TFileWriteStream::Read(void*, std::size_t) {
  return 0;
}

void TFileWriteStream::WriteBuffer(const void* buffer, std::size_t n) {
  if (!file_ || std::fwrite(buffer, 1, n, file_) != n)
    throw TStreamError(kWriteError);
}

void TFileWriteStream::Commit() {
  if (!file_)
    throw TStreamError(kWriteError);
  const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) {
    std::remove(tempPath_.c_str());
    throw TStreamError(kWriteError);
  }
  if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    std::remove(tempPath_.c_str());
    throw TStreamError(WithName("Datei %s kann nicht erstellt werden", path_));
  }
}
