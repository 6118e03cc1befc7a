#include "main_window/display_view.h"

namespace zv::main_window {

DisplayView::DisplayView() {
    Label1.SetBounds({960, 240, 5100, 300});
    Label2.SetBounds({960, 660, 5100, 1380});
    cmdOK.SetBounds({4860, 2220, 1200, 375});
}

void DisplayView::Load(const std::string& net_type_text) {
    frmDisplay.SetCaption(kDisplayCaptionPrefix + net_type_text);
    Label1.SetCaption(kManualHeading);
    Label2.SetCaption(kManualExplanation);
}

}  // namespace zv::main_window
