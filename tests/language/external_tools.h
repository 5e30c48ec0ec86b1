// SPDX-License-Identifier: MIT
// Running the real compilers and interpreters on exported programs from the model tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <system_error>

// A fresh folder that is removed with everything in it when the object goes.
class TTempDir {
public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "strukt-XXXXXX").string();
    if (mkdtemp(pattern.data()))
      path_ = pattern;
  }
  ~TTempDir() {
    std::error_code ignored;
    if (!path_.empty())
      std::filesystem::remove_all(path_, ignored);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }

private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool HasTool(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a shell command in dir; its output (stdout and stderr) goes to `output`. True when it
// exits with status 0 within the time limit.
inline bool RunTool(const TTempDir& dir, const std::string& command, std::string* output = nullptr,
                    const std::string& input = std::string()) {
  WriteBytes(dir.File("stdin.txt"), input);
  const std::string line = "cd '" + dir.Path() + "' && timeout 60 " + command +
                           " < stdin.txt > stdout.txt 2> stderr.txt";
  const int status = std::system(line.c_str());
  if (output)
    *output = ReadBytes(dir.File("stdout.txt"));
  if (status != 0 && output)
    *output += ReadBytes(dir.File("stderr.txt"));
  return status == 0;
}

// Compilers that run under the sanitizer build run fewer programs there.
#ifdef STRUKT_SANITIZED
constexpr int kProgramCount = 4;
#else
constexpr int kProgramCount = 16;
#endif
