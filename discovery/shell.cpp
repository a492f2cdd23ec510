#include "discovery/shell.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int runShell(const std::string& command) {
  std::fflush(stdout);
  std::fflush(stderr);
  return std::system(command.c_str());
}

static bool isPlainWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         (c != '\0' && std::strchr("_@%+=:,./-", c) != nullptr);
}

std::string shellWord(std::string_view text) {
  bool plain = !text.empty();
  for (char c : text) plain = plain && isPlainWordChar(c);
  if (plain) return std::string(text);
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'')
      quoted += "'\\''";
    else
      quoted += c;
  }
  quoted += '\'';
  return quoted;
}
