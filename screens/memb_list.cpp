#include "screens/memb_list.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "screens/memb_edit.h"
#include "screens/premium_notices.h"
#include "store/app_settings.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

constexpr int kSectionWidths[] = {36, 143, 100, 90, 95, 420};
constexpr int kSortableSections = 4;
const QColor kDimmed(192, 192, 192);
const QColor kOddLine(221, 238, 255);

constexpr const char* kNotSelected = "データが未選択です。";
constexpr const char* kDeleteQuestion = "この登録データを削除します｡";
constexpr const char* kSelectAll = "全て選択";
constexpr const char* kClearAll = "全て解除";
constexpr const char* kRosterCaption = "社員名簿一覧表";
constexpr int kRosterReportCode = 100;

QToolButton* SpeedButton(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(ui::FromUtf8(caption));
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setFocusPolicy(Qt::NoFocus);
  b->setMinimumWidth(84);
  return b;
}

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(ui::FromUtf8(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  b->setMinimumWidth(90);
  return b;
}

QString LbMsgText(MembListMode mode) {
  switch (mode) {
    case MembListMode::Payslips:
      return QStringLiteral("給与/賞与明細書") + QStringLiteral("の印刷対象者をクリックして選択して下さい");
    case MembListMode::Ledger:
      return QStringLiteral("社員別給与台帳") + QStringLiteral("の印刷対象者をクリックして選択して下さい");
    case MembListMode::Mail:
      return QStringLiteral("給与/賞与明細書のメール送信対象者をクリックして選択して下さい");
    case MembListMode::Edit:
      break;
  }
  return QString();
}

}  // namespace

// Draws each line from the left edge in the list's font: white and light blue stripes, grey for
// dimmed lines, the highlight (or light grey when dimmed) for selected ones.
class TfmMembList::LineDelegate : public QStyledItemDelegate {
 public:
  explicit LineDelegate(TfmMembList* list) : QStyledItemDelegate(list), list_(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const int row = index.row();
    const bool dimmed = row < static_cast<int>(list_->slots_.size()) &&
                        LineDimmed(list_->mode_, list_->state_.Period().Employee(list_->slots_[row]), list_->ShowRetired());
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    QColor background = row % 2 == 0 ? QColor(Qt::white) : kOddLine;
    QColor text = dimmed ? kDimmed : palette.color(QPalette::WindowText);
    if (selected) {
      background = dimmed ? kDimmed : palette.color(QPalette::Highlight);
      text = palette.color(QPalette::HighlightedText);
    }
    painter->save();
    painter->fillRect(option.rect, background);
    painter->setPen(text);
    painter->setFont(list_->listBox_->font());
    painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                      index.data(Qt::DisplayRole).toString());
    if (option.state & QStyle::State_HasFocus) {
      QStyleOptionFocusRect focus;
      focus.initFrom(list_->listBox_);
      focus.rect = option.rect;
      focus.backgroundColor = background;
      list_->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, list_->listBox_);
    }
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(QFontMetrics(list_->listBox_->font()).height() + 4);
    return size;
  }

 private:
  TfmMembList* list_;
};

TfmMembList::TfmMembList(ui::ProgramState& state, ui::DialogService& dialogs, TfmMembEdit& editor, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), editor_(editor) {
  setObjectName(QStringLiteral("TfmMembList"));
  setWindowTitle(QStringLiteral("社員一覧リスト"));
  BuildForm();

  int height = kDesignHeight;
  try {
    height = LoadWindowSettings(state_.settings, designWidth_, kDesignHeight).memberListHeight;
  } catch (const std::exception&) {
    // An unreadable settings file leaves the design size.
  }
  setMinimumSize(designWidth_, kDesignHeight);
  setMaximumSize(designWidth_, kMaxHeight);
  resize(designWidth_, std::clamp(height, kDesignHeight, kMaxHeight));
}

TfmMembList::~TfmMembList() = default;

