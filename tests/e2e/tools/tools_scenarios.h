// The scenarios of the Tools driver, what each emulated release gives them, and what they
// share.
#pragma once

#include <string>

#include "fakes/program_texts.h"
#include "support/registry_read.h"
#include "support/zorvane_session.h"

namespace zv::e2e {

using namespace test_texts;

struct ToolsRelease {
    std::string name;        // win98, winxp, win10
    std::string interfaces;  // the key whose subkeys get the per-interface values
    std::string ttl_key;     // where the TTL lives in the release's layout
    std::string reg_header;  // the first line of an export
};

// The command line's Undo and export, imported with regedit.
void RunDeployScenario(const ToolsRelease& release);
// The Tools menu in the window: Current Settings, then Apply and Undo Last Change.
void RunWindowScenario(const ToolsRelease& release);
// /apply and /restore against the window's Apply and Restore; their refusals.
void RunCommandLineScenario(const ToolsRelease& release);

// A machine as a user has it: three interfaces, a hand-edited TTL ("64" as text) and a
// saved choice (T1, Automatic).
void PrepareMachine(const ToolsRelease& release);
// Every key the program may touch, in either layout.
RegistrySnapshot TouchedRegistry();
// Notes each difference; true when there is none.
bool CheckSame(const RegistrySnapshot& expected, const RegistrySnapshot& actual);
// Apply in the open window, its messages answered without a restart.
void ApplyIn(ZorvaneSession& zorvane);
// The same in a window opened for it and closed again.
void ApplyFromTheWindow();

}  // namespace zv::e2e
