// The queue names recorded in the PRINTERS block of the information file.
#include <string>

#include "driver/state.h"
#include "driver/text_file.h"
#include "queues/printer_list.h"

// Trailing blanks and newlines go; carriage returns stay part of the name.
static void trimNameEnd(std::string& text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
}

int readInfoPrinters(unsigned version, PList* list) {
  const std::string path = state.installDir + (version == 1 ? "/plovaInfo2.0" : "/plovaInfo4.0");
  File file = openFile(path, "r");
  if (!file) return 0;

  std::string line;
  bool inBlock = false;
  while (!inBlock && readPart(file.get(), line)) {
    trimNameEnd(line);
    inBlock = line == "%%WOXBLOCK_PRINTERS_BEGIN";
  }
  if (!inBlock) return 0;

  freePList(list);
  int names = 0;
  while (readPart(file.get(), line)) {
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
