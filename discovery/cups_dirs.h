// The CUPS data directory.
#pragma once

#include <optional>
#include <string>

// key "datadir": the first existing data-directory candidate, or none; any
// other key gives none.
std::optional<std::string> getCupsDir(const std::string& key);
