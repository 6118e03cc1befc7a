// The scenarios of the main-window driver, and what they share.
#pragma once

#include <string>

#include "fakes/program_texts.h"
#include "zorvane_session.h"

namespace zv::e2e {

void RunManualScenario();
void RunAutomaticScenario();
void RunModelessTipScenario();

using namespace test_texts;

// Answers the restart question with Yes and checks that Windows was asked to restart:
// Windows asks a window of this driver whether the session may end.
void CheckRestartRequested(ZorvaneSession& zorvane);

}  // namespace zv::e2e
