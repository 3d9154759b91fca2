// TfmMembList (社員一覧リスト): the employees of the open period, one line each. In edit mode it
// manages the roster (new employee, modify, delete, roster printing); in the three selection modes
// the user picks the employees for payslip printing, ledger printing or payslip mail, and the
// caller reads the picked slots after ＯＫ.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "session/memb_list_rules.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QCheckBox;
class QHeaderView;
class QLabel;
class QListWidget;
class QPushButton;
class QStatusBar;
class QToolButton;
class QWidget;

namespace paylark::screens {

class TfmMembEdit;

class TfmMembList : public QDialog {
  Q_OBJECT
 public:
  // The height the window is designed for (its width follows from the header) and the most it
  // may grow to; it is never smaller and its width never changes.
  static constexpr int kDesignHeight = 480;
  static constexpr int kMaxHeight = 1200;

  TfmMembList(ui::ProgramState& state, ui::DialogService& dialogs, TfmMembEdit& editor, QWidget* parent = nullptr);
  ~TfmMembList() override;

  // Configure before showing (0 edit, 1 payslips, 2 ledger, 3 mail).
  void SetMode(MembListMode mode) { mode_ = mode; }
  MembListMode Mode() const { return mode_; }
  // Configures and shows modally; true when a selection mode ended with ＯＫ.
  bool Run(MembListMode mode);

  // After ＯＫ in a selection mode: the picked slots and their lines, in list order.
  const std::vector<int>& SelectedSlots() const { return selectedSlots_; }
  std::vector<std::string> SelectedLines() const;

  // The print dialog for the roster (caption, report code); the roster button is enabled once
  // this is set.
  std::function<void(const std::string& caption, int reportCode)> openPrintDialog;

  int DesignWidth() const { return designWidth_; }
  // Writes the window size to the settings file (Window/MembList_X, MembList_Y).
  void SaveSize();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class LineDelegate;
  void BuildForm();
  void FormActivate();
  void Fill(MembListOrder order);
  void UpdateButtons();
  bool ShowRetired() const;
  int CurrentSlot() const;
  void RememberPosition();
  void RestorePosition();
  void RunSelectAll();
  void SetAllOnOffCaption(bool selectsAll);
  void SetCurrentRow(int row);
  void DropLinesWithoutMail();

  void sbNewEnterClick();
  void sbModifyClick();
  void sbDeleteClick();
  void sbPrintClick();
  void sbResetPremiumsClick();  // every active employee's premiums from the grade
  void bbOkClick();
  void sbAllOnOffClick();
  void HeadCtrlSectionClick(int section);
  void cbTaisyokuClick();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmMembEdit& editor_;
  MembListMode mode_ = MembListMode::Edit;
  MembListOrder order_ = MembListOrder::Slot;
  std::vector<int> slots_;  // slot of each line
  std::vector<int> selectedSlots_;
  bool allOnOffSelects_ = true;  // caption "全て選択"
  int rememberedRow_ = -1;
  int rememberedTop_ = 0;
  int designWidth_ = 0;

  QHeaderView* headCtrl_ = nullptr;
  QListWidget* listBox_ = nullptr;
  QWidget* pnEdit_ = nullptr;
  QWidget* pnSelect_ = nullptr;
  QStatusBar* stsBar_ = nullptr;
  QLabel* lbMsg_ = nullptr;
  QToolButton* sbNewEnter_ = nullptr;
  QToolButton* sbModify_ = nullptr;
  QToolButton* sbDelete_ = nullptr;
  QToolButton* sbPrint_ = nullptr;
  QToolButton* sbResetPremiums_ = nullptr;
  QPushButton* bbClose_ = nullptr;
  QCheckBox* cbTaisyoku2_ = nullptr;
  QToolButton* sbAllOnOff_ = nullptr;
  QPushButton* bbOk_ = nullptr;
  QPushButton* btCancel_ = nullptr;
  QCheckBox* cbTaisyoku1_ = nullptr;
};

}  // namespace paylark::screens
