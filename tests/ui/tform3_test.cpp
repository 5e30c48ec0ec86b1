// SPDX-License-Identifier: MIT
#include "ui/diagram/tform3.h"

#include "ui_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct TSplitCase {
  const char* name;
  TText text;
  QString variable, start, end;
  TText joined;  // what "Ok" makes of the fields unchanged
};

class SplitAndJoin : public testing::TestWithParam<TSplitCase> {};

TEST_P(SplitAndJoin, FieldsAndText) {
  const TSplitCase& c = GetParam();
  TForm3 dialog;
  dialog.SplitForText(c.text);
  EXPECT_EQ(dialog.ForText, c.text);
  EXPECT_EQ(dialog.Edit1->text(), c.variable);
  EXPECT_EQ(dialog.Edit2->text(), c.start);
  EXPECT_EQ(dialog.Edit3->text(), c.end);
  dialog.Button1Click();
  EXPECT_EQ(dialog.result(), 1);
  EXPECT_EQ(dialog.ForText, c.joined);
}

INSTANTIATE_TEST_SUITE_P(
    LoopTexts, SplitAndJoin,
    testing::Values(
        TSplitCase{"new_loop", "???", "?", "?", "?", "? := ? bis ?"},
        TSplitCase{"plain", "i := 1 bis 10", "i", "1", "10", "i := 1 bis 10"},
        TSplitCase{"end_with_spaces", "k := 0 bis n - 1", "k", "0", "n - 1", "k := 0 bis n - 1"},
        TSplitCase{"variable_with_space", "a b := 1 bis 2", "a", "=", "s 2",
                   "a := = bis s 2"},
        TSplitCase{"all_empty", " :=  bis ", "", "", "", " :=  bis "},
        TSplitCase{"windows1252", "z\xE4hler := 1 bis 9", QStringLiteral("zähler"), "1", "9",
                   "z\xE4hler := 1 bis 9"},
        TSplitCase{"empty_text", "", "", "", "", " :=  bis "}),
    [](const testing::TestParamInfo<TSplitCase>& info) { return std::string(info.param.name); });

TEST(TForm3Layout, CaptionControlsAndTabOrder) {
  TForm3 dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zählschleife"));
  struct TControl {
    QWidget* widget;
    const char* name;
    QRect rect;
  };
  const TControl controls[] = {
      {dialog.Label1, "Label1", QRect(14, 21, 58, 13)},
      {dialog.Edit1, "Edit1", QRect(80, 16, 33, 21)},
      {dialog.Label2, "Label2", QRect(128, 19, 18, 13)},
      {dialog.Edit2, "Edit2", QRect(152, 16, 33, 21)},
      {dialog.Label3, "Label3", QRect(197, 20, 13, 13)},
      {dialog.Edit3, "Edit3", QRect(216, 16, 33, 21)},
      {dialog.Button1, "Button1", QRect(40, 56, 75, 25)},
      {dialog.Button2, "Button2", QRect(160, 56, 75, 25)},
  };
  for (const TControl& c : controls) {
    EXPECT_EQ(c.widget->objectName(), QLatin1String(c.name));
    EXPECT_EQ(c.widget->geometry(), c.rect) << c.name;
  }
  EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Zählvariable"));
  EXPECT_EQ(dialog.Label2->text(), QStringLiteral("von"));
  EXPECT_EQ(dialog.Label3->text(), QStringLiteral("bis"));
  EXPECT_EQ(dialog.Button1->text(), QStringLiteral("Ok"));
  EXPECT_EQ(dialog.Button2->text(), QStringLiteral("Abbrechen"));
  EXPECT_TRUE(dialog.Button1->isDefault());

  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_EQ(dialog.frameGeometry().size(), QSize(285, 121));
  EXPECT_EQ(dialog.frameGeometry().topLeft(), QPoint(466, 117));
  dialog.Edit1->setFocus();
  ASSERT_TRUE(WaitFor([&] { return dialog.Edit1->hasFocus(); }));
  QWidget* expected[] = {dialog.Edit2, dialog.Edit3, dialog.Button1, dialog.Button2,
                         dialog.Edit1};
  for (QWidget* next : expected) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(WaitFor([&] { return next->hasFocus(); })) << next->objectName().toStdString();
  }
  dialog.hide();
}

// Runs the dialog modally on text; act is called once it shows and must end it.
int RunModal(TForm3& dialog, const TText& text, const std::function<void()>& act) {
  dialog.SplitForText(text);
  QTimer::singleShot(0, &dialog, [&] {
    if (!QTest::qWaitForWindowExposed(&dialog)) return dialog.done(99);
    act();
    // A key that did not end the dialog must fail the test, not hang it.
    if (!WaitFor([&] { return !dialog.isVisible(); })) dialog.done(99);
  });
  return dialog.ShowModal();
}

TEST(TForm3Modal, EnterInAnyFieldIsOk) {
  TForm3 dialog;
  for (QLineEdit* field : {dialog.Edit1, dialog.Edit2, dialog.Edit3}) {
    const int result = RunModal(dialog, "i := 1 bis 10", [&] {
      field->setFocus();
      field->setText(field->text() + QStringLiteral("x"));
      QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(result, TForm3::kOk) << field->objectName().toStdString();
  }
  EXPECT_EQ(dialog.ForText, "i := 1 bis 10x");
}

TEST(TForm3Modal, EscapeAndCloseBoxCancelAndKeepTheText) {
  TForm3 dialog;
  for (const TText& text : {TText("???"), TText("i := 1 bis 10")}) {
    int result = RunModal(dialog, text, [&] {
      dialog.Edit2->setText(QStringLiteral("5"));
      QTest::keyClick(dialog.Edit2, Qt::Key_Escape);
    });
    EXPECT_EQ(result, TForm3::kAbbrechen);
    EXPECT_EQ(dialog.ForText, text);

    result = RunModal(dialog, text, [&] {
      dialog.Edit3->setText(QStringLiteral("7"));
      dialog.close();
    });
    EXPECT_EQ(result, TForm3::kAbbrechen);
    EXPECT_EQ(dialog.ForText, text);

    result = RunModal(dialog, text, [&] { QTest::mouseClick(dialog.Button2, Qt::LeftButton); });
    EXPECT_EQ(result, TForm3::kAbbrechen);
    EXPECT_EQ(dialog.ForText, text);
  }
}

TEST(TForm3Modal, OkButtonJoinsTheFields) {
  TForm3 dialog;
  const int result = RunModal(dialog, "???", [&] {
    dialog.Edit1->setText(QStringLiteral("j"));
    dialog.Edit2->setText(QStringLiteral("2"));
    dialog.Edit3->setText(QStringLiteral("n div 2"));
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
  });
  EXPECT_EQ(result, TForm3::kOk);
  EXPECT_EQ(dialog.ForText, "j := 2 bis n div 2");
}

}  // namespace
