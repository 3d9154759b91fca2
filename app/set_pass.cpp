#include "app/set_pass.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <system_error>

#include "store/app_settings.h"
#include "store/password.h"
#include "store/year_file.h"
#include "ui/qt_text.h"

namespace paylark::app {

TfmSetPass::TfmSetPass(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName("TfmSetPass");
  setWindowTitle(QStringLiteral("パスワード設定"));

  auto makeField = [this](const char* name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    // Masked like the start-up prompt: a password shown in clear can be read over the shoulder.
    edit->setEchoMode(QLineEdit::Password);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(20, QChar('M'))));
    return edit;
  };
  pass1_ = makeField("edPass1");
  pass2_ = makeField("edPass2");

  auto* hint = new QLabel(QStringLiteral("（解除する時は未入力のまま｢設定する｣をクリック）"), this);
  hint->setObjectName("lbHint");
  auto* warning = new QLabel(
      QStringLiteral("パスワードを忘れると、プログラムを起動する事が\n出来なくなるので御注意下さい。"), this);
  warning->setObjectName("lbWarning");
  warning->setStyleSheet(QStringLiteral("color: #c00000;"));

  auto* ok = new QPushButton(QStringLiteral("設定する"), this);
  ok->setObjectName("bbOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName("bbCancel");
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, &TfmSetPass::accept);
  pass1_->installEventFilter(this);
  connect(cancel, &QPushButton::clicked, this, &TfmSetPass::reject);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("パスワード設定入力"), this), 0, 0);
  fields->addWidget(pass1_, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("パスワード確認入力"), this), 1, 0);
  fields->addWidget(pass2_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(hint);
  layout->addSpacing(6);
  layout->addWidget(warning);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfmSetPass::eventFilter(QObject* watched, QEvent* event) {
  // Enter in the first field goes on to the confirmation instead of pressing 設定する.
  if (watched == pass1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      pass2_->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool TfmSetPass::Run() {
  pass1_->clear();
  pass2_->clear();
  pass1_->setFocus();
  return exec() == QDialog::Accepted;
}

void TfmSetPass::accept() {
  const std::string password = ui::ToUtf8(pass1_->text());
  if (pass1_->text() != pass2_->text()) {
    dialogs_.Error("パスワードの設定入力と確認入力が異なっています。");
    return;
  }
  const bool removing = password.empty();
  if (!dialogs_.Confirm(removing ? "パスワード設定を解除しますか？" : "パスワードを設定しますか？")) return;
  try {
    SaveStoredPassword(state_.settings, StorePassword(password));
  } catch (const std::system_error& e) {
    dialogs_.Error(IoErrorText(e.code().value()));
    return;
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    return;
  }
  dialogs_.Information(removing ? "パスワード設定を解除しました。" : "パスワードを設定しました。");
  QDialog::accept();
}

}  // namespace paylark::app
