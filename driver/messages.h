// The program's message texts, one table addressed by message number.
// Each subsystem keeps its rows in its own messages.def beside its sources;
// together they make the one table. Texts may be formats (see format.h) and
// may or may not end with a newline: logLine evens that out.
#pragma once

enum class Msg {
#define MSG(name, text) name,
#include "driver/messages.def"
#include "discovery/messages.def"
#include "install/messages.def"
#include "ppd/messages.def"
#include "queues/messages.def"
#include "uninstall/messages.def"
#undef MSG
  Count
};

extern const char* const messageTable[];

inline const char* text(Msg m) { return messageTable[static_cast<int>(m)]; }
