// The scan of the CUPS queues' PPD files for the maker's older PPD files.
#pragma once

#include "queues/printer_list.h"

// Fills list (which must be empty) with the package's queues; count gets
// their number. Returns 1 when count is above 0, else 0.
int scanInstalledQueues(PList* list, int& count);
