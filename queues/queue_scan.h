// The scan of the CUPS queues' PPD files for the maker's older PPD files,
// and the lookup of the package's new PPD file for a queue.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "queues/printer_list.h"

// Fills list (which must be empty) with the queues whose PPD carries the
// version marker 1 and a model of the table; count gets their number.
// Returns 1 when count is above 0, else 0.
int scanInstalledQueues(PList* list, int& count);

// The CUPS PPD directory below cupsBaseDir.
std::string cupsPpdDir();

// The queue a PPD file of the CUPS PPD directory belongs to: its file name
// cut at the first ".ppd". None for a name CUPS cannot have for a queue
// (empty, ".", "..", longer than 79 characters, holding "/").
std::optional<std::string> queueNameOf(std::string_view fileName);

// A model line ("*ModelName:"): type is set from the line's end whenever the
// line is one; the model text (line end removed) and id only when a row of
// the model table occurs in it.
std::optional<std::string> parseModelName(std::string_view line, std::uint32_t& type, std::uint32_t& id);

// The digit after "*% Plova version:" and blanks, or -1.
int getPpdVersion(std::string_view line);

// The first model line of a PPD file (plain or gzip-compressed) whose model
// the table knows.
std::optional<std::string> getPpdModel(const std::string& path, std::uint32_t& type, std::uint32_t& id);

// The first file of dir (in system order) of the printer's model, id and
// type: 1 and its path in out, else 0.
int getPpdFromDir(const std::string& dir, const PList& printer, std::string& out);

// getPpdFromDir in searchDir, then in /opt/kwo/ppd.
int findNewPpd(const std::string& searchDir, const PList& printer, std::string& out);

void logPrinterList(PList* list, int count);
void listNewPpds(const std::string& dir, PList* list, int count);
