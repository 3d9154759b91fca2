#include "screens/memb_edit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <array>

#include "calc/age_rules.h"
#include "calc/birth_date.h"
#include "entry/display_format.h"
#include "entry/number_parse.h"
#include "calc/premiums.h"
#include "calc/unit_prices.h"
#include "screens/calc_window.h"
#include "screens/kenho_hyo.h"
#include "store/sjis.h"
#include "store/year_file.h"
#include "ui/entry_fields.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

constexpr int kNoticeMilliseconds = 1500;
constexpr const char* kTypingLimit = "typingLimit";  // characters typing may reach
constexpr const char* kBaseLimit = "baseLimit";      // the field's own maximum length

constexpr const char* kChangedText = "データ内容に変更がある場合は出来ません。";
constexpr const char* kTemplateQuestion =
    "現在の入力内容を新規作成時の基本に設定します。\r( ｢いいえ｣を選択すると基本設定を解除します)";
constexpr const char* kTemplateRemoveQuestion = "新規作成時の基本設定を解除します。";
constexpr const char* kTemplateSaved = "新規作成時の基本にしました。";
constexpr const char* kTemplateRemoved = "基本に設定を解除しました。";
constexpr const char* kGradeQuestion = "健康保険等級表から健康･介護･厚生年金保険料と\r厚生年金基金の掛け金をセットします。";
constexpr const char* kBackSpaceInfo = "この項目ではBackSpaceキーは使用できません。\rDeleteキーで編集を行って下さい。";
constexpr const char* kFirstRunInfo = "給与･賞与計算に必要な社員情報を入力して下さい。\r　（詳細はF1キーを押してヘルプを参照）";
constexpr const char* kNoFreeSlot = "これ以上社員を登録できません。";
constexpr const char* kNotEncodable = "使用できない文字が含まれています。";
constexpr const char* kBirthDateError = "生年月日の入力に誤りがあります。";

std::int32_t FieldInt(const QLineEdit* edit) {
  SilentReporter silent;
  return ParseInteger(ui::ToUtf8(edit->text()), silent);
}

QString Amount(int formatCode, double value) { return ui::FromUtf8(FormatAmount(formatCode / 10, value)); }

QString TwoDigits(const std::string& text) { return ui::FromUtf8(text).trimmed().rightJustified(2, QChar(' ')); }

QToolButton* SpeedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setText(caption);
  b->setToolButtonStyle(Qt::ToolButtonTextOnly);
  b->setFocusPolicy(Qt::NoFocus);  // the field being edited keeps the focus
  b->setMinimumWidth(84);
  return b;
}

QLabel* Label(const QString& text, QWidget* parent, const char* name = nullptr) {
  auto* l = new QLabel(text, parent);
  if (name) l->setObjectName(QString::fromLatin1(name));
  return l;
}

// A caption and its field side by side in a grid of a group box.
void AddLabelled(QGridLayout* grid, int row, int col, const QString& caption, QWidget* field, QLabel** label) {
  QLabel* l = Label(caption, grid->parentWidget());
  if (label) *label = l;
  grid->addWidget(l, row, col);
  grid->addWidget(field, row, col + 1);
}

}  // namespace

struct TfmMembEdit::Controls {
  ui::TextEdit* edSimei = nullptr;
  ui::TextEdit* edBusyo = nullptr;
  QComboBox* cbKubun = nullptr;
  QComboBox* cbKeitai = nullptr;
  QRadioButton* rbZeigaku0 = nullptr;
  QRadioButton* rbZeigaku1 = nullptr;
  QCheckBox* cbGenkin = nullptr;
  QComboBox* cbSeibetu = nullptr;
  ui::TextEdit* edMailAdrs = nullptr;
  QLineEdit* edBirthDate = nullptr;  // 生年月日, typed in 和暦 or 西暦
  QLabel* lbAge = nullptr;
  QCheckBox* cbTaisyo = nullptr;
  std::array<ui::NumEdit*, 3> edTai{};  // edTaiYY, edTaiMM, edTaiDD
  std::array<QLabel*, 4> lbTai{};       // （退職日:  年  月  日）
  ui::NumEdit* edFuyou = nullptr;
  ui::NumEdit* edSinzoku = nullptr;
  ui::NumEdit* edChingin1 = nullptr;
  ui::NumEdit* edYakuin = nullptr;
  ui::NumEdit* edFamily = nullptr;
  std::array<ui::NumEdit*, 4> edOvertime{};  // edChingin2 .. edChingin5
  ui::NumEdit* edKoutuhi0 = nullptr;
  ui::NumEdit* edKoutuhi1 = nullptr;
  QComboBox* cbSikUnit = nullptr;
  ui::NumEdit* edJuumin6 = nullptr;
  ui::NumEdit* edJuumin = nullptr;
  std::array<ui::NumEdit*, 3> edTeate{};
  std::array<QLabel*, 3> lbTeate{};
  std::array<ui::NumEdit*, 3> edKoujo{};
  std::array<QLabel*, 3> lbKoujo{};
  ui::NumEdit* edYukyu = nullptr;
  QLabel* lbYukyu = nullptr;
  ui::NumEdit* edKekkin = nullptr;
  ui::NumEdit* edChisou = nullptr;
  QCheckBox* cbKoyou = nullptr;
  QCheckBox* cbKenkou = nullptr;
  ui::NumEdit* edKenhoRyo = nullptr;
  QLabel* lbKenhoRyo = nullptr;
  ui::NumEdit* edSienRyo = nullptr;  // 子ども・子育て支援金, beside the health premium
  QLabel* lbSienRyo = nullptr;
  QCheckBox* cbKaigo = nullptr;
  ui::NumEdit* edKaigoRyo = nullptr;
  QLabel* lbKaigoRyo = nullptr;
  QCheckBox* cbNenHoken = nullptr;
  ui::NumEdit* edKoseiRyo = nullptr;
  QLabel* lbKoseiRyo = nullptr;
  QCheckBox* cbNenKikin = nullptr;
  ui::NumEdit* edKakekin = nullptr;
  QLabel* lbKakekin = nullptr;
  QToolButton* sbBackData = nullptr;
  QToolButton* sbNextData = nullptr;
  QToolButton* sbNewBase = nullptr;
  QToolButton* sbAutoSet = nullptr;
  QToolButton* sbCalculator = nullptr;
  QToolButton* sbTanka = nullptr;
  QPushButton* bbOk = nullptr;
  QPushButton* bbCancel = nullptr;
  std::vector<ui::NumEdit*> numEdits;
  ui::FieldContext* fieldContext = nullptr;
};

