#include "queues/queue_update.h"

int updatePrinters(const std::string&, PList*, int, int) { return 1; }
