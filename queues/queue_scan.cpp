#include "queues/queue_scan.h"

#include "driver/log.h"
#include "driver/state.h"
#include "driver/text_file.h"
#include "queues/dir_entries.h"
#include "queues/model_table.h"
#include "queues/ppd_file.h"

namespace {

constexpr int kScanWindowLines = 30;
constexpr std::string_view kModelKey = "*ModelName:";
constexpr std::string_view kVersionKey = "*% Plova version:";

void trimEnd(std::string& text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
}

// The type from the 8 characters that end one before the line's last one.
std::uint32_t typeOfModelLine(std::string_view line) {
  if (line.empty()) return kPdlUnknown;
  const std::size_t end = line.size() - 1;
  const std::size_t start = end > 8 ? end - 8 : 0;
  const std::string_view window = line.substr(start, end - start);
  if (window.find(" PCL") != std::string_view::npos) return kPdlPcl;
  if (window.find(" PXL") != std::string_view::npos) return kPdlPxl;
  if (window.find(" PS") != std::string_view::npos) return kPdlPostScript;
  return kPdlUnknown;
}

struct QueuePpd {
  std::string model;
  std::uint32_t type = kPdlUnknown;
  std::uint32_t id = 0;
  int version = -1;
};

// Looks for the model line and the version marker in the first 30 lines.
QueuePpd readQueuePpd(std::FILE* file) {
  QueuePpd found;
  bool haveModel = false;
  std::string line;
  for (int n = 0; n < kScanWindowLines && readPart(file, line); ++n) {
    if (!haveModel) {
      std::uint32_t type = kPdlUnknown, id = 0;
      if (auto model = parseModelName(line, type, id)) {
        haveModel = true;
        found.model = *model;
        found.type = type;
        found.id = id;
        if (found.version > 0) break;
        const int v = getPpdVersion(line);
        if (v > 0) found.version = v;
        if (found.version > 0) break;
        continue;
      }
      if (found.version <= 0) {
        const int v = getPpdVersion(line);
        if (v > 0) found.version = v;
      }
      continue;
    }
    const int v = getPpdVersion(line);
    if (v > 0) {
      found.version = v;
      break;
    }
  }
  if (!haveModel) found.type = kPdlUnknown;
  return found;
}

const Msg kPdlLines[] = {Msg::PdlUnknown, Msg::PdlPostScript, Msg::PdlPcl, Msg::PdlPxl,
                         Msg::PdlCpca,    Msg::PdlRaw,        Msg::PdlSpecial};

}  // namespace

std::string cupsPpdDir() {
  const std::string& base = state.cupsBaseDir;
  return base.empty() || base == "/" ? "/etc/cups/ppd" : base + "/etc/cups/ppd";
}

std::optional<std::string> queueNameOf(std::string_view fileName) {
  const std::string name(fileName.substr(0, fileName.find(".ppd")));
  if (name.empty() || name == "." || name == ".." || name.size() > kQueueNameMax ||
      name.find('/') != std::string::npos)
    return std::nullopt;
  return name;
}

std::optional<std::string> parseModelName(std::string_view line, std::uint32_t& type, std::uint32_t& id) {
  const std::size_t key = line.find(kModelKey);
  if (key == std::string_view::npos) return std::nullopt;
  type = typeOfModelLine(line);
  std::size_t start = key + kModelKey.size();
  while (start < line.size() && line[start] == ' ') ++start;
  std::string model(line.substr(start));
  trimEnd(model);
  const ModelRow* row = findModel(model);
  if (row == nullptr) return std::nullopt;
  id = row->id;
  return model;
}

int getPpdVersion(std::string_view line) {
  const std::size_t key = line.find(kVersionKey);
  if (key == std::string_view::npos) return -1;
  std::size_t at = key + kVersionKey.size();
  while (at < line.size() && line[at] == ' ') ++at;
  if (at < line.size() && line[at] >= '0' && line[at] <= '9') return line[at] - '0';
  return -1;
}

std::optional<std::string> getPpdModel(const std::string& path, std::uint32_t& type, std::uint32_t& id) {
  CupsTextFile file(path);
  if (!file.isOpen()) {
    std::fputs(format(text(Msg::UnableToOpen), path).c_str(), stderr);
    return std::nullopt;
  }
  for (std::string line; file.readLine(line);)
    if (auto model = parseModelName(line, type, id)) return model;
  return std::nullopt;
}

int getPpdFromDir(const std::string& dir, const PList& printer, std::string& out) {
  logMsg(Msg::GettingPpdFromDir, dir);
  const auto entries = listEntries(dir);
  if (!entries) return 0;
  for (const std::string& name : *entries) {
    const std::string path = dir + "/" + name;
    std::uint32_t type = kPdlUnknown, id = 0;
    const auto model = getPpdModel(path, type, id);
    if (model && model->compare(0, printer.model.size(), printer.model) == 0 && id == printer.modelId &&
        type == printer.pdlType) {
      out = path;
      return 1;
    }
  }
  return 0;
}

int findNewPpd(const std::string& searchDir, const PList& printer, std::string& out) {
  return getPpdFromDir(searchDir, printer, out) || getPpdFromDir("/opt/kwo/ppd", printer, out);
}

void logPrinterList(PList* list, int count) {
  logMsg(Msg::PrintersInstalled, count);
  PList* record = list;
  for (int i = 0; i < count; ++i, record = record->next) {
    if (record->queueName.empty())
      logMsg(Msg::PrinterUnknown);
    else
      logMsg(Msg::PrinterLine, record->queueName);
    logMsg(Msg::PrinterPpdFile, record->ppdPath);
    logMsg(Msg::PrinterModel, record->model);
    logMsg(Msg::PrinterVelorId, record->modelId);
    logMsg(record->pdlType < std::size(kPdlLines) ? kPdlLines[record->pdlType] : Msg::PdlUnknown);
  }
}

void listNewPpds(const std::string& dir, PList* list, int count) {
  logMsg(Msg::NewPpdsToInstall, count);
  PList* record = list;
  for (int i = 0; i < count; ++i, record = record->next) {
    std::string path;
    if (findNewPpd(dir, *record, path))
      logMsg(Msg::NewPpdFound, path);
    else
      logMsg(Msg::NewPpdNotFound);
  }
}

int scanInstalledQueues(PList* list, int& count) {
  count = 0;
  const std::string dir = cupsPpdDir();
  const auto entries = listEntries(dir);
  if (!entries) return 0;
  for (const std::string& name : *entries) {
    const std::string path = dir + "/" + name;
    File file = openFile(path, "r");
    if (!file) continue;
    const QueuePpd found = readQueuePpd(file.get());
    file.reset();
    if (found.version != 1 || found.type == kPdlUnknown) continue;
    const auto queue = queueNameOf(name);
    if (!queue) {
      logMsg(Msg::ScanQueueNameRefused, path);
      continue;
    }
    PList* record = count == 0 ? list : new PList{};
    record->model = found.model;
    record->ppdPath = path;
    record->queueName = *queue;
    record->modelId = found.id;
    record->pdlType = found.type;
    record->index = count;
    if (record != list) addPList(list, record);
    ++count;
  }
  logPrinterList(list, count);
  listNewPpds(state.packagePpdDir, list, count);
  return count > 0 ? 1 : 0;
}
