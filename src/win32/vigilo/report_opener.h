// Opens a written outage report with the program that shows web pages, on a thread of its own:
// the shell may take its time to start a browser, which the companion's window must not wait
// for. Windows shows nothing of its own when no program opens the page: the companion tells it.
#pragma once

#include <windows.h>

#include <string>

#include "win32/platform/one_job_worker.h"

namespace zv::win32 {

inline constexpr UINT kReportOpenedMessage = WM_APP + 34;

// TakeOutcome on kReportOpenedMessage: 0, or the Windows error of the open.
class ReportOpener : public OneJobWorker<unsigned long> {
  public:
    ReportOpener();
    // The page's path is UTF-8.
    void Open(const std::string& page_path);
};

}  // namespace zv::win32
