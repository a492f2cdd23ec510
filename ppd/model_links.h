// Links of the CUPS model directory into the known PPD trees.
#pragma once

#include <array>
#include <string>

inline constexpr int kModelLinkMax = 8;

// The model-directory entries recorded by the last scan: full path of the
// entry and what it points to (empty when it is a directory, not a link).
extern std::array<std::string, kModelLinkMax> linkNames;
extern std::array<std::string, kModelLinkMax> linkTargets;

// Records up to eight model-directory entries that lead into the known PPD
// trees; linkCount gets their number. Returns 1 when one was recorded, -1
// when some entry's path holds "foomatic", 0 otherwise; 0 at once, linkCount
// untouched, when ppdDir does not exist.
int scanModelLinks(int& linkCount);

// Settles packagePpdDir: the earlier installation's directory, or one chosen
// by cupsVersion and ppdLocationFlags; makes it when missing and, on CUPS
// older than 1.3, may link it into the model directory as kwo.
int linkPackagePpdDir(const std::string& existingPpdDir, int linkCount);
