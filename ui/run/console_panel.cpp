// SPDX-License-Identifier: MIT
#include "ui/run/console_panel.h"

#include "ui/main/text_codec.h"
#include "ui/run/run_controller.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {

const QColor kEchoColour(0x00, 0x40, 0xC0);
const QColor kErrorColour(0xC0, 0x00, 0x00);

void Insert(QPlainTextEdit& edit, const QString& text, const QColor& colour = QColor()) {
  QTextCursor cursor(edit.document());
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  if (colour.isValid())
    format.setForeground(colour);
  cursor.insertText(text, format);
}

} // namespace

TConsolePanel::TConsolePanel(TRunController& run, QWidget* parent)
    : QDockWidget(parent), run_(run), output_(new QPlainTextEdit), input_(new QLineEdit),
      end_(new QPushButton) {
  setObjectName(QStringLiteral("EinundAusgabe"));
  output_->setObjectName(QStringLiteral("Ausgabe"));
  input_->setObjectName(QStringLiteral("Eingabe"));
  end_->setObjectName(QStringLiteral("EndederEingabe"));
  output_->setReadOnly(true);
  output_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono(QStringLiteral("DejaVu Sans Mono"));
  mono.setStyleHint(QFont::Monospace);
  output_->setFont(mono);
  auto* body = new QWidget;
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(output_);
  auto* line = new QHBoxLayout;
  line->addWidget(input_);
  line->addWidget(end_);
  layout->addLayout(line);
  setWidget(body);
  Retranslate();
  connect(input_, &QLineEdit::returnPressed, this, &TConsolePanel::Enter);
  connect(end_, &QPushButton::clicked, this, [this] { run_.EndInput(); });
  connect(&run_, &TRunController::RunStarted, this, &TConsolePanel::Rebuild);
  connect(&run_, &TRunController::WentBack, this, &TConsolePanel::Rebuild);
  connect(&run_, &TRunController::Advanced, this, &TConsolePanel::Follow);
  connect(&run_, &TRunController::StateChanged, this, &TConsolePanel::ShowWaiting);
  connect(&run_, &TRunController::InputWanted, this, [this] {
    show();
    raise();
    input_->setFocus();
  });
}

void TConsolePanel::Rebuild() {
  output_->clear();
  shownOutput_ = 0;
  shownEchoes_ = 0;
  errorShown_ = false;
  Follow();
}

void TConsolePanel::Append(std::size_t until) {
  const std::string& text = run_.Output().Text;
  if (until > shownOutput_) {
    Insert(*output_, FromCp1252(text.substr(shownOutput_, until - shownOutput_)));
    shownOutput_ = until;
  }
}

void TConsolePanel::Follow() {
  QScrollBar* bar = output_->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  const std::string& text = run_.Output().Text;
  if (shownOutput_ > text.size())
    return Rebuild();
  // Output and typed lines in the order they came.
  const auto& echoes = run_.Echoes();
  for (; shownEchoes_ < echoes.size(); ++shownEchoes_) {
    const auto& echo = echoes[shownEchoes_];
    if (echo.At > text.size())
      break;
    Append(static_cast<std::size_t>(echo.At));
    Insert(*output_, echo.Line + QLatin1Char('\n'), kEchoColour);
  }
  Append(text.size());
  if (run_.State() == TRunController::TState::Failed && !errorShown_ && run_.Machine()) {
    Insert(*output_,
           (shownOutput_ && text.back() != '\n' ? QStringLiteral("\n") : QString()) +
               QString::fromUtf8(run_.Machine()->Error().c_str()) + QLatin1Char('\n'),
           kErrorColour);
    errorShown_ = true;
  }
  if (atEnd)
    bar->setValue(bar->maximum());
}

void TConsolePanel::Enter() {
  const QString line = input_->text();
  input_->clear();
  run_.EnterInput(line);
  Follow();
}

void TConsolePanel::ShowWaiting() {
  const bool waiting = run_.State() == TRunController::TState::Waiting;
  // A waiting read is hard to miss: the input line is marked.
  input_->setStyleSheet(waiting ? QStringLiteral("QLineEdit { background: #fff0a0; }") : QString());
  end_->setEnabled(run_.Active());
  if (run_.State() == TRunController::TState::Failed)
    Follow();
}

void TConsolePanel::Retranslate() {
  setWindowTitle(tr("Ein- und Ausgabe"));
  end_->setText(tr("Ende der Eingabe"));
  input_->setPlaceholderText(tr("Eingabe für read und readln, mit Enter abschicken"));
  end_->setToolTip(tr("Das Programm liest danach das Ende der Eingabe"));
}

void TConsolePanel::changeEvent(QEvent* event) {
  QDockWidget::changeEvent(event);
  if (event->type() == QEvent::LanguageChange)
    Retranslate();
}
