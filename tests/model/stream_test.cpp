// SPDX-License-Identifier: MIT
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class FileStreams : public ::testing::Test {
public:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("strukt-stream-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }
  void Write(const char* name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  static std::string WithPath(const std::string& pattern, const std::string& path) {
    std::string text = pattern;
    text.replace(text.find("%s"), 2, path);
    return text;
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static std::string ErrorOf(void (*action)(const std::string&), const std::string& path) {
    try {
      action(path);
    } catch (const TStreamError& e) {
      return e.what();
    }
    return "(no error)";
  }

  fs::path dir_;
};

TEST(MemoryStream, ReadBufferFailsOnShortReads) {
  TMemoryStream stream("abc");
  char buffer[4] = {};
  stream.ReadBuffer(buffer, 2);
  EXPECT_EQ(std::string(buffer, 2), "ab");
  try {
    stream.ReadBuffer(buffer, 2);
    FAIL() << "a short read must fail";
  } catch (const TStreamError& e) {
    EXPECT_STREQ(e.what(), "Stream-Lesefehler");
  }
  EXPECT_EQ(stream.Read(buffer, 4), 0u);
}

TEST_F(FileStreams, MissingOrUncreatableFilesGiveTheUsersMessages) {
  const std::string missing = Path("fehlt.str");
  EXPECT_EQ(ErrorOf([](const std::string& p) { LoadDocumentFile(p); }, missing),
            "Datei " + missing + " kann nicht geöffnet werden");
  EXPECT_EQ(ErrorOf([](const std::string& p) { LoadDocumentFile(p); }, dir_.string()),
            "Datei " + dir_.string() + " kann nicht geöffnet werden");
  const std::string nowhere = Path("kein/Ordner.str");
  EXPECT_EQ(ErrorOf([](const std::string& p) { SaveDocumentFile(*NewDocumentRoot(), p); }, nowhere),
            "Datei " + nowhere + " kann nicht erstellt werden");
}

TEST_F(FileStreams, SaveReplacesTheFileOnlyOnCommit) {
  const std::string path = Path("a.str");
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText("x"));
  SaveDocumentFile(*root, path);
  const std::string first = Contents(path);
  EXPECT_EQ(first, std::string("B:gesamtes Programm\x01"
                               "A:x\x01\x02\x02"));
  {
    TFileWriteStream unfinished(path);
    unfinished.WriteBuffer("junk", 4);
  } // dropped without Commit: the old file stays, no temporary file is left
  EXPECT_EQ(Contents(path), first);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

  TLoadResult loaded = LoadDocumentFile(path);
  EXPECT_EQ(DescribeTree(loaded.Root.get()), DescribeTree(root.get()));
  ExportProgramFile(*root, path);
  EXPECT_EQ(Contents(path), "  x;\r\n");
}

// Runs action in a child process, as an ordinary user when the tests run as root (root may write
// anything, so read-only files and folders would prove nothing), with file size limited to
// fileSizeLimit bytes when it is not negative (a full disk, as writing sees it). Returns what
// action returned, or a note of how the child ended.
std::string InChild(const std::function<std::string()>& action, long fileSizeLimit = -1) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return "(no pipe)";
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipeFds[0]);
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
    if (fileSizeLimit >= 0) {
      std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails instead of killing
      const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    const std::string result = action();
    if (write(pipeFds[1], result.data(), result.size()) < 0) _exit(4);
    _exit(0);
  }
  close(pipeFds[1]);
  std::string result;
  char buffer[256];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) result.append(buffer, n);
  close(pipeFds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "(child failed)";
  return result;
}

std::string SaveResult(const std::string& path, const std::string& text) {
  TOwned<TBlock> root = NewDocumentRoot();
  AppendToBody(*root, TAnweisung::CreateWithText(text));
  try {
    SaveDocumentFile(*root, path);
  } catch (const TStreamError& e) {
    return e.what();
  }
  return "saved";
}

std::string Saved(const std::string& text) {
  return "B:gesamtes Programm\x01" "A:" + text + "\x01\x02\x02";
}

