// SPDX-License-Identifier: MIT
// Runs the user-interface tests inside the editor's own application object.
#include "ui/main/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  TApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
