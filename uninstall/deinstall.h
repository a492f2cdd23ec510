// Removing the package's queues and files.
#pragma once

#include <string>

// Deletes every queue of printerList after the head, except empty names and
// "Default".
void deleteQueues();
int deleteQueue(const std::string& name);
int deleteQueueFiles(const std::string& name);
int removeTree(const std::string& path);
void deleteInstalledFiles(int doDelete);
