#include "queues/model_table.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr const char kModelsTsv[] =
#include "models_tsv.inc"
    ;

std::vector<ModelRow> parseTable() {
  std::vector<ModelRow> rows;
  std::istringstream in(kModelsTsv);
  for (std::string line; std::getline(in, line);) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    rows.push_back({line.substr(0, tab),
                    static_cast<std::uint32_t>(std::strtoul(line.c_str() + tab + 1, nullptr, 10))});
  }
  return rows;
}

}  // namespace

const std::vector<ModelRow>& modelTable() {
  static const std::vector<ModelRow> rows = parseTable();
  return rows;
}

const ModelRow* findModel(std::string_view text) {
  for (const ModelRow& row : modelTable())
    if (text.find(row.name) != std::string_view::npos) return &row;
  return nullptr;
}