TfmMembEdit::TfmMembEdit(ui::ProgramState& state, ui::DialogService& dialogs, TfmKenhoHyo& gradeTable,
                         TfmCalc& calculator, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), gradeTable_(gradeTable), calculator_(calculator),
      c_(new Controls) {
  setObjectName(QStringLiteral("TfmMembEdit"));
  setWindowTitle(QStringLiteral("社員情報の編集"));
  chooseGrade = [this](QWidget* over) { return gradeTable_.Choose(over); };
  runCalculator = [this]() -> std::optional<long double> {
    if (!calculator_.Run()) return std::nullopt;
    return calculator_.Value();
  };
  clock = [] { return std::time(nullptr); };
  c_->fieldContext = new ui::FieldContext{dialogs_, state_.options};
  BuildForm();
}

TfmMembEdit::~TfmMembEdit() {
  // The children go after this body; the focus moving between them must not reach the form.
  disconnect(focusConnection_);
  delete c_->fieldContext;
  delete c_;
}

// ---------------------------------------------------------------------------------------------
// The form

ui::NumEdit* TfmMembEdit::MakeNumEdit(const char* name, int formatCode, int typingLimit) {
  auto* e = new ui::NumEdit(*c_->fieldContext, formatCode, this);
  e->setObjectName(QString::fromLatin1(name));
  e->SetAcceptedCharacters(QStringLiteral("0123456789"));
  e->setProperty(kTypingLimit, typingLimit);
  e->setProperty(kBaseLimit, typingLimit);
  if (formatCode == 20) {
    e->SetDisplay([](double v) { return QString::asprintf("%2d", static_cast<int>(v)); });
    e->setFixedWidth(34);
  } else {
    e->SetDisplay([formatCode](double v) { return Amount(formatCode, v); });
    e->setFixedWidth(96);
  }
  connect(e, &ui::NumEdit::Left, this, [this, e] { FieldLeft(e); });
  connect(e, &QLineEdit::textEdited, this, [e](const QString& text) {
    // Short text again: back to the field's own length.
    if (text.size() < 3) e->setProperty(kTypingLimit, e->property(kBaseLimit));
  });
  c_->numEdits.push_back(e);
  return e;
}

void TfmMembEdit::BuildForm() {
  auto* top = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  left->addWidget(BuildIdentityGroup());
  left->addWidget(BuildInsuranceGroup());
  left->addStretch(1);
  right->addWidget(BuildPaymentGroup());
  right->addWidget(BuildDeductionGroup());
  right->addStretch(1);
  columns->addLayout(left);
  columns->addLayout(right);
  top->addLayout(columns);
  top->addWidget(BuildButtons());

  ui::InstallEnterMovesOn(this);
  for (QWidget* w : findChildren<QWidget*>()) {
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) ||
        qobject_cast<QRadioButton*>(w)) {
      w->installEventFilter(this);
    }
  }
  focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && now != this && isAncestorOf(now)) FieldEntered(now);
  });
}

