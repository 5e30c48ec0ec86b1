// SPDX-License-Identifier: MIT
#include "model/stream.h"
#include "model/structogram_file.h"
#include "tests/model/tree_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

class FileStreams : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("strukt-stream-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const char* name) const { return (dir_ / name).string(); }
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

} // namespace
