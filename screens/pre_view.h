// TfmPreView (印刷プレビュー): the pages of the print dialog's job, one at a time, scaled to the
// screen and drawn by the same page functions as the printed pages. A button bar and a pop-up menu
// on the paper offer printing (when the caller allows it), zoom, the previous and next page and
// closing. Zoom and the button bar stay as the user left them for the program run; the button bar
// starts from the setting PreViewBtn.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "print/page_model.h"
#include "session/print_rules.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QAction;
class QMenu;
class QScrollArea;
class QToolButton;
class QWidget;

namespace paylark::screens {

// What the preview shows: the sheet count, the printer's page and how to draw a page.
struct PreviewJob {
  int pageCount = 1;
  print::PrinterPage printer;
  std::function<void(print::PageModel& page, int pageNumber)> drawPage;
  // The printed form under the values (the pre-printed payslip form), drawn pale on the screen
  // only; none when empty.
  std::function<void(print::PageModel& page, int pageNumber)> drawFormPicture;
  // Runs the print job; true when printed. Empty: printing is not offered.
  std::function<bool()> print;
};

class TfmPreView : public QDialog {
  Q_OBJECT
 public:
  TfmPreView(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

  // Shows the job modally; Accepted when the user printed, Rejected when closed.
  int Run(const PreviewJob& job);

  int Page() const { return page_; }
  bool Zoomed() const { return zoomed_; }
  bool ButtonBarShown() const { return buttonBar_; }
  // Writes the button bar flag to PreViewBtn (when the main window closes).
  void SaveButtonBar();
  const print::PreviewGeometry& Geometry() const { return geometry_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  class PageImage;
  void BuildForm();
  bool HandleKey(int key);
  void LayOut();
  void RefreshPageCommands();
  void PaintPage(QPainter& painter);
  void ShowPaintError(const std::string& text);

  void sbPrintClick();
  void sbWDispClick();
  void sbBackPageClick();
  void sbNextPageClick();
  void mnDispButtonClick();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  PreviewJob job_;
  int page_ = 1;
  bool zoomed_ = false;
  bool buttonBar_ = true;
  print::PreviewGeometry geometry_;
  print::PageModel pageModel_;
  int errorShownForPage_ = 0;

  QWidget* pnToolBar_ = nullptr;
  QToolButton* sbPrint_ = nullptr;
  QToolButton* sbWDisp_ = nullptr;
  QToolButton* sbBackPage_ = nullptr;
  QToolButton* sbNextPage_ = nullptr;
  QToolButton* sbClose_ = nullptr;
  QScrollArea* scrollBox_ = nullptr;
  QWidget* paperHolder_ = nullptr;
  QWidget* pnPaper_ = nullptr;
  PageImage* pbImage_ = nullptr;
  QMenu* popup_ = nullptr;
  QAction* mnPrint_ = nullptr;
  QAction* mnWDisp_ = nullptr;
  QAction* mnBackPage_ = nullptr;
  QAction* mnNextPage_ = nullptr;
  QAction* mnDispButton_ = nullptr;
  QAction* mnClose_ = nullptr;
};

}  // namespace paylark::screens