QWidget* TfmMembEdit::BuildIdentityGroup() {
  auto* box = new QGroupBox(QStringLiteral("社員情報"), this);
  box->setObjectName(QStringLiteral("gbSyain"));
  auto* g = new QGridLayout(box);
  int row = 0;

  c_->edSimei = new ui::TextEdit(kNameMaxBytes, box);
  c_->edSimei->setObjectName(QStringLiteral("edSimei"));
  g->addWidget(Label(QStringLiteral("氏　名"), box), row, 0);
  g->addWidget(c_->edSimei, row++, 1, 1, 3);

  c_->edBusyo = new ui::TextEdit(kDepartmentMaxBytes, box);
  c_->edBusyo->setObjectName(QStringLiteral("edBusyo"));
  g->addWidget(Label(QStringLiteral("部　署"), box), row, 0);
  g->addWidget(c_->edBusyo, row++, 1, 1, 3);

  c_->cbKubun = new QComboBox(box);
  c_->cbKubun->setObjectName(QStringLiteral("cbKubun"));
  c_->cbKubun->setEditable(true);
  c_->cbKubun->setInsertPolicy(QComboBox::NoInsert);
  for (const char* text : kCategoryTexts) c_->cbKubun->addItem(ui::FromUtf8(text));
  connect(c_->cbKubun->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    const std::string utf8 = ui::ToUtf8(text);
    if (SjisWidth(utf8) < static_cast<std::size_t>(kCategoryMaxBytes)) return;
    QString cut = text;
    while (!cut.isEmpty() && SjisWidth(ui::ToUtf8(cut)) > static_cast<std::size_t>(kCategoryMaxBytes)) cut.chop(1);
    c_->cbKubun->lineEdit()->setText(cut);
    c_->cbKubun->lineEdit()->setCursorPosition(static_cast<int>(cut.size()));
  });
  g->addWidget(Label(QStringLiteral("社員区分"), box), row, 0);
  g->addWidget(c_->cbKubun, row, 1);

  c_->cbKeitai = new QComboBox(box);
  c_->cbKeitai->setObjectName(QStringLiteral("cbKeitai"));
  for (const char* text : kPayFormTexts) c_->cbKeitai->addItem(ui::FromUtf8(text));
  connect(c_->cbKeitai, &QComboBox::currentIndexChanged, this, [this] { ApplyEnabling(); });
  g->addWidget(Label(QStringLiteral("支給形態"), box), row, 2);
  g->addWidget(c_->cbKeitai, row++, 3);

  auto* tax = new QGroupBox(QStringLiteral("税額表"), box);
  tax->setObjectName(QStringLiteral("gbZeigaku"));
  auto* taxRow = new QHBoxLayout(tax);
  c_->rbZeigaku0 = new QRadioButton(QStringLiteral("甲欄"), tax);
  c_->rbZeigaku0->setObjectName(QStringLiteral("rbZeigaku0"));
  c_->rbZeigaku1 = new QRadioButton(QStringLiteral("乙欄"), tax);
  c_->rbZeigaku1->setObjectName(QStringLiteral("rbZeigaku1"));
  taxRow->addWidget(c_->rbZeigaku0);
  taxRow->addWidget(c_->rbZeigaku1);
  g->addWidget(tax, row, 0, 1, 2);
  c_->cbGenkin = new QCheckBox(QStringLiteral("現金支給"), box);
  c_->cbGenkin->setObjectName(QStringLiteral("cbGenkin"));
  g->addWidget(c_->cbGenkin, row++, 2, 1, 2);

  auto* counts = new QHBoxLayout;
  c_->edFuyou = MakeNumEdit("edFuyou", 20, 2);
  c_->edSinzoku = MakeNumEdit("edSinzoku", 20, 2);
  counts->addWidget(c_->edFuyou);
  counts->addWidget(Label(QStringLiteral("人"), box));
  counts->addSpacing(16);
  counts->addWidget(Label(QStringLiteral("扶養親族等の数"), box));
  counts->addWidget(c_->edSinzoku);
  counts->addWidget(Label(QStringLiteral("人"), box));
  counts->addStretch(1);
  g->addWidget(Label(QStringLiteral("扶養人数"), box), row, 0);
  g->addLayout(counts, row++, 1, 1, 3);

  c_->cbSeibetu = new QComboBox(box);
  c_->cbSeibetu->setObjectName(QStringLiteral("cbSeibetu"));
  for (const char* text : kSexTexts) c_->cbSeibetu->addItem(ui::FromUtf8(text));
  g->addWidget(Label(QStringLiteral("性　別"), box), row, 0);
  g->addWidget(c_->cbSeibetu, row++, 1);

  c_->edMailAdrs = new ui::TextEdit(kMailMaxBytes, box);
  c_->edMailAdrs->setObjectName(QStringLiteral("edMailAdrs"));
  c_->edMailAdrs->setAttribute(Qt::WA_InputMethodEnabled, false);
  g->addWidget(Label(QStringLiteral("ﾒｰﾙｱﾄﾞﾚｽ"), box), row, 0);
  g->addWidget(c_->edMailAdrs, row++, 1, 1, 3);

  auto* birth = new QHBoxLayout;
  c_->edBirthDate = new QLineEdit(box);
  c_->edBirthDate->setObjectName(QStringLiteral("edBirthDate"));
  c_->edBirthDate->setPlaceholderText(QStringLiteral("S55.4.1 / 1980-04-01"));
  c_->edBirthDate->setMaxLength(20);
  c_->lbAge = Label(QString(), box, "lbAge");
  birth->addWidget(c_->edBirthDate);
  birth->addWidget(c_->lbAge);
  birth->addStretch(1);
  g->addWidget(Label(QStringLiteral("生年月日"), box), row, 0);
  g->addLayout(birth, row++, 1, 1, 3);
  connect(c_->edBirthDate, &QLineEdit::editingFinished, this, [this] { ShowBirthDate(BirthDateFromControl()); });

  auto* retire = new QHBoxLayout;
  c_->cbTaisyo = new QCheckBox(QStringLiteral("退職者"), box);
  c_->cbTaisyo->setObjectName(QStringLiteral("cbTaisyo"));
  connect(c_->cbTaisyo, &QCheckBox::clicked, this, [this] { cbTaisyoClick(); });
  retire->addWidget(c_->cbTaisyo);
  const char* taiNames[] = {"edTaiYY", "edTaiMM", "edTaiDD"};
  const char* taiLabels[] = {"lbTaiDate", "lbTaiYY", "lbTaiMM", "lbTaiDD"};
  const QString taiTexts[] = {QStringLiteral("（退職日:"), QStringLiteral("年"), QStringLiteral("月"),
                              QStringLiteral("日）")};
  for (int i = 0; i < 4; ++i) {
    c_->lbTai[i] = Label(taiTexts[i], box, taiLabels[i]);
    retire->addWidget(c_->lbTai[i]);
    if (i < 3) {
      c_->edTai[i] = MakeNumEdit(taiNames[i], 20, 2);
      retire->addWidget(c_->edTai[i]);
    }
  }
  retire->addStretch(1);
  g->addLayout(retire, row++, 0, 1, 4);
  g->setColumnStretch(1, 1);
  g->setColumnStretch(3, 1);
  return box;
}

