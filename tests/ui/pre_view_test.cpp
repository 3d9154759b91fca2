#include "screens/pre_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "store/app_settings.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;

class PreViewTest : public ::testing::Test {
 protected:
  // A landscape A4 page of a 600 dpi printer; each drawing records the page it drew.
  screens::PreviewJob Job(int pages, bool printing) {
    screens::PreviewJob job;
    job.pageCount = pages;
    job.printer = {7016, 4961, 100, 100, 6816, 4761, 600, 600};
    job.drawPage = [this](print::PageModel& page, int number) {
      drawn.push_back(number);
      page.PutLine(10, 10, 100, 10);
    };
    if (printing) job.print = [this] { return ++printed > 0; };
    return job;
  }

  // Runs the preview; `steps` run while it is open and must close it.
  int RunWith(const screens::PreviewJob& job, std::function<void()> steps) {
    QTimer::singleShot(0, &preview, [steps] { steps(); });
    return preview.Run(job);
  }
  void Key(int key) { QTest::keyClick(&preview, static_cast<Qt::Key>(key)); }
  bool Enabled(const char* name) {
    const bool button = Child<QToolButton>(&preview, name)->isEnabled();
    const QString menu = QString::fromUtf8(name).replace("sb", "mn");
    EXPECT_EQ(Child<QAction>(&preview, menu.toUtf8().constData())->isEnabled(), button) << name;
    return button;
  }

  testing::TempDir folder;
  ui::ProgramState state{folder.Path()};
  testing::RecordingDialogs dialogs;
  screens::TfmPreView preview{state, dialogs};
  std::vector<int> drawn;
  int printed = 0;
};

TEST_F(PreViewTest, PageCommandsFollowThePage) {
  const int result = RunWith(Job(3, true), [this] {
    EXPECT_EQ(preview.windowTitle().toStdString(), "印刷プレビュー (右クリックでメニュー表示)");
    EXPECT_FALSE(Enabled("sbBackPage"));
    EXPECT_TRUE(Enabled("sbNextPage"));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(preview.Page(), 2);
    EXPECT_TRUE(Enabled("sbBackPage"));
    EXPECT_TRUE(Enabled("sbNextPage"));
    Key(Qt::Key_F12);
    EXPECT_EQ(preview.Page(), 3);
    EXPECT_FALSE(Enabled("sbNextPage"));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(preview.Page(), 3);
    Key(Qt::Key_F11);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(preview.Page(), 1);
    QApplication::processEvents();
    EXPECT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), 1);
    Key(Qt::Key_Escape);
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_EQ(printed, 0);
}

TEST_F(PreViewTest, OnePageLeavesBothPageCommandsOffAndPageUpDoesNothing) {
  RunWith(Job(1, true), [this] {
    EXPECT_FALSE(Enabled("sbBackPage"));
    EXPECT_FALSE(Enabled("sbNextPage"));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(preview.Page(), 1);
    Key(Qt::Key_Escape);
  });
  // Reopening starts again on page 1 with the commands refreshed.
  RunWith(Job(2, true), [this] {
    EXPECT_EQ(preview.Page(), 1);
    EXPECT_TRUE(Enabled("sbNextPage"));
    Key(Qt::Key_Escape);
  });
}

TEST_F(PreViewTest, ZoomTogglesTheCaptionAndDoublesThePaperAndStaysForTheNextOpening) {
  RunWith(Job(1, false), [this] {
    auto* zoom = Child<QToolButton>(&preview, "sbWDisp");
    auto* paper = Child<QWidget>(&preview, "pnPaper");
    EXPECT_FALSE(Child<QToolButton>(&preview, "sbPrint")->isEnabled());
    EXPECT_FALSE(Child<QAction>(&preview, "mnPrint")->isEnabled());
    const QSize whole = paper->size();
    const int wholeZoom = preview.Geometry().zoomPercent;
    ASSERT_GT(whole.width(), 0);
    Key(Qt::Key_Return);  // Enter zooms even without printing
    EXPECT_EQ(zoom->text().toStdString(), "全体表示");
    EXPECT_TRUE(Child<QAction>(&preview, "mnWDisp")->isChecked());
    EXPECT_NEAR(paper->width(), 2 * whole.width(), 1);
    EXPECT_NEAR(paper->height(), 2 * whole.height(), 1);
    EXPECT_NEAR(preview.Geometry().zoomPercent, 2 * wholeZoom, 1);
    Key(Qt::Key_Escape);
  });
  EXPECT_TRUE(preview.Zoomed());
  RunWith(Job(1, false), [this] {
    EXPECT_EQ(Child<QToolButton>(&preview, "sbWDisp")->text().toStdString(), "全体表示");
    Click(Child<QToolButton>(&preview, "sbWDisp"));
    EXPECT_EQ(Child<QToolButton>(&preview, "sbWDisp")->text().toStdString(), "拡大表示");
    Click(Child<QToolButton>(&preview, "sbClose"));
  });
}

TEST_F(PreViewTest, PrintingFromThePreviewRunsTheJobAndClosesWithOk) {
  const int result = RunWith(Job(2, true), [this] { Click(Child<QToolButton>(&preview, "sbPrint")); });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(printed, 1);
}

TEST_F(PreViewTest, TheButtonBarFollowsItsMenuItemAndIsStored) {
  EXPECT_TRUE(preview.ButtonBarShown());  // PreViewBtn defaults to on
  RunWith(Job(1, true), [this] {
    Child<QAction>(&preview, "mnDispButton")->trigger();
    EXPECT_FALSE(Child<QWidget>(&preview, "pnToolBar")->isVisible());
    Key(Qt::Key_Escape);
  });
  preview.SaveButtonBar();
  EXPECT_FALSE(LoadPreviewButtonBar(state.settings));
}

}  // namespace
}  // namespace paylark
