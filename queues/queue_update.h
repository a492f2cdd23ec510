// Moving the scanned queues to the package's new PPD files.
#pragma once

#include <string>

#include "queues/printer_list.h"

// Returns 1 when it ran (also after a break answer), 0 when the option list
// could not be made.
int updatePrinters(const std::string& searchDir, PList* list, int count, int ask);

// Where the backup of ppdPath goes: searchDir cut behind the "/" of its
// first "/ppd" (whole when it has none), then the PPD's file name and
// ".rpmsave" (/usr/share/q1.ppd.rpmsave for q1.ppd, q1.ppd.O.rpmsave for
// the older copy CUPS keeps beside it).
std::string backupPath(const std::string& searchDir, const std::string& ppdPath);

// Copies the queue's PPD to its backup path. Returns 1 when the copy
// succeeded, 0 otherwise (a backup path that is a directory is a failure).
int savePpdBackup(const std::string& searchDir, const std::string& ppdPath, const std::string& queueName);

// Finds the printer's new PPD, uncompresses a private copy of it when it is
// compressed and rewrites its default lines from optionList into outName,
// a file in a directory of its own below /tmp. Returns 1 when outName was
// produced; on 0 nothing of it is left behind.
int makeNewPpd(const std::string& searchDir, OptList* optionList, int optionCount, const PList& printer,
               std::string& outName);

// Copies outName over the queue's PPD; 1 when the copy succeeded.
int copyNewPpd(const std::string& ppdPath, const std::string& outName);

// Removes outName and the private directory makeNewPpd made for it.
void removeNewPpd(const std::string& outName);