void TfmMembList::BuildForm() {
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(8, 8, 8, 0);
  top->setSpacing(0);

  auto* model = new QStandardItemModel(0, 6, this);
  model->setHorizontalHeaderLabels({QStringLiteral("No"), QStringLiteral("氏　　名"), QStringLiteral("社員区分"),
                                    QStringLiteral("支給形態 "), QStringLiteral("退職年月日"),
                                    QStringLiteral("　　　　　　　　メールアドレス")});
  for (int i = 0; i < kSortableSections; ++i) {
    model->setHeaderData(i, Qt::Horizontal, QStringLiteral("クリックすると並び替え"), Qt::ToolTipRole);
  }
  headCtrl_ = new QHeaderView(Qt::Horizontal, this);
  headCtrl_->setObjectName(QStringLiteral("HeadCtrl"));
  headCtrl_->setModel(model);
  headCtrl_->setStretchLastSection(false);
  headCtrl_->setSectionsClickable(true);
  headCtrl_->setHighlightSections(false);
  headCtrl_->setSortIndicatorShown(false);
  headCtrl_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  int headerWidth = 0;
  for (int i = 0; i < 6; ++i) {
    headCtrl_->setSectionResizeMode(i, i < kSortableSections ? QHeaderView::Fixed : QHeaderView::Interactive);
    headCtrl_->resizeSection(i, kSectionWidths[i]);
    headerWidth += kSectionWidths[i];
  }
  headCtrl_->setFixedHeight(headCtrl_->sizeHint().height());
  headCtrl_->setMouseTracking(true);
  headCtrl_->viewport()->setMouseTracking(true);
  headCtrl_->viewport()->installEventFilter(this);
  connect(headCtrl_, &QHeaderView::sectionClicked, this, [this](int section) { HeadCtrlSectionClick(section); });

  listBox_ = new QListWidget(this);
  listBox_->setObjectName(QStringLiteral("ListBox"));
  QFont font = ui::GothicFont();
  font.setPixelSize(16);
  listBox_->setFont(font);
  listBox_->setItemDelegate(new LineDelegate(this));
  listBox_->setUniformItemSizes(true);
  listBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  listBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  listBox_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  listBox_->installEventFilter(this);
  connect(listBox_, &QListWidget::itemDoubleClicked, this, [this] { bbOkClick(); });
  connect(listBox_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { DropLinesWithoutMail(); });
  const int scrollBar = listBox_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, listBox_);
  const int listWidth = headerWidth + 2 * listBox_->frameWidth() + scrollBar;
  listBox_->setFixedWidth(listWidth);
  headCtrl_->setFixedWidth(listWidth);

  lbMsg_ = new QLabel(this);
  lbMsg_->setObjectName(QStringLiteral("lbMsg"));

  top->addWidget(headCtrl_);
  top->addWidget(listBox_, 1);

  // Edit mode: the roster manager.
  pnEdit_ = new QWidget(this);
  pnEdit_->setObjectName(QStringLiteral("pnEdit"));
  auto* edit = new QHBoxLayout(pnEdit_);
  edit->setContentsMargins(0, 6, 0, 6);
  sbNewEnter_ = SpeedButton("sbNewEnter", "新規作成", pnEdit_);
  sbModify_ = SpeedButton("sbModify", "内容修正", pnEdit_);
  sbDelete_ = SpeedButton("sbDelete", "登録削除", pnEdit_);
  sbPrint_ = SpeedButton("sbPrint", "名簿印刷", pnEdit_);
  sbPrint_->setEnabled(false);
  sbResetPremiums_ = SpeedButton("sbResetPremiums", "保険料再設定", pnEdit_);
  sbResetPremiums_->setToolTip(QStringLiteral("在職中の全社員の保険料を等級表から再設定"));
  cbTaisyoku2_ = new QCheckBox(QStringLiteral("退職者も表示する"), pnEdit_);
  cbTaisyoku2_->setObjectName(QStringLiteral("cbTaisyoku2"));
  bbClose_ = Button("bbClose", "閉じる", pnEdit_);
  for (QToolButton* b : {sbNewEnter_, sbModify_, sbDelete_, sbPrint_, sbResetPremiums_}) edit->addWidget(b);
  edit->addSpacing(16);
  edit->addWidget(cbTaisyoku2_);
  edit->addStretch(1);
  edit->addWidget(bbClose_);
  connect(sbNewEnter_, &QToolButton::clicked, this, [this] { sbNewEnterClick(); });
  connect(sbModify_, &QToolButton::clicked, this, [this] { sbModifyClick(); });
  connect(sbDelete_, &QToolButton::clicked, this, [this] { sbDeleteClick(); });
  connect(sbPrint_, &QToolButton::clicked, this, [this] { sbPrintClick(); });
  connect(sbResetPremiums_, &QToolButton::clicked, this, [this] { sbResetPremiumsClick(); });
  connect(bbClose_, &QPushButton::clicked, this, &QDialog::reject);
  connect(cbTaisyoku2_, &QCheckBox::clicked, this, [this] {
    cbTaisyoku1_->setChecked(cbTaisyoku2_->isChecked());
    cbTaisyokuClick();
  });

  // Selection modes.
  pnSelect_ = new QWidget(this);
  pnSelect_->setObjectName(QStringLiteral("pnSelect"));
  auto* select = new QHBoxLayout(pnSelect_);
  select->setContentsMargins(0, 6, 0, 6);
  sbAllOnOff_ = SpeedButton("sbAllOnOff", kSelectAll, pnSelect_);
  cbTaisyoku1_ = new QCheckBox(QStringLiteral("退職者も表示する"), pnSelect_);
  cbTaisyoku1_->setObjectName(QStringLiteral("cbTaisyoku1"));
  bbOk_ = Button("bbOk", "ＯＫ", pnSelect_);
  btCancel_ = Button("btCancel", "ｷｬﾝｾﾙ", pnSelect_);
  select->addWidget(sbAllOnOff_);
  select->addSpacing(16);
  select->addWidget(cbTaisyoku1_);
  select->addStretch(1);
  select->addWidget(bbOk_);
  select->addWidget(btCancel_);
  connect(sbAllOnOff_, &QToolButton::clicked, this, [this] { sbAllOnOffClick(); });
  connect(cbTaisyoku1_, &QCheckBox::clicked, this, [this] { cbTaisyokuClick(); });
  connect(bbOk_, &QPushButton::clicked, this, [this] { bbOkClick(); });
  connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);

  stsBar_ = new QStatusBar(this);
  stsBar_->setObjectName(QStringLiteral("StsBar"));
  stsBar_->setSizeGripEnabled(true);
  stsBar_->addWidget(lbMsg_, 1);

  top->addWidget(pnEdit_);
  top->addWidget(pnSelect_);
  top->addWidget(stsBar_);

  const QMargins margins = top->contentsMargins();
  designWidth_ = listWidth + margins.left() + margins.right();
}

