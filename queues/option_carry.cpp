#include "queues/option_carry.h"

#include <algorithm>

#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"
#include "queues/ppd_file.h"

namespace {
bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }
}  // namespace

int getPpdDefaults(const std::string& ppdPath, OptList* list, int& count) {
  const auto options = readPpdOptions(ppdPath, /*topLevelOnly=*/true);
  if (!options) {
    std::fputs(format(text(Msg::UnableToOpenPpd), ppdPath).c_str(), stderr);
    return 0;
  }
  int entries = 0;
  for (const PpdOption& option : *options) {
    for (const std::string& choice : option.choices) {
      if (choice != option.defaultChoice) continue;
      auto* entry = new OptList{};
      entry->keyword = option.keyword.substr(0, kOptionWordMax);
      entry->choice = choice.substr(0, kOptionWordMax);
      entry->index = ++entries;
      addOptList(list, entry);
    }
  }
  count = entries;
  return count;
}

std::optional<std::string> parseDefaultLine(std::string_view line, std::string& value) {
  constexpr std::string_view kDefault = "*Default";
  const std::size_t at = line.find(kDefault);
  if (contains(line, "*DefaultColorSep") || at == std::string_view::npos) return std::nullopt;
  std::size_t pos = at + kDefault.size();
  const std::size_t nameEnd = std::min(line.find_first_of(" :", pos), line.size());
  std::string name = "*" + std::string(line.substr(pos, nameEnd - pos));
  pos = nameEnd;
  if (pos < line.size() && line[pos] == ':') ++pos;
  while (pos < line.size() && line[pos] == ' ') ++pos;
  const std::size_t valueEnd = std::min(line.find_first_of(" \n\r", pos), line.size());
  value = std::string(line.substr(pos, valueEnd - pos));
  return name;
}

OptList* findOption(OptList* list, std::string_view name) {
  if (list == nullptr || name.empty() || list->next == nullptr) return nullptr;
  const std::string_view keyword = name.substr(1);
  for (OptList* entry = list->next; entry != list; entry = entry->next)
    if (entry->keyword == keyword) return entry;
  return nullptr;
}

int processNewPPD(std::FILE* in, std::FILE* out, OptList* list, int optionCount) {
  logMsg(Msg::ProcessNewPpd, optionCount);
  bool inside = false;
  for (std::string line; readPart(in, line);) {
    const bool inBlock = inside ? !contains(line, "*CloseUI") : contains(line, "*OpenUI");
    inside = inBlock;
    std::string value;
    std::optional<std::string> name;
    if (inBlock && contains(line, "*Default")) name = parseDefaultLine(line, value);
    if (!name) {
      writeText(out, line);
      continue;
    }
    while (!name->empty() && (name->back() == '\n' || name->back() == '\r' || name->back() == ' '))
      name->pop_back();
    if (state.debugLevel > 0) logMsg(Msg::ProcessNewPpdOption, *name);
    if (const OptList* entry = findOption(list, *name)) {
      logMsg(Msg::SettingNewOption, *name, entry->choice);
      if (!entry->choice.empty()) value = entry->choice;
    }
    writeText(out, format("*Default%s: %s\n", name->substr(std::min<std::size_t>(1, name->size())), value));
    std::fflush(out);
  }
  return 0;
}

bool dropUnofferedDefaults(const std::string& newPpd, OptList* list) {
  const auto options = readPpdOptions(newPpd, /*topLevelOnly=*/false);
  if (!options) return false;
  for (OptList* entry = list->next; entry != list;) {
    OptList* following = entry->next;
    const auto option = std::find_if(options->begin(), options->end(),
                                      [&](const PpdOption& o) { return o.keyword == entry->keyword; });
    if (option != options->end() &&
        std::find(option->choices.begin(), option->choices.end(), entry->choice) == option->choices.end()) {
      logMsg(Msg::DefaultNotOffered, entry->keyword, option->defaultChoice, entry->choice);
      removeOptList(entry);
    }
    entry = following;
  }
  return true;
}
