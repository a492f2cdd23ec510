#include "driver/log.h"

#include <cstdlib>
#include <ctime>

#include "discovery/shell.h"
#include "driver/state.h"

std::string ctimeNow() {
  std::time_t now = std::time(nullptr);
  return std::ctime(&now);
}

int openLogFile(int userId) {
  if (state.logPath.empty()) state.logPath = kDefaultLogPath;
  if (userId != 0) state.logPath += format("_%d", userId);
  state.logFile = std::fopen(state.logPath.c_str(), "w");
  if (state.logFile == nullptr) return 0;
  if (!state.cmdChcon) return 1;

  const std::string command = format("%s -u system_u %s 2>/dev/null", shellWord(*state.cmdChcon),
                                     shellWord(state.logPath));
  const int status = runShell(command);
  std::fputs("Preparing Log File:\n", state.logFile);
  std::fputs(format("Command: \"%s\" returned with: %d.\n", command, status).c_str(), state.logFile);
  std::fputs("=======================================\n", state.logFile);
  return 1;
}

int logLine(std::string_view text) {
  if (text.empty()) return 1;
  std::FILE* target = state.logFile ? state.logFile : stderr;
  std::fwrite(text.data(), 1, text.size(), target);
  if (text.back() != '\n') std::fputc('\n', target);
  std::fflush(target);
  return 1;
}

void closeLogFile() {
  if (state.logFile == nullptr) return;
  std::fputs(format(text(Msg::EndLine), ctimeNow()).c_str(), state.logFile);
  std::fclose(state.logFile);
  state.logFile = nullptr;
}

void endRun(int status) {
  if (state.logOpened) closeLogFile();
  std::exit(status);
}