// ---------------------------------------------------------------------------------------------
// Showing and filling

bool TfmMembList::Run(MembListMode mode) {
  SetMode(mode);
  return exec() == QDialog::Accepted;
}

void TfmMembList::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TfmMembList::FormActivate() {
  const bool editing = mode_ == MembListMode::Edit;
  selectedSlots_.clear();
  cbTaisyoku2_->setChecked(editing);
  cbTaisyoku1_->setChecked(editing);
  pnEdit_->setVisible(editing);
  pnSelect_->setVisible(!editing);
  stsBar_->setVisible(!editing);
  lbMsg_->setVisible(!editing);
  lbMsg_->setText(LbMsgText(mode_));
  listBox_->setSelectionMode(editing ? QAbstractItemView::SingleSelection : QAbstractItemView::MultiSelection);
  SetAllOnOffCaption(true);

  Fill(MembListOrder::Slot);
  UpdateButtons();
  if (!editing) RunSelectAll();
  if (listBox_->count() > 0) {
    listBox_->scrollToTop();
    SetCurrentRow(0);
  }
  listBox_->setFocus(Qt::OtherFocusReason);
  if (editing && state_.firstRun) QTimer::singleShot(0, this, [this] { sbNewEnterClick(); });
}

bool TfmMembList::ShowRetired() const { return cbTaisyoku1_->isChecked(); }

void TfmMembList::Fill(MembListOrder order) {
  order_ = order;
  slots_ = ListedSlots(state_.Period(), order, ShowRetired());
  const QSignalBlocker block(listBox_->selectionModel());
  listBox_->clear();
  const CivilDate today = Today();
  for (int slot : slots_) listBox_->addItem(ui::FromUtf8(MembListLine(slot, state_.Period().Employee(slot), today)));
}

void TfmMembList::UpdateButtons() {
  const int inUse = SlotsInUse(state_.Period());
  sbDelete_->setEnabled(inUse > 0);
  sbNewEnter_->setEnabled(inUse < kSlotCount);
  sbPrint_->setEnabled(static_cast<bool>(openPrintDialog));
}

int TfmMembList::CurrentSlot() const {
  const int row = listBox_->currentRow();
  return row >= 0 && row < static_cast<int>(slots_.size()) ? slots_[row] : 0;
}

