// The printer list and the option list: circular, doubly linked rings.
// The printer list's head record holds the first queue itself; the option
// list's head is a dummy that holds no option.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::size_t kQueueNameMax = 79;
inline constexpr std::size_t kOptionWordMax = 40;

// PDL codes of the queue's PPD file.
enum PdlType : std::uint32_t {
  kPdlUnknown = 0,
  kPdlPostScript = 1,
  kPdlPcl = 2,
  kPdlPxl = 3,
  kPdlCpca = 4,
  kPdlRaw = 5,
  kPdlSpecial = 6,
};

struct PList {
  std::string model;      // model text of the queue's PPD, at most 255 characters
  std::string ppdPath;    // the queue's PPD file in the CUPS PPD directory
  std::string queueName;  // at most kQueueNameMax characters
  std::uint32_t modelId = 0;
  std::int32_t index = 0;
  std::uint32_t pdlType = kPdlUnknown;
  PList* next = nullptr;
  PList* prev = nullptr;
};

struct OptList {
  std::string keyword;  // option keyword without its '*', at most 40 characters
  std::string choice;   // the default choice's keyword, at most 40 characters
  std::int32_t index = 0;
  OptList* prev = nullptr;
  OptList* next = nullptr;
};

// Links a head record to itself: the empty ring.
void initPList(PList* list);
void initOptList(OptList* list);

// Appends a heap record at the tail (between the last record and the head).
// The ring owns it from then on. A null list ends the program with status 1.
void addPList(PList* list, PList* record);
void addOptList(OptList* list, OptList* entry);

// Unlinks an entry (never the dummy head) from its ring and frees it.
void removeOptList(OptList* entry);

// Free every record behind the head and link the head to itself; return 0.
// freePList leaves the head's own fields as they were.
int freePList(PList* list);
int freeOptList(OptList* list);

// freePList, then every field of the head back to zero.
void clearPList(PList* list);

// Reads the queue names of the PRINTERS block of the information file in
// installDir (plovaInfo2.0 when version is 1, else plovaInfo4.0) into list.
// Returns 1 and sets infoPrinterCount when the block exists, else 0.
int readInfoPrinters(unsigned version, PList* list);
