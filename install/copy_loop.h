// The installation proper: directories, information file, uninstall script,
// the manifest's items and the filter link.
#pragma once

#include <string>

// Installs the itemCount items of itemTable. Ends the process (status 0) when
// the install directory cannot be prepared or is not usable.
void goInstall(int itemCount);

// Archives the files of directory into /var/tmp/PlovaPPDFiles4.0-7.tar.
// Returns the shell status, or -1 when directory does not exist.
int archiveOldPpds(const std::string& directory);

// Every byte below 0x20 (LF and tab included) becomes a blank.
void blankControls(std::string& text);
