#include "screens/prn_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>
#include <system_error>

#include "store/item_settings_edit.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/colours.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

using ui::FromUtf8;

const QColor kHandle(0, 128, 128);        // teal drag handle
const QColor kHandleTarget(0, 0, 128);    // the handle of the row a drag would land on
const QColor& kUnusedBack = ui::kDisabledItemColour;  // items not printed for the pay form
const QColor kUnusedText(128, 128, 128);

constexpr const char* kDefaultQuestion = "項目使用有無と順序の変更を初期状態に戻します。";
constexpr const char* kFirstRunCancel = "初期設定を中止し、プログラムを終了して宜しいですか？";
constexpr const char* kFirstRunSalary = "給与明細書に印刷する項目を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
constexpr const char* kFirstRunBonus = "賞与明細書に印刷する項目を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）";

constexpr std::array<const char*, 4> kGridNames{"sgKintai", "sgSikyu", "sgKoujo", "sgSonota"};
constexpr std::array<const char*, 4> kGridCaptions{"勤　怠", "支　給", "控　除", "その他"};
constexpr std::array<const char*, kPayFormCount> kTabNames{"tsGekkyu", "tsNikkyu", "tsJikan"};
constexpr std::array<const char*, kPayFormCount> kTabCaptions{"月 給", "日 給", "時間給"};

QLabel* Swatch(const QColor& colour, QWidget* parent) {
  auto* swatch = new QLabel(parent);
  swatch->setFixedSize(28, 14);
  swatch->setAutoFillBackground(true);
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, colour);
  swatch->setPalette(p);
  swatch->setFrameShape(QFrame::Box);
  return swatch;
}

}  // namespace

struct TfmPrnForm::Private {
  Private(ItemKind k, ui::ProgramState& s, ui::DialogService& d)
      : kind(k), state(s), dialogs(d), items(DefaultItemSettings(k)) {}

  ItemKind kind;
  ui::ProgramState& state;
  ui::DialogService& dialogs;
  ItemSettings items;  // the copy being edited

  std::array<QTableWidget*, 4> grids{};  // by ItemBlock; no attendance grid for a bonus
  QTabWidget* tabs = nullptr;
  std::array<QWidget*, kPayFormCount> pages{};
  QWidget* panel = nullptr;  // the grids, shown on the selected tab's page

  // A drag by a handle: its grid, the row it started on and the row it would land on.
  QTableWidget* dragGrid = nullptr;
  int dragFrom = -1;
  int dragTarget = -1;

  int PayForm() const { return tabs->currentIndex() + 1; }
  ItemBlock BlockOf(const QObject* viewport) const {
    for (int b = 0; b < 4; ++b) {
      if (grids[b] && grids[b]->viewport() == viewport) return static_cast<ItemBlock>(b);
    }
    return ItemBlock::Kintai;
  }
  QTableWidget* GridOf(const QObject* viewport) const {
    for (QTableWidget* g : grids) {
      if (g && g->viewport() == viewport) return g;
    }
    return nullptr;
  }
};

