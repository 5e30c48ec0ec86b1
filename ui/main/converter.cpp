// SPDX-License-Identifier: MIT
#include "ui/main/converter.h"

#include <cstdio>

int RunConverter(const std::string&, const std::string&) {
  std::fprintf(stderr, "Umwandlung noch nicht verfügbar\n");
  return 1;
}
