// The real "Test Responsiveness" window over its controller: the server field, Start and
// Cancel, the status, a progress bar, the result, Copy Result and Close. It exists only
// while open and deletes itself when closed; the test it started runs on in the tester,
// which the companion's window owns, until Close has cancelled it.
#pragma once

#include <windows.h>

#include <functional>

#include "monitor/rpm_view.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"
#include "win32/vigilo/rpm_tester.h"

namespace zv::win32 {

class RpmWindow : public WindowBase, private monitor::RpmWindowPort {
  public:
    // Null when the window could not be made.
    static RpmWindow* Open(monitor::OptionsPort& options, ui::MessageBoxPort& messages,
                           RpmTester& tester, std::function<void()> on_closed);
    // From the tester, through the companion's window.
    void Progress(int percent, const std::string& text) { view_.Progress(percent, text); }
    void Finished(const monitor::RpmOutcome& outcome) { view_.Finished(outcome); }

  private:
    RpmWindow(monitor::OptionsPort& options, ui::MessageBoxPort& messages, RpmTester& tester,
              std::function<void()> on_closed);
    ~RpmWindow() override;
    bool Build();
    void OnDestroyed() override;
    void OnDpiChanged(int dpi, RECT& suggested) override;

    void ShowProgress(int percent) override;
    void CopyText(const std::string& text) override;
    monitor::NetworkCost Cost() override;
    void Close() override;

    RpmTester& tester_;
    monitor::RpmView view_;
    std::function<void()> on_closed_;
    HFONT font_ = nullptr;
    HWND progress_ = nullptr;
};

}  // namespace zv::win32
