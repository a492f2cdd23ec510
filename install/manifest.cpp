#include "install/manifest.h"

std::array<InstallItem, kItemTableSize> itemTable;
int itemCount = 0;

int getInfoData() { return 0; }

void trimLineEnd(std::string& text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
}
