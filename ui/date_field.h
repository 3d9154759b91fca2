// The payment date of payslips as the print and mail screens take it: three fields of two
// characters (year, month, day) that accept digits and blanks only, laid over the blanks of the
// era label "令和    年    月    日".
#pragma once

#include <QWidget>

#include "print/report_source.h"
#include "store/era.h"
#include "store/options.h"
#include "ui/dialog_service.h"
#include "ui/entry_fields.h"

class QLabel;

namespace paylark::print {

class DateField : public ui::TypedEdit {
  Q_OBJECT
 public:
  DateField(ui::DialogService& dialogs, const Options& options, QWidget* parent = nullptr);
};

// The row pnPrnDate: the era label lbNengappi1 with edPrnDateYY, edPrnDateMM and edPrnDateDD.
class PayDateRow : public QWidget {
  Q_OBJECT
 public:
  PayDateRow(ui::DialogService& dialogs, const Options& options, QWidget* parent = nullptr);

  // The era label of today's date, with the fields laid over its blanks.
  void ShowEra(const CivilDate& today);
  PayDateFields Fields() const;
  void SetFields(const PayDateFields& fields);

 private:
  QLabel* lbNengappi1_;
  DateField* fields_[3];
};

}  // namespace paylark::print
