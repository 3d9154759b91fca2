#include "ui/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <set>

#include "app/program.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;

// The manual as the build generates it, pictures included.
const fs::path kManual = fs::path(PAYLARK_PROGRAM_DIR) / "manual";

QWidget* Window(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->objectName() == QLatin1String(name)) return w;
  }
  ADD_FAILURE() << "no window " << name;
  return nullptr;
}

TEST(HelpWindowTest, F1InEachWindowOpensTheHelpWindowAtThatWindowsPage) {
  testing::TempDir folder;
  testing::RecordingDialogs dialogs;
  app::Program program(ProgramFolders{folder.Path(), folder.Path(), kManual, false}, dialogs);
  auto* help = static_cast<ui::TfmHelp*>(Window("TfmHelp"));
  ASSERT_NE(help, nullptr);

  const struct {
    const char* window;
    const char* page;
  } cases[] = {
      {"TfmMain", "main.html"},          {"TfmSelData", "sel_data.html"},  {"TfmDataEdit", "data_edit.html"},
      {"TfmCalc", "calc.html"},          {"TfmMembList", "memb_list.html"}, {"TfmInji", "print.html"},
      {"TfmSendMail", "mail.html"},      {"TfmCorpInfo", "corp_info.html"}, {"TfmMembEdit", "memb_edit.html"},
      {"TfmOption", "option.html"},      {"TfmPrnFormK", "prn_form.html"},  {"TfmPrnFormS", "prn_form.html"},
      {"TfmPreView", "print.html"},      {"TfmKenhoHyo", "calc.html"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.window);
    QWidget* window = Window(c.window);
    ASSERT_NE(window, nullptr);
    help->hide();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, Qt::Key_F1);
    QTRY_VERIFY(help->isVisible());
    EXPECT_EQ(help->CurrentPage().toStdString(), c.page);
    window->hide();
  }
  // A message box over a screen (the first-run hints say "F1キーを押してヘルプを参照") opens the
  // screen's page.
  for (const auto& c : {std::pair{"TfmSelData", "sel_data.html"}, std::pair{"TfmCorpInfo", "corp_info.html"}}) {
    SCOPED_TRACE(c.first);
    help->hide();
    QWidget* window = Window(c.first);
    window->show();
    QDialog box(window);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    QTest::keyClick(&box, Qt::Key_F1);
    QTRY_VERIFY(help->isVisible());
    EXPECT_EQ(help->CurrentPage().toStdString(), c.second);
    box.hide();
    window->hide();
  }
  // F1 in the help window itself stays there.
  help->ShowTopic(240);
  QTest::keyClick(help, Qt::Key_F1);
  EXPECT_EQ(help->CurrentPage().toStdString(), "data_edit.html");
  EXPECT_TRUE(dialogs.Texts().empty()) << "no message box: the help opens instead";
}

TEST(HelpWindowTest, OverAModalDialogTheHelpIsModalItselfSoItCanBeUsed) {
  QDialog dialog;
  ui::TfmHelp help(kManual);
  bool checked = false;
  QTimer::singleShot(0, [&] {
    help.ShowTopic(320);
    EXPECT_EQ(help.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), &help);
    help.close();
    dialog.reject();
    checked = true;
  });
  dialog.exec();
  EXPECT_TRUE(checked);
  help.ShowTopic(0);
  EXPECT_EQ(help.windowModality(), Qt::NonModal);
  EXPECT_EQ(help.CurrentPage().toStdString(), "index.html");
}

