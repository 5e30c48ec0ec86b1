// SPDX-License-Identifier: MIT
#include "ui/diagram/tform3.h"

#include "ui/main/outer_geometry.h"
#include "ui/main/text_codec.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QRect kOuterGeometry(466, 117, 285, 121);

}  // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("Zählschleife"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(11);
  setFont(font);

  const auto label = [this](const char* name, const QString& caption, QRect rect) {
    auto* l = new QLabel(caption, this);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(rect);
    return l;
  };
  const auto edit = [this](const char* name, QRect rect) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(rect);
    return e;
  };
  const auto button = [this](const char* name, const QString& caption, QRect rect) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(rect);
    return b;
  };
  Label1 = label("Label1", QStringLiteral("Zählvariable"), QRect(14, 21, 58, 13));
  Edit1 = edit("Edit1", QRect(80, 16, 33, 21));
  Label2 = label("Label2", QStringLiteral("von"), QRect(128, 19, 18, 13));
  Edit2 = edit("Edit2", QRect(152, 16, 33, 21));
  Label3 = label("Label3", QStringLiteral("bis"), QRect(197, 20, 13, 13));
  Edit3 = edit("Edit3", QRect(216, 16, 33, 21));
  Button1 = button("Button1", QStringLiteral("Ok"), QRect(40, 56, 75, 25));
  Button2 = button("Button2", QStringLiteral("Abbrechen"), QRect(160, 56, 75, 25));

  // Enter in any field presses the default button; QDialog routes Esc through reject().
  Button1->setDefault(true);
  Button1->setAutoDefault(false);
  Button2->setAutoDefault(false);
  for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                     static_cast<QWidget*>(Label3)})
    w->setFocusPolicy(Qt::NoFocus);
  setTabOrder(Edit1, Edit2);
  setTabOrder(Edit2, Edit3);
  setTabOrder(Edit3, Button1);
  setTabOrder(Button1, Button2);

  connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
  connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

  SetOuterGeometry(*this, kOuterGeometry);
  setModal(true);
}

void TForm3::SplitForText(const TText& text) {
  ForText = text;
  if (text == "???") {
    Edit1->setText(QStringLiteral("?"));
    Edit2->setText(QStringLiteral("?"));
    Edit3->setText(QStringLiteral("?"));
    return;
  }
  // The variable and the start value end at the first space; the end value is the rest.
  std::size_t i = 0;
  const std::size_t n = text.size();
  std::string variable, start;
  while (i < n && text[i] != ' ') variable += text[i++];
  i += 4;  // " := "
  while (i < n && text[i] != ' ') start += text[i++];
  i += 5;  // " bis "
  const std::string end = i < n ? text.substr(i) : std::string();
  Edit1->setText(FromCp1252(variable));
  Edit2->setText(FromCp1252(start));
  Edit3->setText(FromCp1252(end));
}

int TForm3::ShowModal() {
  Edit1->setFocus();
  return exec();
}

void TForm3::Button1Click() {
  done(kOk);
  ForText = ToCp1252(Edit1->text()) + " := " + ToCp1252(Edit2->text()) + " bis " +
            ToCp1252(Edit3->text());
}

void TForm3::Button2Click() { done(kAbbrechen); }

void TForm3::reject() { Button2Click(); }

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SetOuterGeometry(*this, kOuterGeometry);
}
