#include "ui/help_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>

#include "ui/qt_text.h"

namespace paylark::ui {
namespace {

QString PathText(const std::filesystem::path& p) {
  const std::u8string s = p.u8string();
  return QString::fromUtf8(reinterpret_cast<const char*>(s.data()), static_cast<qsizetype>(s.size()));
}

// A page's text without its markup.
QString PlainTextOf(const QString& html) {
  QTextDocument document;
  document.setHtml(html);
  return document.toPlainText();
}

}  // namespace

QString HelpPageOfTopic(int topic) {
  static const std::map<int, const char*> kPages = {
      {220, "sel_data.html"},  {230, "main.html"},      {240, "data_edit.html"}, {241, "calc.html"},
      {250, "memb_list.html"}, {260, "print.html"},     {270, "mail.html"},      {310, "corp_info.html"},
      {320, "memb_edit.html"}, {410, "option.html"},    {420, "prn_form.html"},  {500, "about.html"},
      {600, "year_end.html"},  {610, "declaration.html"},
  };
  const auto it = kPages.find(topic);
  return QString::fromLatin1(it == kPages.end() ? "index.html" : it->second);
}

int HelpTopicOfWindow(const QString& objectName) {
  // The preview belongs to printing, the mail server settings to the mail, the grade table to the
  // calculator's page and the reference data selection to the period selection.
  static const std::map<QString, int> kTopics = {
      {"TfmSelData", 220},  {"TfmRefData", 220},    {"TfmMain", 230},     {"TfmDataEdit", 240},
      {"TfmCalc", 241},     {"TfmKenhoHyo", 241},   {"TfmMembList", 250}, {"TfmInji", 260},
      {"TfmPreView", 260},  {"TfmSendMail", 270},   {"TfmMailServer", 270}, {"TfmCorpInfo", 310},
      {"TfmMembEdit", 320}, {"TfmOption", 410},     {"TfmPrnFormK", 420}, {"TfmPrnFormS", 420},
      {"TfmYearEnd", 600},  {"TfmYearEndResult", 600}, {"TfmYearEndCompany", 600}, {"TfmDeclaration", 610},
  };
  const auto it = kTopics.find(objectName);
  return it == kTopics.end() ? 0 : it->second;
}

TfmHelp::TfmHelp(std::filesystem::path manualDir, QWidget* parent)
    : QWidget(parent, Qt::Window), manualDir_(std::move(manualDir)) {
  setObjectName(QStringLiteral("TfmHelp"));
  setWindowTitle(QStringLiteral("ヘルプ"));  // the application appends its title
  resize(1000, 720);

  auto* tools = new QHBoxLayout;
  auto button = [this, tools](const char* name, const char* text, const char* tip) {
    auto* b = new QToolButton(this);
    b->setObjectName(QString::fromLatin1(name));
    b->setText(QString::fromUtf8(text));
    b->setToolTip(QString::fromUtf8(tip));
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    tools->addWidget(b);
    return b;
  };
  btBack_ = button("btBack", "◀ 戻る", "前のページ (Alt+←)");
  btForward_ = button("btForward", "進む ▶", "次のページ (Alt+→)");
  btContents_ = button("btContents", "目次", "目次のページ");
  tools->addSpacing(16);
  tools->addWidget(new QLabel(QStringLiteral("検索"), this));
  edSearch_ = new QLineEdit(this);
  edSearch_->setObjectName(QStringLiteral("edSearch"));
  edSearch_->setPlaceholderText(QStringLiteral("言葉を入れて Enter"));
  edSearch_->setClearButtonEnabled(true);
  tools->addWidget(edSearch_, 1);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("tbPage"));
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({PathText(manualDir_)});

  lbResults_ = new QListWidget(this);
  lbResults_->setObjectName(QStringLiteral("lbResults"));
  lbResults_->hide();

  auto* split = new QSplitter(this);
  split->addWidget(lbResults_);
  split->addWidget(browser_);
  split->setStretchFactor(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(tools);
  layout->addWidget(split, 1);

  btBack_->setEnabled(false);
  btForward_->setEnabled(false);
  btBack_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  btForward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  connect(btBack_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(btForward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(btContents_, &QToolButton::clicked, this, [this] { Open(QStringLiteral("index.html")); });
  connect(browser_, &QTextBrowser::backwardAvailable, btBack_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, btForward_, &QToolButton::setEnabled);
  connect(edSearch_, &QLineEdit::returnPressed, this, &TfmHelp::RunSearch);
  connect(lbResults_, &QListWidget::currentRowChanged, this, &TfmHelp::OpenResult);
}

void TfmHelp::Open(const QString& page) {
  const QString file = PathText(manualDir_ / page.toStdString());
  if (QFile::exists(file)) {
    browser_->setSource(QUrl::fromLocalFile(file));
  } else {
    // The manual is not where the program expects it: say where it was looked for.
    browser_->setHtml(QStringLiteral("<h1>マニュアルのページが見つかりません</h1><p>%1</p>").arg(file.toHtmlEscaped()));
  }
}

void TfmHelp::ShowTopic(int topic) {
  Open(HelpPageOfTopic(topic));
  QWidget* modal = QApplication::activeModalWidget();
  const Qt::WindowModality wanted = (modal && modal != this) ? Qt::ApplicationModal : Qt::NonModal;
  if (windowModality() != wanted) {
    hide();  // the modality of a shown window cannot change
    setWindowModality(wanted);
  }
  show();
  raise();
  activateWindow();
  if (topic == kHelpTopicSearch) {
    edSearch_->setFocus(Qt::OtherFocusReason);
    edSearch_->selectAll();
  } else {
    browser_->setFocus(Qt::OtherFocusReason);
  }
}

QString TfmHelp::CurrentPage() const { return QFileInfo(browser_->source().toLocalFile()).fileName(); }

QStringList TfmHelp::Search(const QString& word) const {
  QStringList found;
  const QString needle = word.trimmed();
  if (needle.isEmpty()) return found;
  const QDir dir(PathText(manualDir_));
  for (const QString& name : dir.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) continue;
    if (PlainTextOf(QString::fromUtf8(file.readAll())).contains(needle, Qt::CaseInsensitive)) found << name;
  }
  return found;
}

void TfmHelp::RunSearch() {
  resultPages_ = Search(edSearch_->text());
  lbResults_->blockSignals(true);
  lbResults_->clear();
  const QDir dir(PathText(manualDir_));
  for (const QString& page : resultPages_) {
    QFile file(dir.filePath(page));
    file.open(QIODevice::ReadOnly);
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpressionMatch title = QRegularExpression(QStringLiteral("<h1>(.*?)</h1>")).match(html);
    lbResults_->addItem(title.hasMatch() ? PlainTextOf(title.captured(1)) : page);
  }
  if (resultPages_.isEmpty()) lbResults_->addItem(QStringLiteral("見つかりませんでした"));
  lbResults_->blockSignals(false);
  lbResults_->show();
  if (!resultPages_.isEmpty()) lbResults_->setCurrentRow(0);
}

void TfmHelp::OpenResult(int row) {
  if (row < 0 || row >= resultPages_.size()) return;
  Open(resultPages_[row]);
  browser_->find(edSearch_->text().trimmed());
}

}  // namespace paylark::ui
