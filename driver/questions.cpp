#include "driver/questions.h"

#include <array>

#include "driver/messages.h"
#include "driver/text_file.h"

namespace {

constexpr std::array<std::string_view, 4> kYesWords = {"yes", "oui", "ja", "si"};
constexpr std::array<std::string_view, 3> kNoWords = {"no", "nein", "niente"};
constexpr std::array<std::string_view, 4> kAllWords = {"all", "tou", "toda", "tut"};

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool containsIgnoringCase(std::string_view text, std::string_view word) {
  for (std::size_t at = 0; at + word.size() <= text.size(); ++at) {
    bool same = true;
    for (std::size_t i = 0; same && i < word.size(); ++i)
      same = upperAscii(text[at + i]) == upperAscii(word[i]);
    if (same) return true;
  }
  return false;
}

template <std::size_t N>
bool containsAny(std::string_view text, const std::array<std::string_view, N>& words) {
  for (auto word : words)
    if (containsIgnoringCase(text, word)) return true;
  return false;
}

char firstUpper(std::string_view answer) { return answer.empty() ? '\0' : upperAscii(answer[0]); }

int ask(std::string_view question, Msg hint, int (*read)(std::FILE*)) {
  std::fwrite(question.data(), 1, question.size(), stdout);
  std::fprintf(stdout, "\n%s ", text(hint));
  std::fflush(stdout);
  return read(stdin);
}

}  // namespace

int classifyYesNo(std::string_view answer) {
  if (containsAny(answer, kYesWords)) return kAnswerYes;
  if (containsAny(answer, kNoWords)) return kAnswerNo;
  const char first = firstUpper(answer);
  if (first == 'Y' || first == 'O' || first == 'S') return kAnswerYes;
  if (first == 'N') return kAnswerNo;
  return kAnswerUnknown;
}

int classifyYesNoAll(std::string_view answer) {
  if (containsAny(answer, kYesWords)) return kAnswerYes;
  if (containsAny(answer, kNoWords)) return kAnswerNo;
  if (containsAny(answer, kAllWords)) return kAnswerAll;
  switch (firstUpper(answer)) {
    case 'Y': case 'O': case 'S': return kAnswerYes;
    case 'N': return kAnswerNo;
    case 'A': case 'T': return kAnswerAll;
    case 'B': return kAnswerBreak;
    default: return kAnswerUnknown;
  }
}

std::string readAnswer(std::FILE* in) {
  std::string answer;
  readPart(in, answer);
  while (answer.size() > 1 && (answer.back() == '\n' || answer.back() == '\r')) answer.pop_back();
  return answer;
}

int readYesNo(std::FILE* in) { return classifyYesNo(readAnswer(in)); }
int readYesNoAll(std::FILE* in) { return classifyYesNoAll(readAnswer(in)); }

int askYesNo(std::string_view question) { return ask(question, Msg::HintYesNo, readYesNo); }
int askYesNoAll(std::string_view question) { return ask(question, Msg::HintYesNoAll, readYesNoAll); }
