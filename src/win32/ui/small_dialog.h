// The base of the small dialogs (the tip of the day, the explanation of Manual mode): a
// fixed-size popup with a caption and a close box, laid out in twips at its own DPI,
// with the message font and a bold heading font. Esc, the close box and the OK button
// close it; the dialog's own drawing goes in Paint.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/captioned.h"
#include "win32/ui/binder.h"
#include "win32/ui/window_base.h"

namespace zv::win32 {

// What every dialog of one kind is made with.
struct DialogShape {
    const char* class_name;
    int width_twips;  // the client area
    int height_twips;
    int heading_points = 0;  // the bold heading's height; 0: as tall as the message font
    bool closes_on_escape = true;
};

class SmallDialog : public WindowBase {
  protected:
    SmallDialog() = default;
    ~SmallDialog() override;

    // Creates the window with the model's caption, then the fonts and the binder, which
    // keeps the window in step with its model. A dialog that makes common controls registers
    // them first (InitCommonControlsEx), so that only the program that has such a dialog
    // loads comctl32 at its start.
    bool MakeWindow(const DialogShape& shape, ui::Window& model, HWND owner);

    HWND AddHeading(ui::Label& model, int id);
    // The default button, which closes the dialog.
    HWND AddOkButton(ui::Button& model, int id);

    int dpi() const { return dpi_; }

    virtual void Paint(HDC /*dc*/) {}
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    // Both fonts and every control anew at the DPI; a dialog with more to scale adds it.
    void OnDpiChanged(int dpi, RECT& suggested) override;

  private:
    void MakeFonts();

    int dpi_ = 96;
    int heading_points_ = 0;
    HFONT font_ = nullptr;
    HFONT heading_font_ = nullptr;
    std::vector<HWND> headings_;
};

}  // namespace zv::win32