void TfmMembList::SetCurrentRow(int row) {
  if (row < 0 || row >= listBox_->count()) return;
  const QModelIndex index = listBox_->model()->index(row, 0);
  // In a selection mode moving the current line must not toggle a selection.
  listBox_->selectionModel()->setCurrentIndex(
      index, mode_ == MembListMode::Edit ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
}

void TfmMembList::RememberPosition() {
  rememberedRow_ = listBox_->currentRow();
  rememberedTop_ = listBox_->verticalScrollBar()->value();
}

void TfmMembList::RestorePosition() {
  if (listBox_->count() == 0) return;
  SetCurrentRow(std::min(rememberedRow_, listBox_->count() - 1));
  listBox_->verticalScrollBar()->setValue(rememberedTop_);
}

void TfmMembList::SetAllOnOffCaption(bool selectsAll) {
  allOnOffSelects_ = selectsAll;
  sbAllOnOff_->setText(ui::FromUtf8(selectsAll ? kSelectAll : kClearAll));
}

void TfmMembList::RunSelectAll() {
  // A single-selection list has no "all": in edit mode the current line stays as it is.
  if (mode_ == MembListMode::Edit) return;
  if (allOnOffSelects_) {
    std::vector<bool> current(slots_.size());
    for (int row = 0; row < listBox_->count(); ++row) current[row] = listBox_->item(row)->isSelected();
    const std::vector<bool> selected = SelectAllLines(state_.Period(), slots_, mode_, ShowRetired(), current);
    for (int row = 0; row < listBox_->count(); ++row) listBox_->item(row)->setSelected(selected[row]);
    SetAllOnOffCaption(false);
  } else {
    listBox_->clearSelection();
    SetAllOnOffCaption(true);
  }
}

void TfmMembList::DropLinesWithoutMail() {
  if (mode_ != MembListMode::Mail) return;
  const QSignalBlocker block(listBox_->selectionModel());
  for (int row = 0; row < listBox_->count(); ++row) {
    QListWidgetItem* item = listBox_->item(row);
    if (item->isSelected() && !HasMailAddress(state_.Period().Employee(slots_[row]))) item->setSelected(false);
  }
  listBox_->viewport()->update();
}

std::vector<std::string> TfmMembList::SelectedLines() const {
  std::vector<std::string> lines;
  for (int slot : selectedSlots_) lines.push_back(MembListLine(slot, state_.Period().Employee(slot)));
  return lines;
}

void TfmMembList::SaveSize() {
  ProfileBatch batch;
  batch.Int("Window", "MembList_X", width());
  batch.Int("Window", "MembList_Y", height());
  state_.settings.Write(batch);
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfmMembList::sbNewEnterClick() {
  RememberPosition();
  if (editor_.EditNew()) {
    Fill(order_);
    RestorePosition();
    UpdateButtons();
  }
  listBox_->setFocus(Qt::OtherFocusReason);
}

void TfmMembList::sbModifyClick() {
  const int slot = CurrentSlot();
  if (slot == 0) {
    dialogs_.Error(kNotSelected);
    return;
  }
  RememberPosition();
  if (editor_.EditSlot(slot)) {
    Fill(order_);
    RestorePosition();
    UpdateButtons();
  }
  listBox_->setFocus(Qt::OtherFocusReason);
}

void TfmMembList::sbDeleteClick() {
  const int slot = CurrentSlot();
  if (slot == 0) {
    dialogs_.Error(kNotSelected);
    return;
  }
  if (!dialogs_.Confirm(kDeleteQuestion)) return;
  DeleteSlot(state_.Period(), slot);
  Fill(order_);
  UpdateButtons();
}

void TfmMembList::sbPrintClick() {
  if (openPrintDialog) openPrintDialog(kRosterCaption, kRosterReportCode);
}

void TfmMembList::sbResetPremiumsClick() {
  if (!dialogs_.Confirm("在職中の全社員の健康･介護･厚生年金保険料、子ども・子育て支援金と\r厚生年金基金の掛け金を、"
                        "等級表から現在の保険料率で再設定します。")) {
    return;
  }
  ResetAllPremiums(state_, dialogs_);
}

void TfmMembList::bbOkClick() {
  int selected = 0;
  for (int row = 0; row < listBox_->count(); ++row) selected += listBox_->item(row)->isSelected() ? 1 : 0;
  if (std::optional<std::string> problem = OkProblem(mode_, selected, CurrentSlot() > 0)) {
    dialogs_.Error(*problem);
    return;
  }
  if (mode_ == MembListMode::Edit) {
    sbModifyClick();
    return;
  }
  selectedSlots_.clear();
  for (int row = 0; row < listBox_->count(); ++row) {
    if (listBox_->item(row)->isSelected()) selectedSlots_.push_back(slots_[row]);
  }
  accept();
}

void TfmMembList::sbAllOnOffClick() { RunSelectAll(); }

void TfmMembList::HeadCtrlSectionClick(int section) {
  if (section < 0 || section >= kSortableSections) return;
  Fill(static_cast<MembListOrder>(section + 1));
  if (listBox_->count() > 0) SetCurrentRow(0);
  RunSelectAll();
}

void TfmMembList::cbTaisyokuClick() {
  Fill(order_);
  RunSelectAll();
}

bool TfmMembList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == headCtrl_->viewport() && event->type() == QEvent::MouseMove) {
    const auto* move = static_cast<QMouseEvent*>(event);
    const int section = headCtrl_->logicalIndexAt(move->position().toPoint());
    headCtrl_->viewport()->setCursor(section >= 0 && section < kSortableSections ? Qt::PointingHandCursor
                                                                                 : Qt::ArrowCursor);
  } else if (watched == listBox_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      reject();
      return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      bbOkClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace paylark::screens
