#include "screens/calc_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/fonts.h"

namespace paylark::screens {
namespace {

struct FunctionKey {
  int code;
  const char* name;
  const char* caption;
};
// In the order of TfmCalc::functions_.
constexpr FunctionKey kFunctionKeys[] = {
    {kCalcPoint, "sbTen", " ．"},      {kCalcPlus, "sbPlus", "＋"},  {kCalcMinus, "sbMinus", "－"},
    {kCalcMultiply, "sbMulti", "×"},  {kCalcDivide, "sbDivide", "÷"}, {kCalcEquals, "sbCalc", "＝"},
    {kCalcPercent, "sbPer", "％"},     {kCalcClear, "sbClear", "Ｃ"},
};
constexpr const char* kDigitCaptions[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

constexpr int kPressedMilliseconds = 100;

// The calculator key a keyboard key stands for; -1 for none.
int KeyCode(const QKeyEvent* event) {
  const int key = event->key();
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kCalcEquals;
    case Qt::Key_Escape: return kCalcClear;
    case Qt::Key_Asterisk: return kCalcMultiply;
    case Qt::Key_Plus: return kCalcPlus;
    case Qt::Key_Minus: return kCalcMinus;
    case Qt::Key_Period: return kCalcPoint;
    case Qt::Key_Slash: return kCalcDivide;
    default: return -1;
  }
}

QToolButton* MakeKey(QWidget* parent, const char* name, const char* caption, const QSize& size) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setText(QString::fromUtf8(caption));
  button->setFocusPolicy(Qt::NoFocus);
  button->setFont(ui::GothicFont(12));
  button->setMinimumSize(size);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

}  // namespace

TfmCalc::TfmCalc(ui::DialogService& dialogs, QWidget* parent) : QDialog(parent), dialogs_(dialogs) {
  setObjectName("TfmCalc");
  setWindowTitle(QStringLiteral("簡易電卓"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  setFocusPolicy(Qt::StrongFocus);

  display_ = new QLabel(this);
  display_->setObjectName("pnDisp");
  display_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  display_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  display_->setFont(ui::GothicFont(14));
  display_->setAutoFillBackground(true);
  QPalette palette = display_->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  display_->setPalette(palette);
  display_->setMargin(4);
  display_->setMinimumHeight(QFontMetrics(display_->font()).height() + 14);

  const QSize keySize(44, 34);
  for (int d = 0; d <= 9; ++d) {
    const QByteArray name = "sbNum" + QByteArray::number(d);
    digits_[static_cast<std::size_t>(d)] = MakeKey(this, name.constData(), kDigitCaptions[d], keySize);
    connect(digits_[static_cast<std::size_t>(d)], &QAbstractButton::clicked, this, [this, d] { Press(d); });
  }
  for (std::size_t i = 0; i < functions_.size(); ++i) {
    const FunctionKey& key = kFunctionKeys[i];
    functions_[i] = MakeKey(this, key.name, key.caption, keySize);
    const int code = key.code;
    connect(functions_[i], &QAbstractButton::clicked, this, [this, code] { Press(code); });
  }

  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("btOk");
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("btCancel");
  for (QPushButton* button : {ok, cancel}) {
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
  }
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  //   Ｃ  ％  ÷  ×
  //   ７  ８  ９  －
  //   ４  ５  ６  ＋
  //   １  ２  ３  ＝
  //   ０  ０  ．  ＝
  auto* keys = new QGridLayout;
  keys->setSpacing(4);
  keys->addWidget(ButtonFor(kCalcClear), 0, 0);
  keys->addWidget(ButtonFor(kCalcPercent), 0, 1);
  keys->addWidget(ButtonFor(kCalcDivide), 0, 2);
  keys->addWidget(ButtonFor(kCalcMultiply), 0, 3);
  const int digitRows[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) keys->addWidget(ButtonFor(digitRows[r][c]), r + 1, c);
  }
  keys->addWidget(ButtonFor(kCalcMinus), 1, 3);
  keys->addWidget(ButtonFor(kCalcPlus), 2, 3);
  keys->addWidget(ButtonFor(kCalcEquals), 3, 3, 2, 1);
  keys->addWidget(ButtonFor(0), 4, 0, 1, 2);
  keys->addWidget(ButtonFor(kCalcPoint), 4, 2);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(display_);
  layout->addLayout(keys);
  layout->addSpacing(4);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  release_.setSingleShot(true);
  release_.setInterval(kPressedMilliseconds);
  connect(&release_, &QTimer::timeout, this, [this] {
    if (shownPressed_) shownPressed_->setDown(false);
    shownPressed_ = nullptr;
  });

  display_->setText(QString::fromStdString(calc_.display));
}

QAbstractButton* TfmCalc::ButtonFor(int code) const {
  if (code >= 0 && code <= 9) return digits_[static_cast<std::size_t>(code)];
  for (std::size_t i = 0; i < functions_.size(); ++i) {
    if (kFunctionKeys[i].code == code) return functions_[i];
  }
  return nullptr;
}

void TfmCalc::Press(int code) {
  if (!CalcPress(calc_, code)) dialogs_.Beep();
  display_->setText(QString::fromStdString(calc_.display));
}

void TfmCalc::PressFromKeyboard(int code) {
  if (shownPressed_) shownPressed_->setDown(false);
  shownPressed_ = ButtonFor(code);
  if (shownPressed_) shownPressed_->setDown(true);
  release_.start();
  Press(code);
}

void TfmCalc::keyPressEvent(QKeyEvent* event) {
  const int code = KeyCode(event);
  if (code >= 0 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    // Esc clears what was typed; on a calculator with nothing to clear it closes, as ｷｬﾝｾﾙ does.
    if (event->key() == Qt::Key_Escape && calc_.a.empty() && calc_.b.empty() && calc_.op == 0 && !calc_.error &&
        calc_.newNumber && calc_.display == "0.") {
      reject();
      return;
    }
    PressFromKeyboard(code);
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TfmCalc::Run() {
  CalcClear(calc_);
  display_->setText(QString::fromStdString(calc_.display));
  adjustSize();
  if (placed_) {
    move(lastPosition_);
  } else if (QWidget* over = parentWidget() ? parentWidget()->window() : nullptr) {
    move(over->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  } else if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }
  setFocus();
  const bool ok = exec() == QDialog::Accepted;
  lastPosition_ = pos();
  placed_ = true;
  return ok;
}

long double TfmCalc::Value() const { return calc_.value; }

}  // namespace paylark::screens
