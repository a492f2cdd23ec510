#include "discovery/policy_module.h"

int installPolicyModule() { return 0; }
