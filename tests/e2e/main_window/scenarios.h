// The scenarios of the main-window driver, and what they share.
#pragma once

#include <string>

#include "zorvane_session.h"

namespace zv::e2e {

void RunManualScenario();
void RunAutomaticScenario();
void RunModelessTipScenario();

// The texts Apply shows, in order.
extern const char kAppliedText[];
extern const char kRestartQuestion[];
extern const char kRememberText[];

// Answers the restart question with Yes and checks that Windows was asked to restart:
// Windows asks a window of this driver whether the session may end.
void CheckRestartRequested(ZorvaneSession& zorvane);

}  // namespace zv::e2e
