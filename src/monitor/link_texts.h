// Every text the companion makes of its probes, in one include for code that checks them
// side by side: the times, the shared words, the tray tip, the history window's lines and
// the log line. The program's own files include the one they use.
#pragma once

#include "monitor/clock_texts.h"
#include "monitor/history_lines.h"
#include "monitor/link_words.h"
#include "monitor/log_line.h"
#include "monitor/tip_texts.h"
