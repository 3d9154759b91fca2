#include "screens/pre_view.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <exception>

#include "print/qt/qt_canvas.h"
#include "store/app_settings.h"
#include "store/year_file.h"
#include "ui/qt_text.h"

namespace paylark::screens {

using ui::FromUtf8;

namespace {

constexpr const char* kCaption = "印刷プレビュー (右クリックでメニュー表示)";
constexpr const char* kZoomIn = "拡大表示";
constexpr const char* kZoomOut = "全体表示";
constexpr int kToolBarHeight = 27;
constexpr int kKeyScroll = 20;
constexpr int kWheelScroll = 10;
const QColor kPaperColour(244, 244, 244);

// The frame of the plain form: shapes and the frame's captions (gothic), not the values (mincho).
class FormFrameCanvas : public print::Canvas {
 public:
  explicit FormFrameCanvas(print::Canvas& inner) : inner_(inner) {}
  void SetPen(int width) override { inner_.SetPen(width); }
  void Line(int x1, int y1, int x2, int y2) override { inner_.Line(x1, y1, x2, y2); }
  void Frame(int x1, int y1, int x2, int y2) override { inner_.Frame(x1, y1, x2, y2); }
  void Fill(int x1, int y1, int x2, int y2, print::Rgb colour) override { inner_.Fill(x1, y1, x2, y2, colour); }
  void Character(int x, int y, const print::DeviceFont& font, std::string_view character) override {
    if (font.face == print::kGothic) inner_.Character(x, y, font, character);
  }

 private:
  print::Canvas& inner_;
};

}  // namespace

class TfmPreView::PageImage : public QWidget {
 public:
  PageImage(TfmPreView& owner, QWidget* parent) : QWidget(parent), owner_(owner) {
    setObjectName("pbImage");
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    owner_.PaintPage(painter);
  }

 private:
  TfmPreView& owner_;
};

TfmPreView::TfmPreView(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs) {
  setObjectName("TfmPreView");
  setWindowTitle(FromUtf8(kCaption));
  buttonBar_ = LoadPreviewButtonBar(state_.settings);
  BuildForm();
}

void TfmPreView::BuildForm() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  pnToolBar_ = new QWidget(this);
  pnToolBar_->setObjectName("pnToolBar");
  pnToolBar_->setFixedHeight(kToolBarHeight);
  auto* bar = new QHBoxLayout(pnToolBar_);
  bar->setContentsMargins(4, 1, 4, 1);
  bar->setSpacing(2);
  auto button = [&](const char* name, const char* caption, void (TfmPreView::*slot)()) {
    auto* b = new QToolButton(pnToolBar_);
    b->setObjectName(name);
    b->setText(FromUtf8(caption));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(true);
    b->setMinimumWidth(76);
    connect(b, &QToolButton::clicked, this, slot);
    bar->addWidget(b);
    return b;
  };
  sbPrint_ = button("sbPrint", "印刷実行", &TfmPreView::sbPrintClick);
  sbWDisp_ = button("sbWDisp", kZoomIn, &TfmPreView::sbWDispClick);
  sbBackPage_ = button("sbBackPage", "前ページ", &TfmPreView::sbBackPageClick);
  sbNextPage_ = button("sbNextPage", "次ページ", &TfmPreView::sbNextPageClick);
  sbClose_ = button("sbClose", "閉じる", &TfmPreView::reject);
  bar->addStretch();
  layout->addWidget(pnToolBar_);

  scrollBox_ = new QScrollArea(this);
  scrollBox_->setObjectName("scrollBox");
  scrollBox_->setFrameShape(QFrame::NoFrame);
  scrollBox_->setFocusPolicy(Qt::NoFocus);
  scrollBox_->setBackgroundRole(QPalette::Dark);
  scrollBox_->setWidgetResizable(false);
  paperHolder_ = new QWidget;
  paperHolder_->setAutoFillBackground(false);
  scrollBox_->setWidget(paperHolder_);
  layout->addWidget(scrollBox_, 1);

