// SPDX-License-Identifier: MIT
#include "ui/diagram/tform3.h"

#include "ui/main/outer_geometry.h"
#include "ui/main/text_codec.h"

#include <QEvent>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QRect kOuterGeometry(466, 117, 285, 121);

struct TLabelSpec {
  const char* Name;
  const char* Caption;
  QRect Rect;
  QRect Room; // what a translated caption may take: the gap before its field
};
const TLabelSpec kLabels[] = {
    {"Label1", QT_TRANSLATE_NOOP("TForm3", "Zählvariable"), QRect(14, 21, 58, 13),
     QRect(8, 21, 70, 13)},
    {"Label2", QT_TRANSLATE_NOOP("TForm3", "von"), QRect(128, 19, 18, 13), QRect(116, 19, 34, 13)},
    {"Label3", QT_TRANSLATE_NOOP("TForm3", "bis"), QRect(197, 20, 13, 13), QRect(188, 20, 26, 13)}};

// The German captions keep their places; a translation takes the room before its field, right
// next to it, so that it need not shrink the font.
bool Translated(const TLabelSpec& label) {
  return TForm3::tr(label.Caption) != QString::fromUtf8(label.Caption);
}
QRect RectOf(const TLabelSpec& label) {
  return Translated(label) ? label.Room : label.Rect;
}

// The controls are laid out for "MS Sans Serif" at 11 pixels. Where that face is missing, the
// stand-ins are wider, so the largest size up to 11 pixels at which every caption still fits
// its label is taken.
QFont DialogFont() {
  const QString faces[] = {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                           QStringLiteral("DejaVu Sans")};
  QFont fallback;
  for (const QString& face : faces) {
    for (int pixels = 11; pixels >= 8; --pixels) {
      QFont font(face);
      font.setPixelSize(pixels);
      if (pixels == 11 && face == faces[0] && QFontInfo(font).family() == face)
        return font;
      const QFontMetrics metrics(font);
      bool fits = true;
      for (const TLabelSpec& label : kLabels)
        fits =
            fits && metrics.horizontalAdvance(TForm3::tr(label.Caption)) <= RectOf(label).width();
      if (fits)
        return font;
      fallback = font;
    }
  }
  return fallback;
}

} // namespace

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form3"));

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
  const auto tabled = [&](int i) { return label(kLabels[i].Name, QString(), kLabels[i].Rect); };
  Label1 = tabled(0);
  Edit1 = edit("Edit1", QRect(80, 16, 33, 21));
  Label2 = tabled(1);
  Edit2 = edit("Edit2", QRect(152, 16, 33, 21));
  Label3 = tabled(2);
  Edit3 = edit("Edit3", QRect(216, 16, 33, 21));
  Button1 = button("Button1", QString(), QRect(40, 56, 75, 25));
  Button2 = button("Button2", QString(), QRect(160, 56, 75, 25));
  Retranslate();

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
  while (i < n && text[i] != ' ')
    variable += text[i++];
  i += 4; // " := "
  while (i < n && text[i] != ' ')
    start += text[i++];
  i += 5; // " bis "
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
  ForText = InputToCp1252(Edit1->text()) + " := " + InputToCp1252(Edit2->text()) + " bis " +
            InputToCp1252(Edit3->text());
}

void TForm3::Button2Click() {
  done(kAbbrechen);
}

void TForm3::reject() {
  Button2Click();
}

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  KeepOuterGeometry(*this, kOuterGeometry);
}

void TForm3::Retranslate() {
  setWindowTitle(tr("Zählschleife"));
  setFont(DialogFont());
  QLabel* const labels[] = {Label1, Label2, Label3};
  for (int i = 0; i < 3; ++i) {
    labels[i]->setText(tr(kLabels[i].Caption));
    labels[i]->setGeometry(RectOf(kLabels[i]));
    labels[i]->setAlignment(Translated(kLabels[i]) && i > 0 ? Qt::AlignRight | Qt::AlignVCenter
                                                            : Qt::AlignLeft | Qt::AlignVCenter);
  }
  Button1->setText(tr("Ok"));
  Button2->setText(tr("Abbrechen"));
}

void TForm3::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::LanguageChange)
    Retranslate();
}
