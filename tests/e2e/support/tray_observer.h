// Watches the notification area as Wine's explorer draws it: the tray icon windows of its
// standalone system tray and their pixels on the screen, matched against the companion's
// own five pictures. Nothing is asked of the companion itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zv::e2e {

class TrayObserver {
  public:
    // Renders the reference pictures from the program file's icon resources.
    explicit TrayObserver(const std::string& vigilo_exe);

    // The icon windows explorer shows in its tray, in any of its tray windows.
    std::vector<HWND> IconWindows() const;

    // Which of the five pictures the single tray icon shows: 1 to 5, 0 when no icon is
    // there or it matches none.
    int CurrentImage() const;

    // Waits until the icon shows the picture; false after the limit.
    bool WaitForImage(int image, DWORD limit_ms) const;

    // The distinct pictures shown over the time, in order (repeats collapsed), with the
    // times of the changes in ms.
    struct Timeline {
        std::vector<int> images;
        std::vector<DWORD> change_ms;
    };
    Timeline Watch(DWORD duration_ms) const;

    // Screen position of the icon's centre.
    bool IconCentre(POINT& centre) const;

    // The icon's tip as the tray shows it when the mouse rests on the icon; empty when no
    // tip came up within the limit. The mouse is left on the icon.
    std::string TipText(DWORD limit_ms = 5000) const;

    // A picture as drawn at 16x16, and which of its pixels it covers fully.
    struct Reference {
        std::vector<COLORREF> pixels;
        std::vector<bool> opaque;
    };

  private:
    int Match(const std::vector<COLORREF>& pixels) const;

    std::vector<Reference> references_;
};

// A readable "1 2 3 4 1 ..." for a list of pictures.
std::string Join(const std::vector<int>& images);

}  // namespace zv::e2e
