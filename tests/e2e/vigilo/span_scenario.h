// The history window's week end to end: a record of seven days with time off and an outage,
// the week's graph, a zoom by a drag, Backspace, and Save History As of the span shown.
#pragma once

namespace zv::e2e {

// Runs with the probe host answering on loopback.
void SpanScenario();

}  // namespace zv::e2e
