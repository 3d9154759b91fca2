#include "ui/notice.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace paylark::ui {

TfmNotice::TfmNotice(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("TfmNotice"));
  lbMessage_ = new QLabel(this);
  lbMessage_->setObjectName(QStringLiteral("lbMessage"));
  lbMessage_->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(32, 20, 32, 20);
  layout->addWidget(lbMessage_);
  // Yellow text on blue, as the save notice has always looked.
  setStyleSheet(QStringLiteral("TfmNotice { background: #0000a0; border: 2px solid #000060; }"
                               "QLabel { color: #ffff00; font-weight: bold; }"));
}

void TfmNotice::SetText(const QString& text) { lbMessage_->setText(text); }

void TfmNotice::ShowFor(const QString& text, int milliseconds) {
  QWidget* over = QApplication::activeWindow();
  TfmNotice notice(over);
  notice.SetText(text);
  notice.adjustSize();
  if (over) notice.move(over->geometry().center() - notice.rect().center());  // centred on the window
  QTimer::singleShot(milliseconds, &notice, &QDialog::accept);
  notice.exec();
}

}  // namespace paylark::ui
