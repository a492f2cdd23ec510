// The command line, read in two passes over the same arguments.
#pragma once

// -d, -f, -h, -S. Refuses (message on stderr, status 0) a text argument or a
// program path longer than 255 characters before anything else happens.
void firstOptionPass(int argc, char** argv);

// -D, -Z, -i, -m, -q, -u, -w.
void secondOptionPass(int argc, char** argv);

// The usage text on stderr; ends the process with status 0.
[[noreturn]] void showUsage();

// sourceDir from the program path: its directory for an absolute path, the
// working directory for a relative one; /opt/kwo/bin becomes /opt/kwo.
void findSourceDir(const char* programPath);
