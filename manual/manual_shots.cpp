// manual_shots: the pictures of the manual, taken from the program itself. Lays out a program
// folder with the given table files and a small company (three employees, December's salary),
// starts the program offscreen and saves each screen as it opens:
//
//   manual_shots TABLE_FOLDER OUTPUT_FOLDER
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLineEdit>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTableWidget>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <set>

#include "app/main_window.h"
#include "app/program.h"
#include "mail/smtp_settings.h"
#include "print/qt/qt_canvas.h"
#include "print/withholding_slip.h"
#include "session/print_rules.h"
#include "session/year_end_session.h"
#include "store/app_settings.h"
#include "store/era.h"
#include "store/profile_file.h"
#include "store/year_file.h"
#include "ui/dialog_service.h"
#include "ui/fonts.h"

using namespace paylark;
namespace fs = std::filesystem;

namespace {

// Answers every question with its first answer and records nothing: the pictures show screens,
// not message boxes.
class SilentDialogs : public ui::DialogService {
 public:
  ui::MsgAnswer Message(ui::MsgKind, std::string_view, ui::MsgButtons buttons) override {
    return buttons == ui::MsgButtons::Ok ? ui::MsgAnswer::Ok : ui::MsgAnswer::Yes;
  }
  void Beep() override {}
  void Notice(std::string_view, int) override {}
  std::vector<std::string> OpenFiles(std::string_view, std::string_view, std::string_view, bool) override {
    return {};
  }
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<std::string> AskPassword(std::string_view, std::string_view) override { return std::nullopt; }
};

PeriodBlock SampleMonth() {
  PeriodBlock p;
  CompanyRecord& c = p.company;
  c.SetName("株式会社ひばり商事");
  c.SetGeneralBusiness(true);
  c.SetPayDay(25);
  c.SetPeriodDays(20);
  c.SetPeriodHours(160);
  c.SetMonthDays(20);
  c.SetMonthHours(160);
  c.SetDayHours(8);
  c.SetEmploymentRate(0.55);
  c.SetHealthRate(4.955);
  c.SetNursingRate(0.795);
  c.SetPensionRate(9.15);

  EmployeeRecord& a = p.Employee(1);
  a.SetName("山田　太郎");
  a.SetDepartment("営業部");
  a.SetKey("240401_090000");
  a.SetPayFormCode(1);
  a.SetBasePay(280000);
  a.SetTaxDependants(1);
  a.SetPositionAllowance(20000);
  a.SetOvertimePrice(0, 2200);
  a.SetCommuteUnit(2);
  a.SetCommuteNonTaxable(12000);
  a.SetResidentTaxOther(11000);
  a.SetResidentTaxJune(11500);
  a.SetHealthSubject(true);
  a.SetHealthPremium(14865);
  a.SetPensionSubject(true);
  a.SetPensionPremium(27450);
  a.SetEmploymentSubject(true);
  a.SetGrade(22);
  a.SetMailAddress("yamada@example.jp");
  a.SetBirthDate(19800401);

  EmployeeRecord& b = p.Employee(2);
  b.SetName("鈴木　花子");
  b.SetDepartment("総務部");
  b.SetKey("240401_090100");
  b.SetPayFormCode(2);
  b.SetBasePay(9500);
  b.SetCommuteUnit(1);
  b.SetCommuteNonTaxable(500);
  b.SetEmploymentSubject(true);
  b.SetMailAddress("suzuki@example.jp");
  b.SetBirthDate(19920715);

  EmployeeRecord& h = p.Employee(3);
  h.SetName("佐藤　次郎");
  h.SetKey("240401_090200");
  h.SetPayFormCode(3);
  h.SetBasePay(1200);
  h.SetPaidLeavePay(8000);
  h.SetMailAddress("sato@example.jp");

  p.Attendance(1).Set(Kintai::ScheduledDays, 20);
  p.Attendance(1).Set(Kintai::ScheduledHours, 160);
  p.Attendance(1).Set(Kintai::WorkDays, 20);
  p.Attendance(1).Set(Kintai::WorkedHours, 170.5);
  p.Attendance(1).Set(Kintai::OvertimeHours, 10.5);
  p.Attendance(2).Set(Kintai::WorkDays, 18);
  p.Attendance(3).Set(Kintai::WorkedHours, 96.25);
  p.Attendance(3).Set(Kintai::PaidLeaveDays, 1);
  return p;
}

// The figures of one month as its calculation left them, for the year's pay of the 年末調整.
void SetMonthFigures(PeriodBlock& p) {
  struct Figures {
    int slot;
    Yen taxable, commute, social, tax;
  };
  for (const Figures& f : {Figures{1, 320000, 12000, 44075, 6640}, Figures{2, 171000, 500, 941, 2250}}) {
    p.Payment(f.slot).Set(Sikyu::TaxableTotal, f.taxable);
    p.Payment(f.slot).Set(Sikyu::Total, f.taxable + f.commute);
    p.Deduction(f.slot).Set(Koujo::SocialTotal, f.social);
    p.Deduction(f.slot).Set(Koujo::IncomeTax, f.tax);
    p.Deduction(f.slot).Set(Koujo::Total, f.social + f.tax);
  }
}

// Lays out the program folder: the tables with the year-end tables, the salaries of January to
// December of this year saved, the settings.
void LayOut(const fs::path& tables, const fs::path& folder) {
  for (const char* name : {"税額表(給与).dat", "税額表(賞与).dat", "雇用保険料額表.dat", "健康保険料額表.dat"}) {
    fs::copy_file(tables / fs::u8path(name), folder / fs::u8path(name), fs::copy_options::overwrite_existing);
  }
  fs::copy(tables / "YearEnd", folder / "YearEnd", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
  fs::create_directories(folder / "Data");
  OpenPeriod state;
  const fs::path file = folder / "Data" / fs::u8path(YearFileName(EraOf(Today())));
  CreateYearFile(file, state);
  for (int period = 1; period <= 12; ++period) {
    state.periodIndex = period;
    state.period = SampleMonth();
    SetMonthFigures(state.period);
    SavePeriod(file, state);
  }

  ProfileFile settings(folder / "Saldesk.ini");
  WindowSettings window;
  window.state = "wsNormal";
  window.width = 860;
  window.height = 540;
  window.memberListWidth = 720;
  window.memberListHeight = 360;
  SaveWindowSettings(settings, window);
  mail::SmtpSettings smtp;
  smtp.server = "mail.example.jp";
  smtp.from = "kyuyo@example.jp";
  mail::SaveSmtpSettings(settings, smtp);
}

// Waits, processing events, until `done` holds; false after `ms`.
bool WaitFor(const std::function<bool()>& done, int ms = 15000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

// What to do with each modal screen when it opens: save its picture, press its buttons.
class ModalScript : public QObject {
 public:
  explicit ModalScript(fs::path out) : out_(std::move(out)) {
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start(20);
  }
  void On(const QString& name, std::function<void(QWidget*)> action) { actions_[name] = std::move(action); }
  void Clear() { actions_.clear(); }
  void Save(QWidget* w, const char* name) {
    QApplication::processEvents();
    const fs::path file = out_ / (std::string(name) + ".png");
    if (!w->grab().save(QString::fromStdString(file.string()))) failed = true;
    std::cout << file.string() << "\n";
  }
  bool failed = false;

 private:
  // A screen whose action opens another screen is not taken again when that one closes.
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == last_ || running_.count(modal)) return;
    const auto it = actions_.find(modal->objectName());
    if (it == actions_.end()) return;
    last_ = modal;
    auto action = it->second;
    QTimer::singleShot(200, modal, [this, modal, action] {
      last_ = nullptr;
      running_.insert(modal);
      action(modal);
      running_.erase(modal);
    });
  }
  fs::path out_;
  QTimer timer_;
  QWidget* last_ = nullptr;
  std::set<QWidget*> running_;
  std::map<QString, std::function<void(QWidget*)>> actions_;
};

template <typename T>
T* Find(QObject* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromLatin1(name));
  if (!child) {
    std::cerr << "manual_shots: no " << name << "\n";
    std::exit(1);
  }
  return child;
}

