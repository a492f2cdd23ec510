// Which CUPS version runs: the server's Server header, else installed files.
#pragma once

// Four-digit version (1.4 is 1400, 2.2.7 is 2270); logs where it came from.
int probeCupsVersion();
// Raw value from the HTTP Server header of the local server, 0 when none.
int cupsVersionFromServer();
// Four-digit version from the file sources, 1400 when none gives one.
int cupsVersionFromFiles();
// Brings a positive raw value to four digits.
int scaleVersion(int v);
