// Which CUPS version runs: the server's Server header, else installed files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Four-digit version (1.4 is 1400, 2.2.7 is 2270); logs where it came from.
int probeCupsVersion();
// Raw value from the HTTP Server header of the local server, 0 when none.
int cupsVersionFromServer();
// Four-digit version from the file sources, 1400 when none gives one.
int cupsVersionFromFiles();
// Brings a positive raw value to four digits.
int scaleVersion(int v);

// The raw value of one line of the server's answer: none unless the line
// holds both "Server:" and "CUPS"; else the number after "CUPS" (and one
// "/"), 1.4 giving 140 and 10.1 giving 101, 0 when there are no digits.
std::optional<int> versionFromServerLine(std::string_view line);

// The digits from the start of text, dots skipped, up to the first other
// character: "2.2.7" gives 227. 0 when there are none, and 0 for more
// digits than an int holds (refused, never cut into another number).
int versionDigits(std::string_view text);

// The network client for the HTTP probe: the package's woxnc beside setup
// (sourceDir), then /opt/kwo/bin/woxnc, then nc. A path that does not fit
// its 80-byte buffer is refused, never cut.
std::string networkClient();
