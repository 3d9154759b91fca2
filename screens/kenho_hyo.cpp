#include "screens/kenho_hyo.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "session/kenho_hyo_rules.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

// Column widths of a list line in half-width places: "報 酬 月 額" spans the lower and upper
// bounds, "標準報酬" the standard amount after the two blanks.
constexpr int kBoundsColumns = 31;
constexpr int kGapColumns = 2;
constexpr int kStandardColumns = 11;
constexpr int kVisibleLines = 16;

}  // namespace

TfmKenhoHyo::TfmKenhoHyo(ui::ProgramState& state, QWidget* parent) : QDialog(parent), state_(state) {
  setObjectName("TfmKenhoHyo");
  setWindowTitle(QStringLiteral("健康保険等級表"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  const QFont fixed = ui::GothicFont(10);
  const QFontMetrics metrics(fixed);
  const int column = metrics.horizontalAdvance(QLatin1Char(' '));

  list_ = new QListWidget(this);
  list_->setObjectName("ListBox");
  list_->setFont(fixed);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setUniformItemSizes(true);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const int frame = list_->frameWidth();
  const int itemMargin = 2 * column;  // room for the item's own padding
  list_->setFixedWidth(2 * frame + itemMargin + column * (kBoundsColumns + kGapColumns + kStandardColumns) +
                       list_->verticalScrollBar()->sizeHint().width());
  list_->setMinimumHeight(2 * frame + kVisibleLines * (metrics.height() + 2));
  list_->installEventFilter(this);

  auto* boundsHeading = new QLabel(QStringLiteral("報 酬 月 額"), this);
  auto* standardHeading = new QLabel(QStringLiteral("標準報酬"), this);
  for (QLabel* heading : {boundsHeading, standardHeading}) {
    heading->setFont(fixed);
    heading->setAlignment(Qt::AlignCenter);
    heading->setFrameShape(QFrame::StyledPanel);
  }
  boundsHeading->setFixedWidth(column * (kBoundsColumns + 1));
  standardHeading->setFixedWidth(column * (kStandardColumns + kGapColumns));
  auto* headings = new QHBoxLayout;
  headings->setSpacing(0);
  headings->setContentsMargins(frame + column / 2, 0, 0, 0);
  headings->addWidget(boundsHeading);
  headings->addWidget(standardHeading);
  headings->addStretch();

  selected_ = new QLabel(this);
  selected_->setObjectName("lbSelToKyu");
  selected_->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("選択等級：88等級")) + column);

  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName("bbOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("bbCancel");
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(selected_);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(headings);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowSelectedGrade(); });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Confirm(); });
  connect(ok, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfmKenhoHyo::BuildListOnce() {
  if (built_) return;
  built_ = true;
  const int grades = state_.tables.GradeCount();
  for (int g = 1; g <= grades; ++g) {
    list_->addItem(ui::FromUtf8(GradeListLine(state_.tables.HealthGrade(g))));
  }
}

void TfmKenhoHyo::ShowSelectedGrade() {
  const int row = list_->currentRow();
  selected_->setText(row < 0 ? QString() : QStringLiteral("選択等級：%1等級").arg(row + 1));
}

void TfmKenhoHyo::Confirm() {
  const int row = list_->currentRow();
  if (row < 0) {  // an empty table: nothing to choose
    reject();
    return;
  }
  state_.selectedGrade = row + 1;
  accept();
}

bool TfmKenhoHyo::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Confirm();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool TfmKenhoHyo::Choose(QWidget* over) {
  BuildListOnce();
  const int count = list_->count();
  if (count > 0) {
    const int grade = state_.selectedGrade;
    const int row = grade >= 1 && grade <= count ? grade - 1 : 0;
    list_->setCurrentRow(row);
    list_->scrollToItem(list_->item(row), QAbstractItemView::PositionAtCenter);
  }
  ShowSelectedGrade();
  adjustSize();
  if (over) {
    const QPoint centre = over->isWindow() ? over->frameGeometry().center() : over->mapToGlobal(over->rect().center());
    move(centre - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
  list_->setFocus();
  return exec() == QDialog::Accepted;
}

}  // namespace paylark::screens