// What a save does to the file system around its target.
TEST_F(FileStreams, SaveKeepsLinksPermissionsAndWhatItMayNotReplace) {
  const std::string old = "alter Inhalt, länger als das neue Struktogramm";
  struct Row {
    const char* name;
    std::function<std::string(FileStreams&)> prepare;  // returns the path to save to
    bool unprivileged;
    const char* result;   // "saved" or the message with %s for the path saved to
    const char* written;  // where the new contents must be ("" for nowhere)
  };
  fs::permissions(dir_, fs::perms::all);  // the ordinary user may work here
  const Row rows[] = {
      {"a link: the linked file is written, the link stays",
       [&](FileStreams& t) {
         t.Write("ziel.str", old);
         fs::create_symlink("ziel.str", t.dir_ / "link.str");
         return t.Path("link.str");
       },
       false, "saved", "ziel.str"},
      {"a dangling link: the file it names is made",
       [&](FileStreams& t) {
         fs::create_symlink("neu.str", t.dir_ / "link.str");
         return t.Path("link.str");
       },
       false, "saved", "neu.str"},
      {"a read-only file is refused",
       [&](FileStreams& t) {
         t.Write("nur-lesen.str", old);
         fs::permissions(t.dir_ / "nur-lesen.str", fs::perms::owner_read | fs::perms::group_read |
                                                         fs::perms::others_read);
         return t.Path("nur-lesen.str");
       },
       true, "Datei %s kann nicht erstellt werden", ""},
      {"a writable file in a folder the user may not write to is written in place",
       [&](FileStreams& t) {
         fs::create_directory(t.dir_ / "zu");
         t.Write("zu/offen.str", old);
         fs::permissions(t.dir_ / "zu/offen.str", fs::perms::all);
         fs::permissions(t.dir_ / "zu", fs::perms::owner_all | fs::perms::group_exec |
                                            fs::perms::others_exec);
         return t.Path("zu/offen.str");
       },
       true, "saved", "zu/offen.str"},
      {"a new file in a folder the user may not write to is refused",
       [&](FileStreams& t) {
         fs::create_directory(t.dir_ / "zu");
         fs::permissions(t.dir_ / "zu", fs::perms::owner_all | fs::perms::group_exec |
                                            fs::perms::others_exec);
         return t.Path("zu/neu.str");
       },
       true, "Datei %s kann nicht erstellt werden", ""},
      {"a name too long for a temporary name beside it",
       [&](FileStreams& t) { return t.Path((std::string(246, 'n') + ".str").c_str()); }, false,
       "saved", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::permissions(dir_, fs::perms::all);
    const std::string path = row.prepare(*this);
    const auto save = [&] { return SaveResult(path, "neu"); };
    const std::string result = row.unprivileged ? InChild(save) : save();
    EXPECT_EQ(result, row.result == std::string("saved") ? "saved" : WithPath(row.result, path));
    const std::string written = row.written ? row.written : fs::path(path).filename().string();
    if (!written.empty()) {
      EXPECT_EQ(Contents(Path(written.c_str())), Saved("neu"));
    }
    // Nothing is left behind but the files the row made.
    for (const auto& entry : fs::recursive_directory_iterator(dir_))
      EXPECT_EQ(entry.path().string().find(".str."), std::string::npos) << entry.path();
    if (result != "saved" && fs::exists(path)) {
      EXPECT_EQ(Contents(path), old);
    }
    if (fs::exists(dir_ / "zu")) fs::permissions(dir_ / "zu", fs::perms::all);
  }
  // Links stay links.
  fs::remove_all(dir_);
  fs::create_directories(dir_);
  fs::create_symlink("ziel.str", dir_ / "link.str");
  ASSERT_EQ(SaveResult(Path("link.str"), "a"), "saved");
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir_ / "link.str")));
}

TEST_F(FileStreams, SaveKeepsTheOldFilesModeAndOwner) {
  const std::string path = Path("rechte.str");
  Write("rechte.str", "alt");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
  }
  ASSERT_EQ(SaveResult(path, "x"), "saved");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(info.st_uid, 65534u);
  }
  EXPECT_EQ(Contents(path), Saved("x"));
}

// A disk that fills while saving or exporting: the old file stays as it was and the failure is
// told.
TEST_F(FileStreams, FullDiskLeavesTheOldFile) {
  fs::permissions(dir_, fs::perms::all);
  const std::string path = Path("voll.str");
  const std::string big(100000, 'x');
  for (bool exporting : {false, true}) {
    Write("voll.str", "alter Inhalt");
    fs::permissions(path, fs::perms::all);
    const auto write = [&] {
      if (!exporting) return SaveResult(path, big);
      TOwned<TBlock> root = NewDocumentRoot();
      AppendToBody(*root, TAnweisung::CreateWithText(big));
      try {
        ExportProgramFile(*root, path);
      } catch (const TStreamError& e) {
        return std::string(e.what());
      }
      return std::string("saved");
    };
    EXPECT_EQ(InChild(write, 4096), "Stream-Schreibfehler") << exporting;
    EXPECT_EQ(Contents(path), "alter Inhalt");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  }
}

// A file the user may not read is refused with the system's message, as a missing one is.
TEST_F(FileStreams, UnreadableFileIsReported) {
  fs::permissions(dir_, fs::perms::all);
  const std::string path = Path("geheim.str");
  Write("geheim.str", "B:x\x01\x02\x02");
  fs::permissions(path, fs::perms::none);
  EXPECT_EQ(InChild([&] {
              try {
                LoadDocumentFile(path);
              } catch (const TStreamError& e) {
                return std::string(e.what());
              }
              return std::string("geladen");
            }),
            "Datei " + path + " kann nicht geöffnet werden");
}

} // namespace
