// Removing the package's queues and files (setup -d).
//
// Every path is built from state.installDir as the options left it. Nothing
// that fails stops the removal: each failure shows in the log and the next
// queue or path is tried.
#pragma once

#include <string>

// Deletes every queue of printerList after the head, except empty names and
// "Default"; names that could reach outside one directory entry are refused
// with a log line.
void deleteQueues();

// Removes the queue from the scheduler (lpadmin -x, with one retry after
// lpstat and a second's pause), its /dev/<name> file and its model file
// (renamed to .old). Returns 1 for the scheduler types it handles (none, LP,
// CUPS), 0 for the others (LPR, LPRng: nothing is done).
int deleteQueue(const std::string& name);

// Removes <installDir>/<name> and, when that existed, <installDir>/<name>.sh.
// Returns -1 when <installDir>/<name> does not exist, else removeTree's result.
int deleteQueueFiles(const std::string& name);

// Removes the directory tree at path, path included. Symbolic links are
// removed as links and never followed, so nothing outside the tree changes;
// devices, FIFOs and sockets stay. Returns 0 when the tree is gone, -1
// otherwise.
int removeTree(const std::string& path);

// Deletes the package's listed files and directories in installDir, one log
// line each ("OK." or "Not possible!"). With doDelete 0 nothing is deleted and
// every listed path that exists reports "OK.".
void deleteInstalledFiles(int doDelete);

// True when name can stand for one directory entry: not empty, no "/", not
// "." or "..", at most 79 characters.
bool isQueueNameSafe(const std::string& name);
