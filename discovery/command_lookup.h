// Turning a bare command name into the full path of an existing file.
#pragma once

#include <optional>
#include <string>

// The first of twelve fixed system directories that holds `name` (any kind
// of file counts), or none.
std::optional<std::string> findCommand(const std::string& name);

// Looks below cupsBinDir (and cupsBaseDir when set) in bin, sbin, etc, lib.
// With cupsBinDir empty: findCommand(name). With it set and nothing found:
// the bare name, the system directories are not searched.
std::optional<std::string> findCupsCommand(const std::string& name);
