#include "queues/model_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

TEST(ModelTable, HasTheShapeTheLookupReliesOn) {
  const auto& rows = modelTable();
  ASSERT_EQ(rows.size(), 327u);
  std::map<std::uint32_t, int> rowsPerId;
  for (const auto& row : rows) {
    EXPECT_GE(row.name.size(), 10u) << row.name;
    EXPECT_LE(row.name.size(), 28u) << row.name;
    EXPECT_EQ(row.name.rfind("Velor ", 0), 0u) << row.name;
    EXPECT_GE(row.id, 1u);
    EXPECT_LE(row.id, 326u);
    ++rowsPerId[row.id];
  }
  EXPECT_EQ(rowsPerId.size(), 325u);
  EXPECT_EQ(rowsPerId.count(184), 0u);
  int idsOnTwoRows = 0;
  for (const auto& [id, n] : rowsPerId) {
    EXPECT_LE(n, 2) << id;
    idsOnTwoRows += n == 2;
  }
  EXPECT_EQ(idsOnTwoRows, 2);

  // Exactly two names contain another row's name, always an earlier one.
  std::vector<std::pair<std::size_t, std::size_t>> contained;
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j < rows.size(); ++j)
      if (i != j && rows[j].name.find(rows[i].name) != std::string::npos) contained.emplace_back(i, j);
  ASSERT_EQ(contained.size(), 2u);
  for (auto [earlier, later] : contained) {
    EXPECT_LT(earlier, later);
    EXPECT_EQ(findModel(rows[later].name), &rows[earlier]) << rows[later].name;
  }
}

TEST(ModelTable, LookupFindsEveryOtherRowByItsOwnNameInAModelText) {
  std::set<std::string> shadowed;
  const auto& rows = modelTable();
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (rows[i].name.find(rows[j].name) != std::string::npos) shadowed.insert(rows[i].name);
  for (const auto& row : rows) {
    if (shadowed.count(row.name)) continue;
    for (const char* type : {" PS", " PCL", " PXL"}) {
      const ModelRow* found = findModel("\"" + row.name + type + "\"");
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(found->name, row.name);
    }
  }
  EXPECT_EQ(findModel("\"Other Maker 1000 PS\""), nullptr);
}
