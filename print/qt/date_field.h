// The payment date fields of payslips (year, month, day; two characters each): digits and blanks
// only, typed over when InputOverN is on, Enter moves on, Ctrl+Delete empties, input method off.
// Entering a field is signalled so that its screen can select the text after 150 ms.
#pragma once

#include <QLineEdit>
#include <array>

#include "store/options.h"
#include "ui/dialog_service.h"

class QLabel;

namespace paylark::print {

class DateField : public QLineEdit {
  Q_OBJECT
 public:
  DateField(ui::DialogService& dialogs, const Options& options, QWidget* parent = nullptr);

 signals:
  void Entered(DateField* field);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  ui::DialogService& dialogs_;
  const Options& options_;
};

// Lays the three fields over the blanks of the era label ("令和    年    月    日") and sizes the row
// that holds them.
void PlaceDateFields(QLabel& eraLabel, QWidget& row, const std::array<DateField*, 3>& fields);

}  // namespace paylark::print
