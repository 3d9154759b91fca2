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
  setStyleSheet(QStringLiteral("TfmNotice { border: 2px solid #5a7fa8; background: #f4f8fc; }"));
}

void TfmNotice::SetText(const QString& text) { lbMessage_->setText(text); }

void TfmNotice::ShowFor(const QString& text, int milliseconds) {
  TfmNotice notice(QApplication::activeWindow());
  notice.SetText(text);
  QTimer::singleShot(milliseconds, &notice, &QDialog::accept);
  notice.exec();
}

}  // namespace paylark::ui
