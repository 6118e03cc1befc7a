#include "main_window/display_dialog.h"

namespace zv::main_window {

void DisplayDialog::Load(const std::string& net_type_text) {
    frmDisplay.SetCaption(kDisplayCaptionPrefix + net_type_text);
    Label1.SetCaption(kManualHeading);
    Label2.SetCaption(kManualExplanation);
}

}  // namespace zv::main_window
