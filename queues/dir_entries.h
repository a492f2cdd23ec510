// Directory listings in the order the system gives them.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The names in directory, "." and ".." left out, unsorted; none when the
// directory cannot be opened.
std::optional<std::vector<std::string>> listEntries(const std::string& directory);