QWidget* TfmMembEdit::BuildPaymentGroup() {
  auto* box = new QGroupBox(QStringLiteral("支給"), this);
  box->setObjectName(QStringLiteral("gbSikyu"));
  auto* g = new QGridLayout(box);
  auto add = [&](int row, int col, const QString& caption, QWidget* field, QLabel** label = nullptr) {
    AddLabelled(g, row, col, caption, field, label);
  };
  c_->edChingin1 = MakeNumEdit("edChingin1", 90, 7);
  add(0, 0, QStringLiteral("基本給"), c_->edChingin1);
  c_->edYakuin = MakeNumEdit("edYakuin", 90, 7);
  add(1, 0, QStringLiteral("役職手当"), c_->edYakuin);
  c_->edFamily = MakeNumEdit("edFamily", 90, 7);
  add(2, 0, QStringLiteral("家族手当"), c_->edFamily);
  const char* teateNames[] = {"edTeate1", "edTeate2", "edTeate3"};
  const char* teateLabels[] = {"lbTeate1", "lbTeate2", "lbTeate3"};
  for (int i = 0; i < 3; ++i) {
    c_->edTeate[i] = MakeNumEdit(teateNames[i], 70, 6);
    add(3 + i, 0, QString(), c_->edTeate[i], &c_->lbTeate[i]);
    c_->lbTeate[i]->setObjectName(QString::fromLatin1(teateLabels[i]));
  }
  c_->edYukyu = MakeNumEdit("edYukyu", 70, 6);
  add(6, 0, QStringLiteral("有休時支給額"), c_->edYukyu, &c_->lbYukyu);
  c_->lbYukyu->setObjectName(QStringLiteral("lbYukyu"));

  const char* overtimeNames[] = {"edChingin2", "edChingin3", "edChingin4", "edChingin5"};
  const QString overtimeCaptions[] = {QStringLiteral("残業手当(普通)"), QStringLiteral("残業手当(深夜)"),
                                      QStringLiteral("休日残業(普通)"), QStringLiteral("休日残業(深夜)")};
  for (int i = 0; i < 4; ++i) {
    c_->edOvertime[i] = MakeNumEdit(overtimeNames[i], 90, 7);
    add(i, 2, overtimeCaptions[i], c_->edOvertime[i]);
  }
  c_->edKoutuhi0 = MakeNumEdit("edKoutuhi0", 90, 7);
  add(4, 2, QStringLiteral("交通費(非課税)"), c_->edKoutuhi0);
  c_->edKoutuhi1 = MakeNumEdit("edKoutuhi1", 90, 7);
  add(5, 2, QStringLiteral("交通費(課税)"), c_->edKoutuhi1);
  c_->cbSikUnit = new QComboBox(box);
  c_->cbSikUnit->setObjectName(QStringLiteral("cbSikUnit"));
  for (const char* text : kCommuteUnitTexts) c_->cbSikUnit->addItem(ui::FromUtf8(text));
  add(6, 2, QStringLiteral("支給単位"), c_->cbSikUnit);
  g->setColumnMinimumWidth(2, 110);
  g->setHorizontalSpacing(10);
  return box;
}

QWidget* TfmMembEdit::BuildDeductionGroup() {
  auto* box = new QGroupBox(QStringLiteral("控除"), this);
  box->setObjectName(QStringLiteral("gbKoujo"));
  auto* g = new QGridLayout(box);
  auto add = [&](int row, int col, const QString& caption, QWidget* field, QLabel** label = nullptr) {
    AddLabelled(g, row, col, caption, field, label);
  };
  c_->edJuumin6 = MakeNumEdit("edJuumin6", 70, 6);
  add(0, 0, QStringLiteral("住民税(6月)"), c_->edJuumin6);
  c_->edJuumin = MakeNumEdit("edJuumin", 70, 6);
  add(1, 0, QStringLiteral("住民税(以外)"), c_->edJuumin);
  c_->edKekkin = MakeNumEdit("edKekkin", 70, 6);
  add(2, 0, QStringLiteral("欠勤控除額"), c_->edKekkin);
  c_->edChisou = MakeNumEdit("edChisou", 70, 6);
  add(3, 0, QStringLiteral("遅早控除額"), c_->edChisou);
  const char* koujoNames[] = {"edKoujo1", "edKoujo2", "edKoujo3"};
  const char* koujoLabels[] = {"lbKoujo1", "lbKoujo2", "lbKoujo3"};
  for (int i = 0; i < 3; ++i) {
    c_->edKoujo[i] = MakeNumEdit(koujoNames[i], 70, 6);
    add(i, 2, QString(), c_->edKoujo[i], &c_->lbKoujo[i]);
    c_->lbKoujo[i]->setObjectName(QString::fromLatin1(koujoLabels[i]));
  }
  g->setColumnMinimumWidth(2, 110);
  g->setHorizontalSpacing(10);
  return box;
}

QWidget* TfmMembEdit::BuildInsuranceGroup() {
  auto* box = new QGroupBox(QStringLiteral("社会保険・雇用保険"), this);
  box->setObjectName(QStringLiteral("gbHoken"));
  auto* g = new QGridLayout(box);
  auto check = [&](const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, box);
    c->setObjectName(QString::fromLatin1(name));
    connect(c, &QCheckBox::toggled, this, [this] { ApplyEnabling(); });
    return c;
  };
  auto premium = [&](int row, QCheckBox* flag, const QString& caption, const char* labelName, QLabel** label,
                     ui::NumEdit* field, int indent) {
    auto* line = new QHBoxLayout;
    line->addSpacing(indent);
    line->addWidget(flag);
    g->addLayout(line, row, 0);
    *label = Label(caption, box, labelName);
    g->addWidget(*label, row, 1);
    g->addWidget(field, row, 2);
  };
  c_->cbKoyou = check("cbKoyou", QStringLiteral("雇用保険対象者"));
  g->addWidget(c_->cbKoyou, 0, 0);
  c_->cbKenkou = check("cbKenkou", QStringLiteral("健康保険対象者"));
  c_->edKenhoRyo = MakeNumEdit("edKenhoRyo", 70, 6);
  premium(1, c_->cbKenkou, QStringLiteral("保険料"), "lbKenhoRyo", &c_->lbKenhoRyo, c_->edKenhoRyo, 0);
  c_->edSienRyo = MakeNumEdit("edSienRyo", 70, 6);
  c_->lbSienRyo = Label(QStringLiteral("子ども・子育て支援金"), box, "lbSienRyo");
  g->addWidget(c_->lbSienRyo, 1, 3);
  g->addWidget(c_->edSienRyo, 1, 4);
  c_->cbKaigo = check("cbKaigo", QStringLiteral("介護保険料を徴収"));
  c_->edKaigoRyo = MakeNumEdit("edKaigoRyo", 70, 6);
  premium(2, c_->cbKaigo, QStringLiteral("保険料"), "lbKaigoRyo", &c_->lbKaigoRyo, c_->edKaigoRyo, 20);
  c_->cbNenHoken = check("cbNenHoken", QStringLiteral("厚生年金対象者"));
  c_->edKoseiRyo = MakeNumEdit("edKoseiRyo", 70, 6);
  premium(3, c_->cbNenHoken, QStringLiteral("保険料"), "lbKoseiRyo", &c_->lbKoseiRyo, c_->edKoseiRyo, 0);
  c_->cbNenKikin = check("cbNenKikin", QStringLiteral("厚生年金基金加入"));
  c_->edKakekin = MakeNumEdit("edKakekin", 70, 6);
  premium(4, c_->cbNenKikin, QStringLiteral("掛け金"), "lbKakekin", &c_->lbKakekin, c_->edKakekin, 0);
  g->setColumnStretch(0, 1);
  return box;
}