  pnPaper_ = new QWidget(paperHolder_);
  pnPaper_->setObjectName("pnPaper");
  pnPaper_->setAutoFillBackground(true);
  QPalette paper = pnPaper_->palette();
  paper.setColor(QPalette::Window, kPaperColour);
  pnPaper_->setPalette(paper);
  pnPaper_->setContextMenuPolicy(Qt::CustomContextMenu);
  pbImage_ = new PageImage(*this, pnPaper_);

  popup_ = new QMenu(this);
  popup_->setObjectName("PopupMenu");
  auto item = [&](const char* name, const char* caption, void (TfmPreView::*slot)()) {
    QAction* a = popup_->addAction(FromUtf8(caption));
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  mnPrint_ = item("mnPrint", "印刷実行(&P)", &TfmPreView::sbPrintClick);
  mnWDisp_ = item("mnWDisp", "拡大して表示する(&W)      Enter", &TfmPreView::sbWDispClick);
  mnWDisp_->setCheckable(true);
  popup_->addSeparator();
  mnBackPage_ = item("mnBackPage", "前ページを表示(&B)         PageDown", &TfmPreView::sbBackPageClick);
  mnNextPage_ = item("mnNextPage", "次ページを表示(&N)         PageUp", &TfmPreView::sbNextPageClick);
  mnBackPage_->setEnabled(false);
  mnNextPage_->setEnabled(false);
  popup_->addSeparator();
  mnDispButton_ = item("mnDispButton", "ボタンを表示する(&D)", &TfmPreView::mnDispButtonClick);
  mnDispButton_->setCheckable(true);
  mnDispButton_->setChecked(buttonBar_);
  popup_->addSeparator();
  mnClose_ = item("mnClose", "閉じる(&C)                    Esc", &TfmPreView::reject);
  connect(pnPaper_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(pnPaper_->mapToGlobal(at)); });

  for (QWidget* w : std::initializer_list<QWidget*>{sbPrint_, sbWDisp_, sbBackPage_, sbNextPage_, sbClose_,
                                                    scrollBox_, scrollBox_->viewport(), pnPaper_, pbImage_}) {
    w->installEventFilter(this);
  }
  RefreshPageCommands();
}

int TfmPreView::Run(const PreviewJob& job) {
  job_ = job;
  if (job_.pageCount < 1) job_.pageCount = 1;
  page_ = 1;
  errorShownForPage_ = 0;
  sbPrint_->setEnabled(static_cast<bool>(job_.print));
  mnPrint_->setEnabled(static_cast<bool>(job_.print));
  RefreshPageCommands();
  pnToolBar_->setVisible(buttonBar_);
  const Qt::WindowFlags flags = windowFlags();
  setWindowFlags((flags | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint |
                  Qt::CustomizeWindowHint) &
                 ~Qt::WindowMaximizeButtonHint);
  if (QScreen* s = screen()) setGeometry(s->availableGeometry());
  setWindowState(Qt::WindowMaximized);
  const int result = exec();
  setWindowFlags(flags);
  return result;
}

void TfmPreView::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  scrollBox_->horizontalScrollBar()->setValue(0);
  scrollBox_->verticalScrollBar()->setValue(0);
  LayOut();
  if (buttonBar_) sbWDisp_->setFocus();
}

void TfmPreView::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void TfmPreView::LayOut() {
  if (scrollBox_ == nullptr) return;
  print::PreviewScreen s;
  if (QScreen* scr = screen()) {
    s.screenWidth = scr->geometry().width();
    s.screenHeight = scr->geometry().height();
  }
  const QSize box = scrollBox_->maximumViewportSize();
  s.boxWidth = box.width();
  s.boxHeight = box.height();
  s.dpi = logicalDpiY();
  geometry_ = print::LayOutPreview(job_.printer, s, zoomed_);
  paperHolder_->resize(std::max(box.width(), geometry_.panelLeft + geometry_.panelWidth),
                       std::max(box.height(), geometry_.panelHeight));
  pnPaper_->setGeometry(geometry_.panelLeft, 0, geometry_.panelWidth, geometry_.panelHeight);
  pbImage_->setGeometry(geometry_.imageLeft, geometry_.imageTop, geometry_.imageWidth, geometry_.imageHeight);
  pbImage_->update();
}

