// Restarting the CUPS scheduler.
#pragma once

// Returns the status of the last restart command run, -1 when none ran.
int restartCups();
