// The scenarios of the main-window driver, and what they share.
#pragma once

#include <string>

#include "fakes/program_texts.h"
#include "support/zorvane_session.h"

namespace zv::e2e {

void RunManualScenario();
void RunAutomaticScenario();
void RunModelessTipScenario();

using namespace test_texts;

}  // namespace zv::e2e
