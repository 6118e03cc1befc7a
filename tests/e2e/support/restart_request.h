// The restart a change asks for, checked from outside: the driver's own window hears
// Windows ask whether the session may end, and refuses, so that the sandbox outlives it.
#pragma once

#include "support/zorvane_session.h"

namespace zv::e2e {

// Answers the restart question with Yes and checks that Windows was asked to restart:
// Windows asks a window of this driver whether the session may end.
void CheckRestartRequested(ZorvaneSession& zorvane);

}  // namespace zv::e2e
