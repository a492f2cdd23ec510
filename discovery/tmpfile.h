// The one place that creates temporary files.
#pragma once

#include <optional>
#include <string>

// Creates a new empty file "<dir>/WOX" + six characters with mkstemp, closes
// it and returns its name (a trailing slash of dir is ignored). When the file
// cannot be made, writes "myTmpName(<dir>,<prefix>) Failed!" to stderr and
// ends the process with status 255.
std::string myTmpName(const std::string& dir, const char* prefix);

// Creates path exclusively (O_CREAT|O_EXCL|O_NOFOLLOW, mode 0600) and closes
// it. Returns false when the name is taken (a file or a planted link): the
// caller must then not write through it.
bool createExclusive(const std::string& path);

// A fresh, exclusively created file for command output: `wanted` when that
// name is free, else a new mkstemp name in the same directory with the same
// stem (`wanted` followed by six characters). The taken entry is left alone.
// Returns none only when no file could be created at all.
std::optional<std::string> exclusiveTmpFile(const std::string& wanted);
