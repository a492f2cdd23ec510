#include "discovery/cups_version.h"

#include "driver/state.h"

int probeCupsVersion() { return state.cupsVersion; }
int cupsVersionFromServer() { return 0; }
int cupsVersionFromFiles() { return 1400; }
int scaleVersion(int v) {
  if (v <= 0) return v;
  while (v <= 999) v *= 10;
  while (v > 9999) v /= 10;
  return v;
}
