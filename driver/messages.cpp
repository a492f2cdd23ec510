#include "driver/messages.h"

const char* const messageTable[] = {
#define MSG(name, text) text,
#include "driver/messages.def"
#include "discovery/messages.def"
#include "install/messages.def"
#include "ppd/messages.def"
#include "queues/messages.def"
#include "uninstall/messages.def"
#undef MSG
};

static_assert(sizeof messageTable / sizeof messageTable[0] == static_cast<int>(Msg::Count));
