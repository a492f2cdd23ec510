#include "queues/printer_list.h"

int readInfoPrinters(unsigned, PList*) { return 0; }
