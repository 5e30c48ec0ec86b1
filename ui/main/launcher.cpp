// SPDX-License-Identifier: MIT
// The program's entry: a run from the command line starts here without loading Qt, so that it
// starts as fast as the compiled Pascal program; everything else is the editor's program,
// which takes over this process.
#include "model/texts.h"
#include "ui/main/run_command.h"

#include "strukt_version.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The same options QCommandLineParser gives the editor; nothing after "--" is an option.
bool AsksForVersion(int argc, char** argv) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
    if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-v") == 0)
      return true;
  return false;
}

bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    for (const char* help : {"--help", "-h", "-?", "--help-all"})
      if (std::strcmp(argv[i], help) == 0)
        return true;
  return false;
}

// The folder this program lies in, links followed.
std::string OwnFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0)
    return ".";
  path[n] = '\0';
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('/'));
}

} // namespace

int main(int argc, char** argv) {
  if (AsksForVersion(argc, argv)) {
    std::printf("struktogramme %s\n", STRUKT_VERSION);
    return 0;
  }
  if (IsRunCommand(argc, argv) && !AsksForHelp(argc, argv) && !HasLanguageArgument(argc, argv))
    return RunCommand(argc, argv);
  const std::string folder = OwnFolder();
  // Beside this program in the build, in the package's program folder when installed.
  for (const char* place :
       {"/struktogramme-editor", "/../libexec/struktogramme/struktogramme-editor",
        "/../lib/struktogramme/struktogramme-editor"}) {
    const std::string editor = folder + place;
    if (access(editor.c_str(), X_OK) == 0) {
      execv(editor.c_str(), argv);
      std::fprintf(stderr, "%s\n",
                   Format(Tr("Befehlszeile", "%1 kann nicht gestartet werden: %2"),
                          {editor, std::strerror(errno)})
                       .c_str());
      return 1;
    }
  }
  std::fprintf(
      stderr, "%s\n",
      Format(Tr("Befehlszeile", "Das Programm struktogramme-editor fehlt neben %1."), {folder})
          .c_str());
  return 1;
}
