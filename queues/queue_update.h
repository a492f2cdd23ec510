// Moving the scanned queues to the package's new PPD files.
#pragma once

#include <string>

#include "queues/printer_list.h"

// Returns 1 when it ran (also after a break answer), 0 when the option list
// could not be made.
int updatePrinters(const std::string& searchDir, PList* list, int count, int ask);
