#include "main_window/display_view.h"

namespace zv::main_window {

DisplayView::DisplayView() {
    heading_label.SetBounds({960, 240, 5100, 300});
    explanation_label.SetBounds({960, 660, 5100, 1380});
    cmdOK.SetBounds({4860, 2220, 1200, 375});
}

void DisplayView::Load(const std::string& net_type_text) {
    frmDisplay.SetCaption(kDisplayCaptionPrefix + net_type_text);
    heading_label.SetCaption(kManualHeading);
    explanation_label.SetCaption(kManualExplanation);
}

}  // namespace zv::main_window
