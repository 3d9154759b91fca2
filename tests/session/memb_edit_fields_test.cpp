#include "session/memb_edit_fields.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "session/memb_edit_rules.h"

namespace paylark {
namespace {

using screens::MembFieldRow;
using screens::MembFields;

// What every record accessor of the table reads from a record, by row.
std::vector<std::string> ReadAll(const EmployeeRecord& r) {
  std::vector<std::string> values;
  for (const MembFieldRow& row : MembFields()) {
    std::string v;
    if (row.number.get) v += std::to_string(row.number.get(r));
    if (row.flag.get) v += row.flag.get(r) ? "+" : "-";
    if (row.text.get) v += "|" + row.text.get(r);
    values.push_back(v);
  }
  return values;
}

// A control written through its row reaches its own record field and no other: a row pointing at
// a neighbour's setter or getter would show here.
TEST(MembEditFieldsTest, EveryRowWritesItsOwnRecordFieldAndItsOwnEntryMember) {
  const EmployeeRecord blank;
  const std::vector<std::string> before = ReadAll(blank);
  const auto rows = MembFields();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MembFieldRow& row = rows[i];
    if (!row.number.set && !row.flag.set && !row.text.set) continue;
    EmployeeRecord r;
    if (row.number.set) row.number.set(r, row.id == screens::MembField::Sex ? 2 : 7);
    if (row.flag.set) row.flag.set(r, true);
    if (row.text.set) row.text.set(r, "ABC");
    const std::vector<std::string> after = ReadAll(r);
    EXPECT_NE(after[i], before[i]) << row.name;
    for (std::size_t j = 0; j < rows.size(); ++j) {
      const bool shared = rows[j].number.get == row.number.get && row.number.get;  // the two 税額表 buttons
      if (j != i && !shared) {
        EXPECT_EQ(after[j], before[j]) << row.name << " changed " << rows[j].name;
      }
    }
  }

  screens::EmployeeEntry entry;
  std::set<const void*> members;
  for (const MembFieldRow& row : rows) {
    if (row.kind == screens::FieldKind::Radio && row.firstValue != 0) continue;  // one member, two buttons
    if (row.number.entry) {
      EXPECT_TRUE(members.insert(&row.number.entry(entry)).second) << row.name;
    }
    if (row.flag.entry) {
      EXPECT_TRUE(members.insert(&row.flag.entry(entry)).second) << row.name;
    }
    if (row.text.entry) {
      EXPECT_TRUE(members.insert(&row.text.entry(entry)).second) << row.name;
    }
  }
}

TEST(MembEditFieldsTest, PickListsAndRadioButtonsByValue) {
  const MembFieldRow& payForm = screens::MembFieldOf(screens::MembField::PayForm);
  EXPECT_EQ(screens::ChoiceIndex(payForm, 1), 0);
  EXPECT_EQ(screens::ChoiceIndex(payForm, 3), 2);
  EXPECT_EQ(screens::ChoiceIndex(payForm, 4), -1);
  EXPECT_EQ(screens::ChoiceIndex(payForm, 0), -1);
  EXPECT_EQ(screens::ChoiceValue(payForm, -1), 0);  // nothing chosen keeps an unknown code
  EXPECT_EQ(screens::RadioFor(1).name, std::string("rbZeigaku1"));
  EXPECT_EQ(screens::RadioFor(5).name, std::string("rbZeigaku0"));
}

}  // namespace
}  // namespace paylark