QWidget* TfmMembEdit::BuildButtons() {
  auto* bar = new QWidget(this);
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 4, 0, 0);
  c_->sbBackData = SpeedButton("sbBackData", QStringLiteral("前のデータ"), bar);
  c_->sbNextData = SpeedButton("sbNextData", QStringLiteral("次のデータ"), bar);
  c_->sbNewBase = SpeedButton("sbNewBase", QStringLiteral("基本に設定"), bar);
  c_->sbAutoSet = SpeedButton("sbAutoSet", QStringLiteral("等級表"), bar);
  c_->sbCalculator = SpeedButton("sbCalculator", QStringLiteral("電卓起動"), bar);
  c_->sbCalculator->setEnabled(false);
  c_->sbTanka = SpeedButton("sbTanka", QStringLiteral("単価計算"), bar);
  c_->sbTanka->setToolTip(QStringLiteral("残業単価・欠勤控除額・遅早控除額を法定の割増率で計算します"));
  connect(c_->sbTanka, &QToolButton::clicked, this, [this] { sbTankaClick(); });
  connect(c_->sbBackData, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(c_->sbNextData, &QToolButton::clicked, this, [this] { Step(+1); });
  connect(c_->sbNewBase, &QToolButton::clicked, this, [this] { sbNewBaseClick(); });
  connect(c_->sbAutoSet, &QToolButton::clicked, this, [this] { sbAutoSetClick(); });
  connect(c_->sbCalculator, &QToolButton::clicked, this, [this] { sbCalculatorClick(); });
  for (QToolButton* b :
       {c_->sbBackData, c_->sbNextData, c_->sbNewBase, c_->sbAutoSet, c_->sbCalculator, c_->sbTanka}) {
    row->addWidget(b);
  }
  row->addStretch(1);
  c_->bbOk = new QPushButton(QStringLiteral("ＯＫ"), bar);
  c_->bbOk->setObjectName(QStringLiteral("bbOk"));
  c_->bbCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), bar);
  c_->bbCancel->setObjectName(QStringLiteral("bbCancel"));
  for (QPushButton* b : {c_->bbOk, c_->bbCancel}) {
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    row->addWidget(b);
  }
  connect(c_->bbOk, &QPushButton::clicked, this, [this] { bbOkClick(); });
  connect(c_->bbCancel, &QPushButton::clicked, this, &QDialog::reject);
  return bar;
}

// ---------------------------------------------------------------------------------------------
// Showing

void TfmMembEdit::SetSlot(int slot) { slot_ = slot; }
void TfmMembEdit::SetNewEmployee() { slot_ = 0; }

bool TfmMembEdit::EditSlot(int slot) {
  SetSlot(slot);
  return exec() == QDialog::Accepted;
}

bool TfmMembEdit::EditNew() {
  SetNewEmployee();
  return exec() == QDialog::Accepted;
}

void TfmMembEdit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
  if (!activatedOnce_) {
    activatedOnce_ = true;
    if (state_.firstRun) {
      QTimer::singleShot(0, this, [this] { dialogs_.Information(kFirstRunInfo); });
    }
  }
}

void TfmMembEdit::FormShow() {
  storedSlot_ = 0;
  const Options& o = state_.options;
  for (int i = 0; i < 3; ++i) {
    c_->lbTeate[i]->setText(ui::FromUtf8(o.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedAllowance1) + i))));
    c_->lbKoujo[i]->setText(ui::FromUtf8(o.Name(static_cast<UserItem>(static_cast<int>(UserItem::FixedDeduction1) + i))));
  }
  if (slot_ == 0) ResetToDefaults();
  ShowRecord();
}

void TfmMembEdit::ResetToDefaults() {
  working_ = NewEmployeeDefaults();
  try {
    if (std::optional<EmployeeRecord> base = ReadEmployeeTemplate(state_.paths.employeeTemplate)) {
      working_ = *base;
      ClearForTemplate(working_);  // a template never hands on an employee key
      working_.SetBirthDate(0);    // nor a birth date
    }
  } catch (const YearFileError& e) {
    // The new employee starts from the built-in defaults.
    dialogs_.Error(e.UserText());
  }
}

void TfmMembEdit::ShowRecord() {
  if (slot_ > 0) working_ = state_.Period().Employee(slot_);
  state_.selectedGrade = working_.Grade();
  FillControls(EntryFromRecord(working_));
  ShowBirthDate(working_.BirthDate());
  ApplyEnabling();
  // The change check compares with the record as these controls write it, so that bytes the
  // controls do not hold (stale string tails, reserved areas) never count as a change.
  original_ = RecordFromControls(working_, working_.Key());
  UpdateSteppingButtons();
  c_->edSimei->setFocus(Qt::OtherFocusReason);
  current_ = c_->edSimei;
  c_->sbCalculator->setEnabled(false);
}

