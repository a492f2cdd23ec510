// SELinux file labels, set with chcon.
#pragma once

#include <string>

// Runs "<chcon> <options> <path> 2>/dev/null"; logs it when logIt is set.
// Returns the shell status, or -1 when chcon was not found by its full path.
int setLabel(const std::string& path, const std::string& options, int logIt);

// Makes directory with its bin and etc and labels bin. Returns 1 when all
// exist (or this already succeeded in this run), 0 otherwise.
int prepareInstallDir(const std::string& directory);
