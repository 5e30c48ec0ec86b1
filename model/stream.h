// SPDX-License-Identifier: MIT
// Byte streams for structogram files, and the failures they raise.
#pragma once

#include <cstddef>
#include <cstdio>
#include <stdexcept>
#include <string>

// A failure whose text is meant for the user, in the language the user chose.
class TStreamError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// What the structogram reader and writer need of a file.
class TStream {
public:
  virtual ~TStream() = default;
  // Reads up to n bytes and returns how many were read (0 at the end of the data).
  virtual std::size_t Read(void* buffer, std::size_t n) = 0;
  // Reads exactly n bytes or fails with "Stream-Lesefehler".
  void ReadBuffer(void* buffer, std::size_t n);
  // Writes all n bytes or fails with "Stream-Schreibfehler".
  virtual void WriteBuffer(const void* buffer, std::size_t n) = 0;
};

// An in-memory stream: reading consumes Data from Position, writing appends to Data.
class TMemoryStream : public TStream {
public:
  std::string Data;
  std::size_t Position = 0;

  TMemoryStream() = default;
  explicit TMemoryStream(std::string data) : Data(std::move(data)) {}
  std::size_t Read(void* buffer, std::size_t n) override;
  void WriteBuffer(const void* buffer, std::size_t n) override;
};

// A file opened for reading; fails with "Datei … kann nicht geöffnet werden".
class TFileReadStream : public TStream {
public:
  explicit TFileReadStream(const std::string& path);
  ~TFileReadStream() override;
  TFileReadStream(const TFileReadStream&) = delete;
  TFileReadStream& operator=(const TFileReadStream&) = delete;
  std::size_t Read(void* buffer, std::size_t n) override;
  void WriteBuffer(const void* buffer, std::size_t n) override;

private:
  std::FILE* file_ = nullptr;
};

// A file created for writing, replacing what was there only on Commit. The bytes go to a
// temporary file beside the target (the file a symbolic link points to, the link kept), which
// Commit renames over it with the old file's permissions; a failed save never destroys the file
// that was there. Where no temporary file can be made beside a writable target (a folder the
// user may not write to), the target is written in place. Creating fails with "Datei … kann
// nicht erstellt werden" wherever opening the target for writing would fail.
class TFileWriteStream : public TStream {
public:
  explicit TFileWriteStream(const std::string& path);
  ~TFileWriteStream() override; // without Commit, the temporary file is removed
  TFileWriteStream(const TFileWriteStream&) = delete;
  TFileWriteStream& operator=(const TFileWriteStream&) = delete;
  std::size_t Read(void* buffer, std::size_t n) override;
  void WriteBuffer(const void* buffer, std::size_t n) override;
  void Commit();

private:
  std::string path_;      // as the user named it, for messages
  std::string target_;    // the file that is replaced, links followed
  std::string tempPath_;  // empty when writing in place
  std::FILE* file_ = nullptr;
};