void TfmMembEdit::FillControls(const EmployeeEntry& e) {
  c_->edSimei->setText(ui::FromUtf8(e.name));
  c_->edBusyo->setText(ui::FromUtf8(e.department));
  if (e.categoryIndex >= 0 && e.categoryIndex < c_->cbKubun->count()) {
    c_->cbKubun->setCurrentIndex(e.categoryIndex);
  } else {
    c_->cbKubun->setCurrentIndex(-1);
  }
  c_->cbKubun->setEditText(ui::FromUtf8(e.categoryText));
  {
    const QSignalBlocker block(c_->cbKeitai);
    c_->cbKeitai->setCurrentIndex(e.payForm >= 1 && e.payForm <= 3 ? e.payForm - 1 : -1);
  }
  c_->rbZeigaku1->setChecked(e.taxColumn == 1);
  c_->rbZeigaku0->setChecked(e.taxColumn != 1);
  c_->cbGenkin->setChecked(e.paidInCash);
  c_->cbSeibetu->setCurrentIndex(e.sex >= 1 && e.sex <= 2 ? e.sex : 0);
  c_->edMailAdrs->setText(ui::FromUtf8(e.mail));
  const bool retired = !RetirementDateFromFields(e.retirement).empty();
  c_->cbTaisyo->setChecked(retired);
  for (int i = 0; i < 3; ++i) c_->edTai[i]->setText(retired ? TwoDigits(e.retirement[i]) : QString());
  c_->edFuyou->SetValue(e.dependants);
  c_->edSinzoku->SetValue(e.taxDependants);
  c_->edChingin1->SetValue(e.basePay);
  c_->edYakuin->SetValue(e.positionAllowance);
  c_->edFamily->SetValue(e.familyAllowance);
  for (int i = 0; i < 4; ++i) c_->edOvertime[i]->SetValue(e.overtimePrice[i]);
  c_->edKoutuhi0->SetValue(e.commuteNonTaxable);
  c_->edKoutuhi1->SetValue(e.commuteTaxable);
  c_->cbSikUnit->setCurrentIndex(e.commuteUnit >= 1 && e.commuteUnit <= 11 ? e.commuteUnit - 1 : -1);
  c_->edJuumin6->SetValue(e.residentTaxJune);
  c_->edJuumin->SetValue(e.residentTaxOther);
  for (int i = 0; i < 3; ++i) {
    c_->edTeate[i]->SetValue(e.fixedAllowance[i]);
    c_->edKoujo[i]->SetValue(e.fixedDeduction[i]);
  }
  c_->edYukyu->SetValue(e.paidLeavePay);
  c_->edKekkin->SetValue(e.absenceDeduction);
  c_->edChisou->SetValue(e.latenessDeduction);
  c_->cbKoyou->setChecked(e.employmentSubject);
  c_->cbKenkou->setChecked(e.healthSubject);
  c_->edKenhoRyo->SetValue(e.healthPremium);
  c_->edSienRyo->SetValue(e.levyPremium);
  c_->cbKaigo->setChecked(e.nursingCollected);
  c_->edKaigoRyo->SetValue(e.nursingPremium);
  c_->cbNenHoken->setChecked(e.pensionSubject);
  c_->edKoseiRyo->SetValue(e.pensionPremium);
  c_->cbNenKikin->setChecked(e.fundMember);
  c_->edKakekin->SetValue(e.fundContribution);
  for (ui::NumEdit* n : c_->numEdits) n->setProperty(kTypingLimit, n->property(kBaseLimit));
}

EmployeeEntry TfmMembEdit::ReadControls() const {
  EmployeeEntry e;
  e.name = ui::ToUtf8(c_->edSimei->text());
  e.department = ui::ToUtf8(c_->edBusyo->text());
  const QString category = c_->cbKubun->currentText();
  e.categoryIndex = static_cast<std::int32_t>(c_->cbKubun->findText(category, Qt::MatchExactly));
  e.categoryText = ui::ToUtf8(category);
  e.payForm = c_->cbKeitai->currentIndex() + 1;
  e.taxColumn = c_->rbZeigaku1->isChecked() ? 1 : 0;
  e.paidInCash = c_->cbGenkin->isChecked();
  e.sex = c_->cbSeibetu->currentIndex() == 1 || c_->cbSeibetu->currentIndex() == 2 ? c_->cbSeibetu->currentIndex() : 0;
  e.mail = ui::ToUtf8(c_->edMailAdrs->text());
  for (int i = 0; i < 3; ++i) e.retirement[i] = ui::ToUtf8(c_->edTai[i]->text());
  e.dependants = FieldInt(c_->edFuyou);
  e.taxDependants = FieldInt(c_->edSinzoku);
  e.basePay = FieldInt(c_->edChingin1);
  e.positionAllowance = FieldInt(c_->edYakuin);
  e.familyAllowance = FieldInt(c_->edFamily);
  for (int i = 0; i < 4; ++i) e.overtimePrice[i] = FieldInt(c_->edOvertime[i]);
  e.commuteNonTaxable = FieldInt(c_->edKoutuhi0);
  e.commuteTaxable = FieldInt(c_->edKoutuhi1);
  e.commuteUnit = c_->cbSikUnit->currentIndex() + 1;
  e.residentTaxJune = FieldInt(c_->edJuumin6);
  e.residentTaxOther = FieldInt(c_->edJuumin);
  for (int i = 0; i < 3; ++i) {
    e.fixedAllowance[i] = FieldInt(c_->edTeate[i]);
    e.fixedDeduction[i] = FieldInt(c_->edKoujo[i]);
  }
  e.paidLeavePay = FieldInt(c_->edYukyu);
  e.absenceDeduction = FieldInt(c_->edKekkin);
  e.latenessDeduction = FieldInt(c_->edChisou);
  e.employmentSubject = c_->cbKoyou->isChecked();
  e.healthSubject = c_->cbKenkou->isChecked();
  e.healthPremium = FieldInt(c_->edKenhoRyo);
  e.levyPremium = FieldInt(c_->edSienRyo);
  e.nursingCollected = c_->cbKaigo->isChecked();
  e.nursingPremium = FieldInt(c_->edKaigoRyo);
  e.pensionSubject = c_->cbNenHoken->isChecked();
  e.pensionPremium = FieldInt(c_->edKoseiRyo);
  e.fundMember = c_->cbNenKikin->isChecked();
  e.fundContribution = FieldInt(c_->edKakekin);
  e.grade = static_cast<std::uint16_t>(state_.selectedGrade);
  return e;
}

EmployeeRecord TfmMembEdit::RecordFromControls(const EmployeeRecord& base, const std::string& key) const {
  EmployeeRecord r = base;
  EmployeeEntry e = ReadControls();
  // Texts without a Shift-JIS form cannot be in the file; for the comparison they count as empty.
  try {
    WriteEntry(e, r, [&key] { return key; });
  } catch (const EncodingError&) {
    r.Clear();
    r.SetKey(key);
  }
  r.SetBirthDate(BirthDateFromControl().value_or(-1));  // a date not understood counts as a change
  return r;
}

