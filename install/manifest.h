// The install manifest PLOVAINST.CONF: what to install, where, with which mode.
#pragma once

#include <array>
#include <string>

inline constexpr std::size_t kItemSourceMax = 47;
inline constexpr std::size_t kItemDestinationMax = 255;
inline constexpr std::size_t kItemTableSize = 256;

struct InstallItem {
  std::string source;
  std::string destination;
  int mode = 0;
};

extern std::array<InstallItem, kItemTableSize> itemTable;
extern int itemCount;

// Reads <sourceDir>/etc/<manifestName>, else <sourceDir>/<manifestName>, into
// itemTable. Returns the number of items (0 when the manifest cannot be opened).
int getInfoData();

// Cuts trailing LF, CR and blanks (tabs stay).
void trimLineEnd(std::string& text);
