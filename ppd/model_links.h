// Links of the CUPS model directory into the known PPD trees.
#pragma once

#include <string>

// Records up to eight model-directory entries that lead into the known PPD
// trees; linkCount gets their number.
int scanModelLinks(int& linkCount);

// Settles packagePpdDir, makes it when missing and, on CUPS older than 1.3,
// may link it into the model directory as kwo.
int linkPackagePpdDir(const std::string& existingPpdDir, int linkCount);