void TfmPreView::RefreshPageCommands() {
  mnBackPage_->setEnabled(page_ > 1);
  mnNextPage_->setEnabled(page_ < job_.pageCount);
  sbBackPage_->setEnabled(mnBackPage_->isEnabled());
  sbNextPage_->setEnabled(mnNextPage_->isEnabled());
  pbImage_->update();
}

void TfmPreView::PaintPage(QPainter& painter) {
  painter.fillRect(pbImage_->rect(), Qt::white);
  if (!job_.drawPage || geometry_.zoomPercent <= 0) return;
  print::QtCanvas canvas(painter);
  print::SetUpForPreview(pageModel_, logicalDpiY(), geometry_.zoomPercent, job_.printer);
  print::SetAdjustment(pageModel_, state_.options);
  try {
    if (job_.drawFormPicture) {
      FormFrameCanvas frame(canvas);
      canvas.SetPale(true);
      pageModel_.canvas = &frame;
      job_.drawFormPicture(pageModel_, page_);
      canvas.SetPale(false);
    }
    pageModel_.canvas = &canvas;
    job_.drawPage(pageModel_, page_);
  } catch (const YearFileError& e) {
    ShowPaintError(e.UserText());
  } catch (const std::exception& e) {
    ShowPaintError(e.what());
  }
  pageModel_.canvas = nullptr;
}

// A page that cannot be drawn says so once, after painting (never from inside a paint event).
void TfmPreView::ShowPaintError(const std::string& text) {
  if (errorShownForPage_ == page_) return;
  errorShownForPage_ = page_;
  QTimer::singleShot(0, this, [this, text] { dialogs_.Error(text); });
}

bool TfmPreView::HandleKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      sbWDispClick();
      return true;
    case Qt::Key_PageUp:
    case Qt::Key_F12:
      if (mnNextPage_->isEnabled()) sbNextPageClick();
      return true;
    case Qt::Key_PageDown:
    case Qt::Key_F11:
      if (mnBackPage_->isEnabled()) sbBackPageClick();
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      QScrollBar* bar = scrollBox_->horizontalScrollBar();
      bar->setValue(bar->value() + (key == Qt::Key_Left ? -kKeyScroll : kKeyScroll));
      return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
      QScrollBar* bar = scrollBox_->verticalScrollBar();
      bar->setValue(bar->value() + (key == Qt::Key_Up ? -kKeyScroll : kKeyScroll));
      return true;
    }
    case Qt::Key_Escape:
      reject();
      return true;
    default:
      return false;
  }
}

void TfmPreView::keyPressEvent(QKeyEvent* event) {
  if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || !HandleKey(event->key())) {
    QDialog::keyPressEvent(event);
  }
}

bool TfmPreView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && HandleKey(key->key())) return true;
  } else if (event->type() == QEvent::Resize && watched == scrollBox_) {
    LayOut();
  } else if (event->type() == QEvent::Wheel && watched == scrollBox_->viewport()) {
    const int dy = static_cast<QWheelEvent*>(event)->angleDelta().y();
    QScrollBar* bar = scrollBox_->verticalScrollBar();
    if (dy != 0) bar->setValue(bar->value() + (dy > 0 ? -kWheelScroll : kWheelScroll));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TfmPreView::sbPrintClick() {
  if (!job_.print) return;
  hide();
  QApplication::processEvents();
  const bool printed = job_.print();
  done(printed ? QDialog::Accepted : QDialog::Rejected);
}

void TfmPreView::sbWDispClick() {
  zoomed_ = !zoomed_;
  mnWDisp_->setChecked(zoomed_);
  sbWDisp_->setText(FromUtf8(zoomed_ ? kZoomOut : kZoomIn));
  LayOut();
}

void TfmPreView::sbBackPageClick() {
  if (page_ > 1) --page_;
  RefreshPageCommands();
}

void TfmPreView::sbNextPageClick() {
  if (page_ < job_.pageCount) ++page_;
  RefreshPageCommands();
}

void TfmPreView::mnDispButtonClick() {
  buttonBar_ = !buttonBar_;
  mnDispButton_->setChecked(buttonBar_);
  pnToolBar_->setVisible(buttonBar_);
  LayOut();
}

void TfmPreView::SaveButtonBar() { SavePreviewButtonBar(state_.settings, buttonBar_); }

}  // namespace paylark::screens
