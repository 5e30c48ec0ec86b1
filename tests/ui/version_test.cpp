// SPDX-License-Identifier: MIT
// `--version` of both built programs, against the version CMake's project() declares.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <string>

namespace {

struct TOutcome {
  int Status;
  std::string Out;
  std::string Err;
};

// Runs `program` without any display, so that a version that starts a window fails.
TOutcome RunProgram(const char* program, const QStringList& arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(name);
  QTemporaryDir dir;
  QProcess process;
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(dir.path());
  process.start(program, arguments);
  process.waitForFinished(60000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          process.readAllStandardOutput().toStdString(),
          process.readAllStandardError().toStdString()};
}

const std::string kExpected = std::string("struktogramme ") + STRUKT_PROJECT_VERSION + "\n";

TEST(Version, IsTheProjectsVersion) {
  // A version of three numbers, as the package's file name carries it.
  ASSERT_EQ(std::count(kExpected.begin(), kExpected.end(), '.'), 2) << kExpected;
  for (const char* program : {STRUKT_EXECUTABLE, STRUKT_EDITOR_EXECUTABLE})
    for (const char* option : {"--version", "-v"}) {
      SCOPED_TRACE(std::string(program) + " " + option);
      const TOutcome outcome = RunProgram(program, {option});
      EXPECT_EQ(outcome.Out, kExpected);
      EXPECT_EQ(outcome.Err, "");
      EXPECT_EQ(outcome.Status, 0);
    }
}

TEST(Version, ComesBeforeARunOrAConversion) {
  for (const char* program : {STRUKT_EXECUTABLE, STRUKT_EDITOR_EXECUTABLE})
    for (const QStringList& arguments :
         {QStringList{"--run", "fehlt.str", "--version"}, QStringList{"--check", "fehlt.str", "-v"},
          QStringList{"--export", "aus.pas", "fehlt.str", "--version"}}) {
      SCOPED_TRACE(std::string(program) + " " + arguments.join(' ').toStdString());
      const TOutcome outcome = RunProgram(program, arguments);
      EXPECT_EQ(outcome.Out, kExpected);
      EXPECT_EQ(outcome.Status, 0);
    }
}

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
