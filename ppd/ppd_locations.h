// Where the system keeps PPD files, and which directory gets the package's.
#pragma once

#include <string>

// Sets ppdDir (never empty afterwards), systemPpdDir and packagePpdDir, may
// fill existingPpdDir, logs the report; returns the location flags.
int findPpdLocations(std::string& existingPpdDir);

// 1 when path exists and is a directory after following links, else 0.
int isDirectory(const std::string& path);

int findCupsModelDir();
int findSystemPpdDir();
