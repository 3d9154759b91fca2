#include "ui/qt_dialog_service.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "ui/notice.h"
#include "ui/qt_text.h"

namespace paylark::ui {

MsgAnswer QtDialogService::Message(MsgKind kind, std::string_view text, MsgButtons buttons) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(kApplicationTitle);
  box.setText(FromMessage(text));
  switch (kind) {
    case MsgKind::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
  }
  QPushButton* ok = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* cancel = nullptr;
  if (buttons == MsgButtons::Ok) {
    ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
  } else if (buttons == MsgButtons::OkCancel) {
    ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
  } else {
    yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    if (buttons == MsgButtons::YesNoCancel) cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel ? cancel : no);
  }
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked != nullptr) {
    if (clicked == ok) return MsgAnswer::Ok;
    if (clicked == yes) return MsgAnswer::Yes;
    if (clicked == no) return MsgAnswer::No;
    if (clicked == cancel) return MsgAnswer::Cancel;
  }
  return buttons == MsgButtons::Ok ? MsgAnswer::Ok : (cancel ? MsgAnswer::Cancel : MsgAnswer::No);
}

void QtDialogService::Beep() { QApplication::beep(); }

void QtDialogService::Notice(std::string_view text, int milliseconds) {
  TfmNotice::ShowFor(FromUtf8(text), milliseconds);
}

std::vector<std::string> QtDialogService::OpenFiles(std::string_view title, std::string_view folder,
                                                    std::string_view filter, bool several) {
  std::vector<std::string> result;
  QWidget* parent = QApplication::activeWindow();
  if (several) {
    for (const QString& f : QFileDialog::getOpenFileNames(parent, FromUtf8(title), FromUtf8(folder), FromUtf8(filter))) {
      result.push_back(f.toStdString());
    }
  } else {
    QString f = QFileDialog::getOpenFileName(parent, FromUtf8(title), FromUtf8(folder), FromUtf8(filter));
    if (!f.isEmpty()) result.push_back(f.toStdString());
  }
  return result;
}

std::optional<std::string> QtDialogService::ChooseFolder(std::string_view title, std::string_view startFolder) {
  QString f = QFileDialog::getExistingDirectory(QApplication::activeWindow(), FromUtf8(title), FromUtf8(startFolder));
  if (f.isEmpty()) return std::nullopt;
  return f.toStdString();
}

std::optional<std::string> QtDialogService::SaveFile(std::string_view title, std::string_view suggested,
                                                     std::string_view filter) {
  const QString f = QFileDialog::getSaveFileName(QApplication::activeWindow(), FromUtf8(title), FromUtf8(suggested),
                                                 FromUtf8(filter), nullptr, QFileDialog::DontConfirmOverwrite);
  if (f.isEmpty()) return std::nullopt;
  return ToUtf8(f);
}

std::optional<std::string> QtDialogService::AskPassword(std::string_view title, std::string_view prompt) {
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), FromUtf8(title), FromUtf8(prompt),
                                             QLineEdit::Password, QString(), &ok);
  if (!ok) return std::nullopt;
  return ToUtf8(text);
}

}  // namespace paylark::ui
