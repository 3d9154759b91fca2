// TfmHelp: the manual in a window of the program. Each screen has a help topic number; F1 opens
// the manual's page of that topic. Back, forward, the contents page and a search over every page.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <filesystem>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace paylark::ui {

// Help topics besides the windows' numbers: the contents and the keyword search.
inline constexpr int kHelpTopicContents = 0;
inline constexpr int kHelpTopicSearch = -1;

// The manual page of a help topic ("main.html" for 230); the contents page for 0, -1 and any
// number without a page of its own.
QString HelpPageOfTopic(int topic);
// The help topic of a window by its object name ("TfmDataEdit" → 240); 0 when it has none.
int HelpTopicOfWindow(const QString& objectName);

class TfmHelp : public QWidget {
  Q_OBJECT
 public:
  explicit TfmHelp(std::filesystem::path manualDir, QWidget* parent = nullptr);

  // Opens the topic's page (the search field for kHelpTopicSearch) and brings the window to the
  // front. Over a modal dialog the help window is modal itself, so that it can be read and closed.
  void ShowTopic(int topic);
  // The file name of the page shown ("data_edit.html"), empty before the first page.
  QString CurrentPage() const;
  // The pages whose text contains `word` (case-insensitive), in the contents' file order, as
  // file names.
  QStringList Search(const QString& word) const;

 private:
  void Open(const QString& page);
  void RunSearch();
  void OpenResult(int row);

  std::filesystem::path manualDir_;
  QTextBrowser* browser_;
  QToolButton* btBack_;
  QToolButton* btForward_;
  QToolButton* btContents_;
  QLineEdit* edSearch_;
  QListWidget* lbResults_;
  QStringList resultPages_;
};

}  // namespace paylark::ui
