// Console questions: yes/no, and yes/no/all/break for the queue-by-queue
// update. Questions go to stdout, answers come from stdin; nothing is logged.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

enum Answer : int {
  kAnswerUnknown = -1,
  kAnswerNo = 0,
  kAnswerYes = 1,
  kAnswerAll = 2,
  kAnswerBreak = 3,
};

// Write the question, a newline, the hint and one blank, then read and
// classify the answer. askYesNo gives 1, 0 or -1; askYesNoAll also 2 and 3.
int askYesNo(std::string_view question);
int askYesNoAll(std::string_view question);

// Reads one answer: at most 255 characters of a line (the rest of a longer
// line is the next answer), line-end characters removed from its end but
// never its first character. End of input gives the empty answer.
std::string readAnswer(std::FILE* in = stdin);

int readYesNo(std::FILE* in = stdin);
int readYesNoAll(std::FILE* in = stdin);

// The classification rules on their own.
int classifyYesNo(std::string_view answer);
int classifyYesNoAll(std::string_view answer);
