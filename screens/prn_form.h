// TfmPrnFormK (給与明細書印刷項目の設定) and TfmPrnFormS (賞与明細書印刷項目の設定): which items a payslip
// and the payroll sheet show, and in which order, for each pay form. One grid per block (勤怠 for
// salary only, 支給, 控除, その他); a click on a name switches its row on or off for the pay form of
// the selected tab, a drag by the row's handle moves the row within its block. The dialog edits a
// copy read from the settings file when it is shown; OK writes it and hands it to the program
// state, Cancel drops it.
#pragma once

#include <QDialog>
#include <memory>

#include "store/item_settings.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

namespace paylark::screens {

class TfmPrnForm : public QDialog {
  Q_OBJECT
 public:
  TfmPrnForm(ItemKind kind, ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);
  ~TfmPrnForm() override;

  ItemKind Kind() const;
  // Shows the dialog modally; true when closed with OK (settings written, state updated). In
  // first-run mode (state.firstRun) false means the user chose to end the program.
  bool Run();

 signals:
  // After OK: the item settings of `kind` and their derived lists are in the program state; the
  // payroll sheet is rebuilt from them.
  void ItemsChanged(paylark::ItemKind kind);

 public slots:
  // Cancel, Escape and the window's close button: in first-run mode only after the user agreed
  // to end the program.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FormShow();
  void StrGridClick(ItemBlock block, int row, int column);
  void sbDefaultClick();
  void bbOkClick();
  void Refresh();

  struct Private;
  std::unique_ptr<Private> d_;
};

// 給与明細書印刷項目の設定.
class TfmPrnFormK : public TfmPrnForm {
  Q_OBJECT
 public:
  TfmPrnFormK(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr)
      : TfmPrnForm(ItemKind::Salary, state, dialogs, parent) {}
};

// 賞与明細書印刷項目の設定.
class TfmPrnFormS : public TfmPrnForm {
  Q_OBJECT
 public:
  TfmPrnFormS(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr)
      : TfmPrnForm(ItemKind::Bonus, state, dialogs, parent) {}
};

}  // namespace paylark::screens
