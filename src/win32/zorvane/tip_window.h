// The real tip of the day window over its controller: a white panel with a bulb, the
// heading and the tip, the OK and Next Tip buttons, and the start-up check box.
#pragma once

#include <windows.h>

#include <string>

#include "common/file_system.h"
#include "main_window/tip_view.h"
#include "win32/ui/small_dialog.h"

namespace zv::win32 {

// What the dialog reads and writes, all living as long as the program.
struct TipServices {
    const FileSystem& files;
    main_window::TipOptionPort& option;
    main_window::RandomSource& random;
    std::string program_dir;
};

class TipWindow : public SmallDialog {
  public:
    // Shows the dialog and returns when it is closed.
    static void ShowModal(HWND owner, const TipServices& services);
    // Shows the dialog without an owner and returns its window (nullptr when it could not
    // be made) at once; it goes away when the user closes it. Unowned, it outlives the main
    // window, which the program keeps running for.
    static HWND ShowModeless(const TipServices& services);

  private:
    TipWindow(const TipServices& services, bool modeless);
    bool Build(HWND owner);
    void Paint(HDC dc) override;
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void OnDestroyed() override;

    main_window::TipView dialog_;
    bool modeless_;
};

}  // namespace zv::win32