TfmPrnForm::TfmPrnForm(ItemKind kind, ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), d_(std::make_unique<Private>(kind, state, dialogs)) {
  Private& d = *d_;
  const bool salary = kind == ItemKind::Salary;
  setObjectName(salary ? QStringLiteral("TfmPrnFormK") : QStringLiteral("TfmPrnFormS"));
  setWindowTitle(salary ? QStringLiteral("給与明細書印刷項目の設定") : QStringLiteral("賞与明細書印刷項目の設定"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  d.tabs = new QTabWidget(this);
  d.tabs->setObjectName(QStringLiteral("pcKeitai"));
  for (int t = 0; t < kPayFormCount; ++t) {
    d.pages[t] = new QWidget(d.tabs);
    d.pages[t]->setObjectName(QString::fromLatin1(kTabNames[t]));
    new QVBoxLayout(d.pages[t]);
    d.tabs->addTab(d.pages[t], FromUtf8(kTabCaptions[t]));
  }

  d.panel = new QWidget(d.pages[0]);
  auto* panelBox = new QVBoxLayout(d.panel);
  panelBox->setContentsMargins(0, 0, 0, 0);
  auto* gridRow = new QHBoxLayout;
  gridRow->setSpacing(10);
  const QFontMetrics metrics(font());
  const int rowHeight = metrics.height() + 4;
  const int handleWidth = metrics.horizontalAdvance(QStringLiteral("00")) + 8;
  const int nameWidth = metrics.horizontalAdvance(QStringLiteral("固定手当固定手当")) + 12;
  for (int b = 0; b < 4; ++b) {
    const ItemBlock block = static_cast<ItemBlock>(b);
    if (d.items.Block(block).empty()) continue;  // a bonus has no attendance
    const int rows = static_cast<int>(d.items.Block(block).size());
    auto* grid = new QTableWidget(rows, 2, d.panel);
    grid->setObjectName(QString::fromLatin1(kGridNames[b]));
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->setColumnWidth(0, handleWidth);
    grid->setColumnWidth(1, nameWidth);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedSize(handleWidth + nameWidth + 2 * grid->frameWidth(), rows * rowHeight + 2 * grid->frameWidth());
    for (int r = 0; r < rows; ++r) {
      auto* handle = new QTableWidgetItem(QString::number(r + 1));
      handle->setTextAlignment(Qt::AlignCenter);
      handle->setForeground(Qt::white);
      handle->setFlags(Qt::ItemIsEnabled);
      grid->setItem(r, 0, handle);
      auto* name = new QTableWidgetItem;
      name->setFlags(Qt::ItemIsEnabled);
      grid->setItem(r, 1, name);
    }
    grid->viewport()->installEventFilter(this);
    connect(grid, &QTableWidget::cellClicked, this,
            [this, block](int row, int column) { StrGridClick(block, row, column); });
    d.grids[b] = grid;

    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    auto* caption = new QLabel(FromUtf8(kGridCaptions[b]), d.panel);
    caption->setAlignment(Qt::AlignCenter);
    column->addWidget(caption);
    column->addWidget(grid);
    column->addStretch(1);
    gridRow->addLayout(column);
  }
  panelBox->addLayout(gridRow);
  d.pages[0]->layout()->addWidget(d.panel);

  auto* legend = new QGridLayout;
  legend->setHorizontalSpacing(6);
  legend->addWidget(Swatch(kUnusedBack, this), 0, 0);
  auto* legendUnused = new QLabel(QStringLiteral("未使用項目(項目名をクリックで切替)"), this);
  legendUnused->setObjectName(QStringLiteral("lbUnused"));
  legend->addWidget(legendUnused, 0, 1);
  legend->addWidget(Swatch(kHandle, this), 1, 0);
  auto* legendDrag = new QLabel(QStringLiteral("をドラッグすると項目位置の入替"), this);
  legendDrag->setObjectName(QStringLiteral("lbDrag"));
  legend->addWidget(legendDrag, 1, 1);
  legend->setColumnStretch(2, 1);

  auto* byDefault = new QToolButton(this);
  byDefault->setObjectName(QStringLiteral("sbDefault"));
  byDefault->setText(QStringLiteral("ﾃﾞﾌｫﾙﾄ"));
  byDefault->setMinimumWidth(80);
  auto* ok = new QPushButton(QStringLiteral("ＯＫ"), this);
  ok->setObjectName(QStringLiteral("bbOk"));
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("bbCancel"));
  for (QPushButton* b : {ok, cancel}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(88);
  }

  auto* bottom = new QHBoxLayout;
  bottom->addLayout(legend, 1);
  bottom->addWidget(byDefault, 0, Qt::AlignBottom);
  bottom->addSpacing(16);
  bottom->addWidget(ok, 0, Qt::AlignBottom);
  bottom->addWidget(cancel, 0, Qt::AlignBottom);

  auto* top = new QVBoxLayout(this);
  top->addWidget(d.tabs);
  top->addLayout(bottom);
  top->setSizeConstraint(QLayout::SetFixedSize);

  connect(d.tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index < 0) return;
    d_->pages[index]->layout()->addWidget(d_->panel);
    d_->panel->show();
    Refresh();
  });
  connect(byDefault, &QToolButton::clicked, this, [this] { sbDefaultClick(); });
  connect(ok, &QPushButton::clicked, this, [this] { bbOkClick(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });
}

TfmPrnForm::~TfmPrnForm() = default;

ItemKind TfmPrnForm::Kind() const { return d_->kind; }

bool TfmPrnForm::Run() { return exec() == QDialog::Accepted; }

void TfmPrnForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TfmPrnForm::FormShow() {
  Private& d = *d_;
  try {
    d.items = LoadItemSettings(d.state.settings, d.kind);
  } catch (const std::system_error& e) {
    d.dialogs.Error(IoErrorText(e.code().value()));
    d.items = d.state.Items(d.kind);
  }
  d.dragGrid = nullptr;
  if (d.tabs->currentIndex() != 0) {
    d.tabs->setCurrentIndex(0);  // refreshes
  } else {
    Refresh();
  }
  if (d.state.firstRun) {
    QTimer::singleShot(0, this, [this] {
      d_->dialogs.Information(d_->kind == ItemKind::Salary ? kFirstRunSalary : kFirstRunBonus);
    });
  }
}

void TfmPrnForm::Refresh() {
  Private& d = *d_;
  const int form = d.PayForm() - 1;
  const QPalette& palette = this->palette();
  for (int b = 0; b < 4; ++b) {
    QTableWidget* grid = d.grids[b];
    if (!grid) continue;
    const std::vector<ItemRow>& rows = d.items.Block(static_cast<ItemBlock>(b));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
      const bool target = grid == d.dragGrid && r == d.dragTarget;
      grid->item(r, 0)->setBackground(target ? kHandleTarget : kHandle);
      QTableWidgetItem* name = grid->item(r, 1);
      name->setText(FromUtf8(ItemDisplayName(rows[r].name, d.state.options)));
      const bool used = rows[r].flags[form];
      name->setBackground(used ? palette.color(QPalette::Base) : kUnusedBack);
      name->setForeground(used ? palette.color(QPalette::Text) : kUnusedText);
    }
  }
}

void TfmPrnForm::StrGridClick(ItemBlock block, int row, int column) {
  if (column != 1) return;
  if (ToggleItemFlag(d_->items, block, row, d_->PayForm())) Refresh();
}

bool TfmPrnForm::eventFilter(QObject* watched, QEvent* event) {
  Private& d = *d_;
  QTableWidget* grid = d.GridOf(watched);
  if (!grid) return QDialog::eventFilter(watched, event);
  const auto rowAt = [grid](const QPoint& pos) {
    const int row = grid->rowAt(pos.y());
    if (row >= 0) return row;
    return pos.y() < 0 ? 0 : grid->rowCount() - 1;
  };
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const QPoint pos = mouse->position().toPoint();
      if (d.dragGrid) {  // a drag whose release never came ends here
        d.dragGrid->viewport()->unsetCursor();
        d.dragGrid = nullptr;
        Refresh();
      }
      if (mouse->button() != Qt::LeftButton || grid->columnAt(pos.x()) != 0 || grid->rowAt(pos.y()) < 0) break;
      d.dragGrid = grid;
      d.dragFrom = d.dragTarget = grid->rowAt(pos.y());
      grid->viewport()->setCursor(Qt::ClosedHandCursor);
      Refresh();
      return true;
    }
    case QEvent::MouseMove: {
      if (d.dragGrid != grid) break;
      const int target = rowAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      if (target != d.dragTarget) {
        d.dragTarget = target;
        Refresh();
      }
      return true;
    }
    case QEvent::MouseButtonRelease: {
      if (d.dragGrid != grid) break;
      const int target = rowAt(static_cast<QMouseEvent*>(event)->position().toPoint());
      grid->viewport()->unsetCursor();
      d.dragGrid = nullptr;
      MoveItemRow(d.items, d.BlockOf(watched), d.dragFrom, target);
      Refresh();
      return true;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void TfmPrnForm::sbDefaultClick() {
  if (!d_->dialogs.Confirm(kDefaultQuestion)) return;
  d_->items = DefaultItemSettings(d_->kind);
  Refresh();
}

void TfmPrnForm::bbOkClick() {
  Private& d = *d_;
  // The file first: when it cannot be written the program keeps its settings and the dialog stays
  // open.
  try {
    SaveItemSettings(d.state.settings, d.items, d.state.options);
  } catch (const std::system_error& e) {
    d.dialogs.Error(IoErrorText(e.code().value()));
    return;
  } catch (const EncodingError&) {
    d.dialogs.Error("項目名に使用できない文字が含まれています。");
    return;
  }
  d.state.SetItemSettings(d.items);  // rebuilds the derived lists
  accept();
  emit ItemsChanged(d.kind);
}

void TfmPrnForm::reject() {
  if (d_->state.firstRun && !d_->dialogs.Confirm(kFirstRunCancel)) return;
  d_->dragGrid = nullptr;
  QDialog::reject();
}

}  // namespace paylark::screens
