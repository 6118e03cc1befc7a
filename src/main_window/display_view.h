// The explanation dialog (frmDisplay) shown when the user switches to the manual mode:
// its caption names the connection type on display, its labels explain the mode.
#pragma once

#include <string>

#include "ui/captioned.h"

namespace zv::main_window {

inline constexpr const char* kDisplayCaptionPrefix = "Connection Type - ";
inline constexpr const char* kManualHeading = "You choose to use the \"Manual Optimization Mode\".";
inline constexpr const char* kManualExplanation =
    "Try various settings combinations and watch your Internet performance to find out which "
    "configuration suits you best.\r\n\r\n"
    "In order that your settings will take effect you will have to press the 'Apply' Button "
    "which is located in the bottom of the screen.";

class DisplayView {
  public:
    DisplayView();
    DisplayView(const DisplayView&) = delete;
    DisplayView& operator=(const DisplayView&) = delete;

    // Design captions are placeholders; Load replaces them.
    ui::Window frmDisplay{"Connection Type"};
    ui::Label heading_label{"Label1"};
    ui::Label explanation_label{"Label2"};
    // Closing is the real window's business; it sets the handler.
    ui::Button cmdOK{"OK"};

    // The client size and where the information picture goes, in twips; the constructor
    // places the controls.
    static constexpr int kWidth = 6300;
    static constexpr int kHeight = 2760;
    static constexpr ui::Bounds kPicture{240, 240, 480, 480};

    // net_type_text: the text the connection-type list shows now ("" with no selection).
    void Load(const std::string& net_type_text);
};

}  // namespace zv::main_window
