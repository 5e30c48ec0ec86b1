// SPDX-License-Identifier: MIT
// A shown main window with scripted services, as the editor starts it.
#pragma once

#include "scripted_services.h"
#include "ui/diagram/tform1.h"
#include "ui/main/tform2.h"
#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <memory>

class MainFormTest : public testing::Test {
protected:
  TScriptedServices services;
  std::unique_ptr<TForm2> form;

  // Creates and shows the main window for file (empty: none) and waits for its first window.
  void Start(const QString& file = QString()) {
    form = std::make_unique<TForm2>(services, file);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_NE(form->FirstWindow(), nullptr);
  }
  TForm1& First() { return *form->FirstWindow(); }
};
