// Which print scheduler runs, where CUPS is installed, and whether a
// foomatic-rip program exists.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

// The scheduler named by WOXLPMODE, or by PLOVALPMODE only when WOXLPMODE is
// not set at all: "CUPS" 8, "LPRNG" 4, "LPR" 2, "LP" 1, anything else 0.
int schedulerFromEnvironment();

// Looks for the scheduler daemons among the running processes ("cupsd",
// "lpsched", "lpd", "cupsd", one second each) and asks lpd for its version.
// On a CUPS system found at the first probe it also fills cupsBinDir and
// cupsBaseDir. Its listing files are its own, created exclusively, and
// removed after reading.
int probeScheduler();

// The CUPS installation prefix cut out of a cupsd command line, or none:
// "/usr/sbin/cupsd -l" gives "/usr", "/sbin/cupsd" the empty text.
std::optional<std::string> cupsPrefixFromDaemon(const std::string& text);

// Fills prefix and execPrefix from CUPS's start-up script or fixed
// fall-backs; true when it found values.
bool readCupsInitScript(std::string& prefix, std::string& execPrefix);

// The scan of one start-up script: execPrefix from the first line with
// "exec_prefix=", prefix from the first line with "prefix=" but not
// "exec_prefix=", each taken as it stands up to the end of the line. True
// when either line was found.
bool prefixesFromInitScript(std::FILE* script, std::string& prefix, std::string& execPrefix);

// True when one of nine fixed foomatic-rip paths exists.
bool findFoomaticRip();
