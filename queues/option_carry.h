// Carrying a queue's chosen defaults over into a new PPD file.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "queues/printer_list.h"

// Appends, for each option of the PPD's top-level groups, its default choice
// to list (behind the caller's dummy head). Sets count and returns it; 0
// and count untouched when the file is no PPD file the library can open.
int getPpdDefaults(const std::string& ppdPath, OptList* list, int& count);

// The option name (with its leading '*') of a "*Default<option>" line, its
// value in value; none for other lines and for *DefaultColorSep.
std::optional<std::string> parseDefaultLine(std::string_view line, std::string& value);

// The first entry whose keyword is name without its first character.
OptList* findOption(OptList* list, std::string_view name);

// Copies the new PPD from in to out, rewriting each default line inside an
// option block to name the collected choice. Returns 0 at end of input.
int processNewPPD(std::FILE* in, std::FILE* out, OptList* list, int optionCount);

// Removes (and logs) the entries whose choice the new PPD's option of that
// keyword does not offer, so no default line names a missing choice.
// Returns false when the library cannot read newPpd as a PPD file.
bool dropUnofferedDefaults(const std::string& newPpd, OptList* list);
