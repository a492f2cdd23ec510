// The information files plovaInfo4.0 and plovaInfo2.0.
#pragma once

#include <cstdio>
#include <string>

// Looks for an installation through PLOVAINFO or /opt/kwo's information
// files. Returns 1 when found: directory gets the USRDIR value, infoVersion 1
// (found by the 2.0 probe) or 2 (by the 4.0 probe). Returns 0 when not.
int findInstallation(std::string& directory, unsigned& infoVersion);

// Whether an opened information file may be believed: it must belong to
// root or to the user running setup. The install directory is world-writable,
// so anyone could plant a file there naming a directory or queues of their
// choice, which setup would then upgrade into or delete. Logs a refusal.
bool infoFileTrusted(std::FILE* file, const std::string& path);

// Writes a fresh <installDir>/plovaInfo4.0 (26 lines, mode 0755).
int writeInfoFile();

// Copies <installDir>/plovaInfo2.0 to plovaInfo4.0 with the new header line.
void convertInfoFile();
