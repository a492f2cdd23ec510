// The log file /var/log/Plova4.0_UpdateLog: one report a line, flushed at
// once, so the log is complete up to the last step even when a step ends the
// process. While no log file is open, report lines go to stderr.
#pragma once

#include <string_view>

#include "driver/format.h"
#include "driver/messages.h"

// Opens state.logPath ("_<uid>" appended for a user other than root) as a
// new file and, when chcon was found, writes the labelling header. Returns 1
// when the file was opened, 0 when not (nothing is reported then).
int openLogFile(int userId);

// Writes text as one line: a newline is added unless it ends with one.
// An empty text writes nothing. Always returns 1.
int logLine(std::string_view text);

// Formats a message of the table and logs it (nothing when it comes out empty).
template <typename... Args>
int logMsg(Msg m, const Args&... args) {
  return logLine(format(text(m), args...));
}

// Writes the closing time line and closes the log.
void closeLogFile();

// Closes the log when it was opened and ends the process with `status`.
[[noreturn]] void endRun(int status = 0);

// The current local time as ctime gives it: 24 characters and a newline.
std::string ctimeNow();
