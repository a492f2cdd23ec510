// The queue names recorded in the PRINTERS block of the information file.
#include <string>

#include "driver/state.h"
#include "driver/text_file.h"
#include "install/info_file.h"
#include "queues/printer_list.h"

// Trailing blanks and newlines go; carriage returns stay part of the name.
static void trimNameEnd(std::string& text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
}

// Reads one line of the block. A line longer than one read keeps its first
// part, which is longer than any queue name may be; the rest of the line is
// passed over, so a long name is never cut into another, valid name.
static bool readNameLine(std::FILE* file, std::string& line) {
  if (!readPart(file, line)) return false;
  for (std::string rest; line.back() != '\n' && readPart(file, rest) && rest.back() != '\n';) {
  }
  return true;
}

int readInfoPrinters(unsigned version, PList* list) {
  const std::string path = state.installDir + (version == 1 ? "/plovaInfo2.0" : "/plovaInfo4.0");
  File file = openFile(path, "r");
  if (!file || !infoFileTrusted(file.get(), path)) return 0;

  std::string line;
  bool inBlock = false;
  while (!inBlock && readPart(file.get(), line)) {
    trimNameEnd(line);
    inBlock = line == "%%WOXBLOCK_PRINTERS_BEGIN";
  }
  if (!inBlock) return 0;

  freePList(list);
  int names = 0;
  while (readNameLine(file.get(), line)) {
    trimNameEnd(line);
    if (line == "%%WOXBLOCK_PRINTERS_END") break;
    PList* record = names == 0 ? list : new PList{};
    record->queueName = line;
    record->index = names;
    record->pdlType = kPdlUnknown;
    if (record != list) addPList(list, record);
    ++names;
  }
  state.infoPrinterCount = names;
  return 1;
}