TEST(HelpWindowTest, BackForwardContentsAndSearch) {
  ui::TfmHelp help(kManual);
  help.ShowTopic(230);
  help.ShowTopic(240);
  auto* back = testing::Child<QToolButton>(&help, "btBack");
  auto* forward = testing::Child<QToolButton>(&help, "btForward");
  auto* browser = testing::Child<QTextBrowser>(&help, "tbPage");
  // A link followed inside the browser is history too.
  browser->setSource(browser->source().resolved(QUrl(QStringLiteral("rates.html"))));
  EXPECT_EQ(help.CurrentPage().toStdString(), "rates.html");
  testing::Click(back);
  EXPECT_EQ(help.CurrentPage().toStdString(), "data_edit.html");
  testing::Click(back);
  EXPECT_EQ(help.CurrentPage().toStdString(), "main.html");
  EXPECT_FALSE(back->isEnabled());
  testing::Click(forward);
  EXPECT_EQ(help.CurrentPage().toStdString(), "data_edit.html");
  testing::Click(testing::Child<QToolButton>(&help, "btContents"));
  EXPECT_EQ(help.CurrentPage().toStdString(), "index.html");

  // The keyword search: the search field takes the focus; a word lists the pages that hold it.
  help.ShowTopic(ui::kHelpTopicSearch);
  auto* search = testing::Child<QLineEdit>(&help, "edSearch");
  EXPECT_EQ(help.focusWidget(), search);
  const QStringList levy = help.Search(QStringLiteral("子ども・子育て支援金"));
  EXPECT_TRUE(levy.contains("rates.html"));
  EXPECT_TRUE(levy.contains("workflow.html"));
  EXPECT_FALSE(levy.contains("password.html"));
  EXPECT_TRUE(help.Search(QStringLiteral("smtp")).contains("mail.html")) << "case-insensitive";
  EXPECT_TRUE(help.Search(QStringLiteral("どこにも無い言葉")).isEmpty());
  EXPECT_TRUE(help.Search(QStringLiteral("  ")).isEmpty());
  search->setText(QStringLiteral("パスワード"));
  QTest::keyClick(search, Qt::Key_Return);
  EXPECT_EQ(help.CurrentPage(), help.Search(QStringLiteral("パスワード")).value(0));
}

TEST(HelpWindowTest, AMissingManualIsSaidInTheWindowNotInABox) {
  testing::TempDir empty;
  ui::TfmHelp help(empty.Path());
  help.ShowTopic(230);
  EXPECT_TRUE(help.isVisible());
  EXPECT_TRUE(testing::Child<QTextBrowser>(&help, "tbPage")->toPlainText().contains("見つかりません"));
}

// Every link and picture of every generated page leads to something that exists, every page can be
// reached from the contents, and every help topic has its page.
TEST(ManualTest, EveryLinkOfEveryPageWorks) {
  const QDir dir(QString::fromStdString(kManual.string()));
  const QStringList pages = dir.entryList({"*.html"}, QDir::Files, QDir::Name);
  ASSERT_GE(pages.size(), 15);
  const QRegularExpression reference(QStringLiteral(R"re((href|src)="([^"]*)")re"));
  std::set<QString> reached = {"index.html"};
  std::vector<QString> queue = {"index.html"};
  int links = 0;
  for (const QString& page : pages) {
    QFile file(dir.filePath(page));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    // Every table of the sources became a table, not text with bars.
    EXPECT_FALSE(html.contains("|---")) << page.toStdString() << " has a table left as text";
    for (auto it = reference.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(2);
      if (target.startsWith("http:") || target.startsWith("https:") || target.startsWith("mailto:")) continue;
      ++links;
      const QString path = target.section('#', 0, 0);
      EXPECT_FALSE(target.contains('#')) << page.toStdString() << ": anchors are not generated: " << target.toStdString();
      EXPECT_TRUE(QFile::exists(dir.filePath(path))) << page.toStdString() << " → " << target.toStdString();
    }
  }
  EXPECT_GT(links, 100);
  // Reachability from the contents page.
  while (!queue.empty()) {
    const QString page = queue.back();
    queue.pop_back();
    QFile file(dir.filePath(page));
    if (!file.open(QIODevice::ReadOnly)) continue;
    const QString html = QString::fromUtf8(file.readAll());
    for (auto it = reference.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(2);
      if (target.endsWith(".html") && reached.insert(target).second) queue.push_back(target);
    }
  }
  for (const QString& page : pages) EXPECT_TRUE(reached.count(page)) << page.toStdString() << " cannot be reached";
  for (int topic : {220, 230, 240, 241, 250, 260, 270, 310, 320, 410, 420, 500, 600, 610}) {
    EXPECT_TRUE(QFile::exists(dir.filePath(ui::HelpPageOfTopic(topic)))) << topic;
  }
}

}  // namespace
}  // namespace paylark
