#include "queues/printer_list.h"

#include <cstdio>
#include <cstdlib>

void initPList(PList* list) { list->next = list->prev = list; }
void initOptList(OptList* list) { list->next = list->prev = list; }

template <typename Ring>
static void appendToRing(Ring* list, Ring* record) {
  if (list->next == nullptr) list->next = list->prev = list;
  Ring* last = list->prev;
  record->prev = last;
  record->next = list;
  last->next = record;
  list->prev = record;
}

template <typename Ring>
static void freeRing(Ring* list) {
  if (list->next == nullptr) {
    list->next = list->prev = list;
    return;
  }
  Ring* record = list->next;
  while (record != list) {
    Ring* following = record->next;
    delete record;
    record = following;
  }
  list->next = list->prev = list;
}

void addPList(PList* list, PList* record) {
  if (list == nullptr) {
    std::fputs("addPList(NULL,...) Error!\n", stderr);
    std::exit(1);
  }
  appendToRing(list, record);
}

void addOptList(OptList* list, OptList* entry) {
  if (list == nullptr) {
    std::fputs("addOptList(NULL,...) Error!\n", stderr);
    std::exit(1);
  }
  appendToRing(list, entry);
}

void removeOptList(OptList* entry) {
  entry->prev->next = entry->next;
  entry->next->prev = entry->prev;
  delete entry;
}

int freePList(PList* list) {
  freeRing(list);
  return 0;
}

int freeOptList(OptList* list) {
  freeRing(list);
  return 0;
}

void clearPList(PList* list) {
  freePList(list);
  *list = PList{};
  initPList(list);
}
