#include "install/manifest.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"

std::array<InstallItem, kItemTableSize> itemTable;
int itemCount = 0;

namespace {

bool isSignedBlankOrBelow(char c) { return static_cast<signed char>(c) <= ' '; }

// End of the run of characters above the blank that starts at `at`.
std::size_t wordEnd(const std::string& line, std::size_t at) {
  while (at < line.size() && !isSignedBlankOrBelow(line[at])) ++at;
  return at;
}

// Sources go unquoted into the copy command so that patterns expand there:
// besides the characters of file names only the pattern characters pass,
// and no source may pass for an option of cp.
bool isSafeSource(const std::string& source) {
  if (source[0] == '-') return false;
  for (char c : source) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       std::strchr("_@%+=:,./-*?[]", c) != nullptr;
    if (!plain) return false;
  }
  return true;
}

// The mode is found by its "00" anywhere after the destination and read as
// octal from there; a value of 0 (or one that is no mode at all) gives 0755.
int modeAfter(const std::string& line, std::size_t from) {
  const std::size_t zeros = line.find("00", from);
  if (zeros == std::string::npos) return 0;
  const std::string digits = line.substr(zeros, wordEnd(line, zeros) - zeros);
  const long value = std::strtol(digits.c_str(), nullptr, 8);
  return value <= 0 || value > INT_MAX ? 0755 : static_cast<int>(value);
}

File openManifest(std::string& path) {
  path = format("%s/etc/%s", state.sourceDir, state.manifestName);
  if (File file = openFile(path, "r")) return file;
  path = format("%s/%s", state.sourceDir, state.manifestName);
  return openFile(path, "r");
}

enum class Line { Item, Skipped, End };

// Reads one manifest line into the next row of itemTable.
Line readItem(const std::string& path, std::string line) {
  if (line.find("@@NULL") != std::string::npos) return Line::End;
  if (line[0] == '#' || line[0] == '\n') return Line::Skipped;
  trimLineEnd(line);
  const std::size_t sourceEnd = wordEnd(line, 0);
  if (sourceEnd == 0) return Line::Skipped;
  const std::string source = line.substr(0, sourceEnd);
  if (source.size() > kItemSourceMax) {
    logMsg(Msg::SourceTooLong, source, static_cast<int>(kItemSourceMax));
    return Line::Skipped;
  }
  if (!isSafeSource(source)) {
    logMsg(Msg::SourceUnsafe, source);
    return Line::Skipped;
  }
  if (itemCount == static_cast<int>(kItemTableSize)) {
    logMsg(Msg::ManifestFull, path, static_cast<int>(kItemTableSize), itemCount);
    return Line::End;
  }

  InstallItem& item = itemTable[static_cast<std::size_t>(itemCount++)];
  item.source = source;
  std::size_t at = sourceEnd;
  while (at < line.size() && isSignedBlankOrBelow(line[at])) ++at;
  const std::size_t destinationEnd = wordEnd(line, at);
  if (destinationEnd == at) return Line::Item;
  item.destination = line.substr(at, destinationEnd - at);
  item.mode = modeAfter(line, destinationEnd);
  if (state.debugLevel > 0 && item.mode > 0)
    std::fputs(format(text(Msg::ManifestTraceItem), item.source, item.destination, item.mode).c_str(), stderr);
  return Line::Item;
}

}  // namespace

int getInfoData() {
  itemTable.fill(InstallItem{});
  itemCount = 0;
  std::string path;
  File manifest = openManifest(path);
  if (!manifest) {
    logMsg(Msg::CannotOpenManifest, path);
    return 0;
  }
  logMsg(Msg::ManifestOpened, path);
  std::string line;
  while (readPart(manifest.get(), line))
    if (readItem(path, line) == Line::End) break;
  return itemCount;
}

void trimLineEnd(std::string& text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
    text.pop_back();
}