void TfmMembEdit::ApplyEnabling() {
  const bool health = c_->cbKenkou->isChecked();
  c_->edKenhoRyo->setEnabled(health);
  c_->lbKenhoRyo->setEnabled(health);
  c_->edSienRyo->setEnabled(health);
  c_->lbSienRyo->setEnabled(health);
  c_->cbKaigo->setEnabled(health);
  const bool nursing = c_->cbKaigo->isChecked();
  c_->edKaigoRyo->setEnabled(nursing);
  c_->lbKaigoRyo->setEnabled(nursing);
  const bool pension = c_->cbNenHoken->isChecked();
  c_->edKoseiRyo->setEnabled(pension);
  c_->lbKoseiRyo->setEnabled(pension);
  const bool fund = c_->cbNenKikin->isChecked();
  c_->edKakekin->setEnabled(fund);
  c_->lbKakekin->setEnabled(fund);
  const bool byDayOrHour = c_->cbKeitai->currentIndex() == 1 || c_->cbKeitai->currentIndex() == 2;
  c_->edYukyu->setEnabled(byDayOrHour);
  c_->lbYukyu->setEnabled(byDayOrHour);
  const bool retired = c_->cbTaisyo->isChecked();
  for (QLabel* l : c_->lbTai) l->setEnabled(retired);
  for (ui::NumEdit* e : c_->edTai) e->setEnabled(retired);
}

void TfmMembEdit::UpdateSteppingButtons() {
  c_->sbBackData->setEnabled(slot_ > 1);
  c_->sbNextData->setEnabled(slot_ >= 1 && slot_ <= kSlotCount - 1 && state_.Period().Employee(slot_ + 1).InUse());
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfmMembEdit::Step(int delta) {
  if (slot_ == 0) return;
  const EmployeeRecord now = RecordFromControls(working_, working_.Key());
  if (now.bytes != original_.bytes) {
    dialogs_.Warning(kChangedText);
    FocusBack();
    return;
  }
  const int target = slot_ + delta;
  if (target < 1 || target > kSlotCount || !state_.Period().Employee(target).InUse()) return;
  slot_ = target;
  ShowRecord();
}

std::string TfmMembEdit::MakeKey() const { return UniqueEmployeeKey(state_.Period(), clock()); }

void TfmMembEdit::bbOkClick() {
  EmployeeEntry e = ReadControls();
  if (std::optional<EntryProblem> problem = CheckEntry(e)) {
    dialogs_.Error(problem->message);
    QWidget* field = c_->edSimei;
    switch (problem->field) {
      case EntryField::Name: field = c_->edSimei; break;
      case EntryField::Department: field = c_->edBusyo; break;
      case EntryField::Category: field = c_->cbKubun; break;
      case EntryField::BasePay: field = c_->edChingin1; break;
      case EntryField::Mail: field = c_->edMailAdrs; break;
    }
    field->setFocus(Qt::OtherFocusReason);
    return;
  }
  const std::optional<std::int32_t> birthDate = BirthDateFromControl();
  if (!birthDate) {
    dialogs_.Error(kBirthDateError);
    c_->edBirthDate->setFocus(Qt::OtherFocusReason);
    return;
  }
  e.name = ui::ToUtf8(c_->edSimei->CutText());
  e.department = ui::ToUtf8(c_->edBusyo->CutText());
  EmployeeRecord record = working_;
  WriteEntry(e, record, [this] { return MakeKey(); });
  record.SetBirthDate(*birthDate);

  PeriodBlock& period = state_.Period();
  int stored = slot_;
  if (slot_ > 0) {
    period.Employee(slot_) = record;
  } else {
    stored = StoreNewEmployee(period, state_.PeriodIndex(), record);
    if (stored == 0) {
      // Every slot is taken: storing nothing and reporting success would lose the entries.
      dialogs_.Error(kNoFreeSlot);
      return;
    }
  }
  working_ = record;
  storedSlot_ = stored;
  try {
    state_.RecalculateSlot(stored);
  } catch (const std::exception& error) {
    // The record is stored; the sheet's next recalculation reports the same again.
    dialogs_.Error(error.what());
  }
  accept();
}

void TfmMembEdit::sbNewBaseClick() {
  const ui::MsgAnswer answer = dialogs_.Message(ui::MsgKind::Confirmation, kTemplateQuestion, ui::MsgButtons::YesNoCancel);
  try {
    if (answer == ui::MsgAnswer::Yes) {
      EmployeeRecord base;
      try {
        WriteEntry(ReadControls(), base, [] { return std::string(); });
      } catch (const EncodingError&) {
        dialogs_.Error(kNotEncodable);
        FocusBack();
        return;
      }
      ClearForTemplate(base);
      WriteEmployeeTemplate(state_.paths.employeeTemplate, base);
      dialogs_.Notice(kTemplateSaved, kNoticeMilliseconds);
    } else if (answer == ui::MsgAnswer::No) {
      if (dialogs_.Confirm(kTemplateRemoveQuestion)) {
        RemoveEmployeeTemplate(state_.paths.employeeTemplate);
        if (slot_ == 0) {
          working_ = NewEmployeeDefaults();
          ShowRecord();
        }
        dialogs_.Notice(kTemplateRemoved, kNoticeMilliseconds);
      }
    }
  } catch (const YearFileError& error) {
    dialogs_.Error(error.UserText());
  }
  FocusBack();
}

void TfmMembEdit::sbAutoSetClick() {
  if (!state_.gradeQuestionAsked) {
    if (!dialogs_.Confirm(kGradeQuestion)) {
      FocusBack();
      return;
    }
    state_.gradeQuestionAsked = true;
  }
  if (chooseGrade(this)) {
    try {
      const GradePremiums p = PremiumsFromGrade(state_.tables, state_.Period().company, state_.selectedGrade);
      c_->edKenhoRyo->setText(Amount(70, p.health));
      c_->edKaigoRyo->setText(Amount(70, p.nursing));
      c_->edSienRyo->setText(Amount(70, p.levy));
      c_->edKoseiRyo->setText(Amount(70, p.pension));
      c_->edKakekin->setText(Amount(70, p.pensionFund));
    } catch (const std::exception& error) {
      dialogs_.Error(error.what());
    }
  }
  FocusBack();
}

void TfmMembEdit::sbCalculatorClick() {
  auto* field = qobject_cast<ui::NumEdit*>(current_);
  if (!field) return;
  if (std::optional<long double> value = runCalculator()) {
    field->setText(ui::FromUtf8(CalculatorFieldText(*value, field->FormatCode())));
  }
  field->setFocus(Qt::OtherFocusReason);
}

void TfmMembEdit::sbTankaClick() {
  const EmployeeRecord now = RecordFromControls(working_, working_.Key());
  const CivilDate today = Today();
  const UnitPriceResult result =
      SuggestUnitPrices(now, state_.Period().company, state_.options, today.year * 10000 + today.month * 100 + today.day);
  if (result.problem) {
    dialogs_.Error(UnitPriceProblemText(*result.problem));
  } else if (dialogs_.Confirm(UnitPriceQuestion(*result.prices))) {
    const SuggestedUnitPrices& p = *result.prices;
    for (int i = 0; i < 4; ++i) c_->edOvertime[i]->setText(Amount(90, p.overtime[i]));
    if (p.absencePerDay) c_->edKekkin->setText(Amount(70, *p.absencePerDay));
    if (p.latenessPerHour) c_->edChisou->setText(Amount(70, *p.latenessPerHour));
  }
  FocusBack();
}

void TfmMembEdit::cbTaisyoClick() {
  if (c_->cbTaisyo->isChecked()) {
    const std::array<std::string, 3> today = RetirementFieldsOf(Today());
    for (int i = 0; i < 3; ++i) c_->edTai[i]->setText(ui::FromUtf8(today[i]));
  } else {
    for (ui::NumEdit* e : c_->edTai) e->clear();
  }
  ApplyEnabling();
}

void TfmMembEdit::FocusBack() {
  if (current_ && current_->isEnabled()) current_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Fields

void TfmMembEdit::FieldEntered(QWidget* field) {
  if (qobject_cast<QAbstractButton*>(field) && field->focusPolicy() == Qt::NoFocus) return;
  if (field == c_->bbOk || field == c_->bbCancel) return;
  // The line edit of 社員区分 stands for its combo box.
  if (field == c_->cbKubun->lineEdit()) field = c_->cbKubun;
  current_ = field;
  auto* numeric = qobject_cast<ui::NumEdit*>(field);
  c_->sbCalculator->setEnabled(numeric != nullptr);
  if (numeric) {
    // A formatted amount is longer than the field's own length; it may be typed over whole.
    const int length = static_cast<int>(numeric->text().size());
    const int code = numeric->FormatCode();
    const bool formatted = (code == 70 && length == 7) || (code == 90 && length == 9);
    numeric->setProperty(kTypingLimit, formatted ? length : numeric->property(kBaseLimit).toInt());
  }
}

void TfmMembEdit::FieldLeft(ui::NumEdit* field) {
  field->setProperty(kTypingLimit, field->property(kBaseLimit));
  // An amount field shows 0 when it was left empty or its text was rejected.
  if (field->FormatCode() != 20 && field->text().isEmpty()) field->setText(Amount(field->FormatCode(), 0));
}

bool TfmMembEdit::NumericKey(ui::NumEdit* field, QKeyEvent* key) {
  const QString typed = key->text();
  if (typed.size() != 1 || !typed.at(0).isDigit() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
    return false;  // the field itself accepts or beeps
  }
  const int limit = field->property(kTypingLimit).toInt();
  const qsizetype length = ui::LengthAfterTyping(*field, typed, state_.options.inputOverwrite);
  if (length <= limit) return false;
  dialogs_.Beep();
  return true;
}

bool TfmMembEdit::KubunKey(QKeyEvent* key) {
  if (key->key() == Qt::Key_Backspace) {
    dialogs_.Information(kBackSpaceInfo);
    return true;
  }
  return false;
}

bool TfmMembEdit::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() == Qt::Key_PageDown || key->key() == Qt::Key_PageUp) {
    QToolButton* button = key->key() == Qt::Key_PageDown ? c_->sbBackData : c_->sbNextData;
    if (button->isEnabled()) button->click();
    return true;
  }
  if (watched == c_->cbKubun || watched == c_->cbKubun->lineEdit()) return KubunKey(key);
  if (watched == c_->cbKeitai || watched == c_->cbSikUnit) {
    // The fixed lists take digits only (their keyboard search); any other character beeps.
    const QString typed = key->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !typed.at(0).isDigit()) {
      dialogs_.Beep();
      return true;
    }
    return false;
  }
  if (auto* numeric = qobject_cast<ui::NumEdit*>(watched)) return NumericKey(numeric, key);
  return QDialog::eventFilter(watched, event);
}

}  // namespace paylark::screens

