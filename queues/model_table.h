// The maker's model designations and their model ids, in table order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ModelRow {
  std::string name;
  std::uint32_t id = 0;
};

// The rows of models.tsv (embedded at build time), parsed once.
const std::vector<ModelRow>& modelTable();

// The first row whose name occurs anywhere in text, or nullptr. Row order
// matters: where one name contains an earlier one, the earlier row wins.
const ModelRow* findModel(std::string_view text);
