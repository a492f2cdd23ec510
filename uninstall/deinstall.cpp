#include "uninstall/deinstall.h"

void deleteQueues() {}
int deleteQueue(const std::string&) { return 1; }
int deleteQueueFiles(const std::string&) { return -1; }
int removeTree(const std::string&) { return -1; }
void deleteInstalledFiles(int) {}