namespace paylark::screens {

CivilDate TfmMembEdit::TodayFromClock() const {
  const std::time_t now = clock();
  std::tm local{};
  localtime_r(&now, &local);
  return CivilDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::optional<std::int32_t> TfmMembEdit::BirthDateFromControl() const {
  const std::string text = ui::ToUtf8(c_->edBirthDate->text());
  if (text.find_first_not_of(' ') == std::string::npos) return 0;
  const std::optional<CivilDate> date = ParseBirthDate(text, TodayFromClock());
  if (!date) return std::nullopt;
  return date->year * 10'000 + date->month * 100 + date->day;
}

void TfmMembEdit::ShowBirthDate(std::optional<std::int32_t> yyyymmdd) {
  if (!yyyymmdd) {
    c_->lbAge->clear();  // kept as typed until it is corrected
    return;
  }
  c_->edBirthDate->setText(ui::FromUtf8(BirthDateText(*yyyymmdd)));
  if (*yyyymmdd == 0) {
    c_->lbAge->clear();
    return;
  }
  const CivilDate birth{*yyyymmdd / 10'000, *yyyymmdd / 100 % 100, *yyyymmdd % 100};
  c_->lbAge->setText(QStringLiteral("（満%1歳）").arg(AgeOn(birth, TodayFromClock())));
}

}  // namespace paylark::screens
