#include "driver/state.h"

State state;

void clearState() {
  freePList(&state.printerList);
  state = State{};
  initPList(&state.printerList);
}