void Reject(QWidget* w) { static_cast<QDialog*>(w)->reject(); }

// Types `text` into a field and leaves it, as the clerk would.
void Fill(QWidget* screen, const char* name, const char* text) {
  QLineEdit* edit = Find<QLineEdit>(screen, name);
  edit->setFocus(Qt::TabFocusReason);
  edit->setText(QString::fromUtf8(text));
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(edit, &out);
}

// The first sheet of the 源泉徴収票 of the year's adjustment, drawn at 100 dots per inch.
bool SaveWithholdingSlip(const fs::path& folder, const fs::path& file) {
  try {
    ui::ProgramState state(folder);
    const screens::YearEndSession session(state, Today().year);
    const print::YearEndSource source = screens::BuildYearEndSource(session);
    const print::Document document = print::WithholdingSlipDocument(source);
    if (document.pageCount == 0) return false;
    constexpr int kDpi = 100;
    QImage image(827, 1169, QImage::Format_RGB32);  // A4
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      print::QtCanvas canvas(painter);
      print::PageModel page;
      print::SetUpForPrinter(page, {kDpi, kDpi, 0, 0});
      page.canvas = &canvas;
      document.drawPage(page, 0);
    }
    if (!image.save(QString::fromStdString(file.string()))) return false;
  } catch (const std::exception& e) {
    std::cerr << "manual_shots: the 源泉徴収票: " << e.what() << "\n";
    return false;
  }
  std::cout << file.string() << "\n";
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: manual_shots TABLE_FOLDER OUTPUT_FOLDER\n";
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  ui::InstallJapaneseFonts();

  const fs::path out = argv[2];
  fs::create_directories(out);
  const fs::path folder = fs::temp_directory_path() / ("manual_shots_" + std::to_string(QCoreApplication::applicationPid()));
  fs::create_directories(folder);
  LayOut(argv[1], folder);

  int status = 0;
  {
    SilentDialogs dialogs;
    app::Program program(folder, dialogs);
    ModalScript script(out);
    bool selected = false;
    script.On("TfmSelData", [&](QWidget* w) {
      Find<QListWidget>(w, "ListBox")->setCurrentRow(11);
      script.Save(w, "sel_data");
      Find<QAbstractButton>(w, "bbOk")->click();
      selected = true;
    });
    if (!program.Start() || !WaitFor([&] { return selected && !QApplication::activeModalWidget(); })) {
      std::cerr << "manual_shots: the period selection did not open\n";
      return 1;
    }
    QWidget* main = &program.MainWindow();
    WaitFor([] { return false; }, 300);
    script.Save(main, "main");

    // One command of the main window, with what to do with each screen it opens.
    auto run = [&](const char* command, std::map<QString, std::function<void(QWidget*)>> screens) {
      script.Clear();
      for (auto& [name, action] : screens) script.On(name, action);
      bool finished = false;
      QTimer::singleShot(0, main, [&] {
        if (auto* action = main->findChild<QAction*>(QString::fromLatin1(command))) {
          action->trigger();
        } else {
          Find<QAbstractButton>(main, command)->click();
        }
        finished = true;
      });
      if (!WaitFor([&] { return finished && !QApplication::activeModalWidget(); })) {
        std::cerr << "manual_shots: " << command << " did not finish\n";
        status = 1;
      }
    };
    auto shoot = [&](const char* picture) {
      return [&script, picture](QWidget* w) {
        script.Save(w, picture);
        Reject(w);
      };
    };
    auto selectAll = [](QWidget* w) {
      Find<QAbstractButton>(w, "sbAllOnOff")->click();
      Find<QAbstractButton>(w, "bbOk")->click();
    };
    run("mnCorpInfo", {{"TfmCorpInfo", shoot("corp_info")}});
    run("mnEnvSetting", {{"TfmOption", shoot("option")}});
    run("mnPrnForm", {{"TfmPrnFormK", shoot("prn_form")}});
    run("mnMemberList", {{"TfmMembList",
                          [&](QWidget* w) {
                            Find<QListWidget>(w, "ListBox")->setCurrentRow(0);
                            script.Save(w, "memb_list");
                            Find<QAbstractButton>(w, "sbModify")->click();
                            Reject(w);
                          }},
                         {"TfmMembEdit", shoot("memb_edit")}});
    run("sbDataEdit", {{"TfmDataEdit", shoot("data_edit")}});
    run("mnMeisaihyo", {{"TfmMembList", selectAll}, {"TfmInji", shoot("inji")}});
    run("mnSendMail", {{"TfmMembList", selectAll}, {"TfmSendMail", shoot("send_mail")}});
    // 年末調整: the first employee's declaration typed, everyone calculated.
    run("mnNencho", {{"TfmYearEnd",
                      [&](QWidget* w) {
                        Find<QTableWidget>(w, "sgNencho")->setCurrentCell(0, 0);
                        Find<QAbstractButton>(w, "btSinkoku")->click();
                        Find<QAbstractButton>(w, "btKeisan")->click();
                        Find<QTableWidget>(w, "sgNencho")->setCurrentCell(0, 0);
                        script.Save(w, "year_end");
                        Reject(w);
                      }},
                     {"TfmDeclaration", [&](QWidget* w) {
                        Fill(w, "edHaiName", "山田　花子");
                        Fill(w, "edHaiBirth", "1985/3/3");
                        Fill(w, "edFuyoName1", "山田　一郎");
                        Fill(w, "edFuyoZoku1", "長男");
                        Fill(w, "edFuyoBirth1", "H17.5.5");
                        Fill(w, "edFuyoName2", "山田　桜");
                        Fill(w, "edFuyoZoku2", "長女");
                        Fill(w, "edFuyoBirth2", "2015/8/1");
                        script.Save(w, "declaration");
                        Find<QAbstractButton>(w, "bbOk")->click();
                      }}});
    if (script.failed) status = 1;
  }
  if (!SaveWithholdingSlip(folder, out / "withholding_slip.png")) status = 1;
  std::error_code ec;
  fs::remove_all(folder, ec);
  return status;
}
