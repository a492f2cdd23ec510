// The one place that runs shell commands, and quotes data for them.
#pragma once

#include <string>
#include <string_view>

// Runs command with /bin/sh (system) and returns the raw wait status, so an
// exit code of 1 shows as 256. Standard output and error are flushed first so
// the command's output cannot overtake ours.
int runShell(const std::string& command);

// The text unchanged when the shell reads it as one plain word (letters,
// digits and _ @ % + = : , . / -); otherwise the text in single quotes, with
// embedded single quotes escaped. Every command built from data quotes its
// data through this.
std::string shellWord(std::string_view text);
