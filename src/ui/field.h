// A control and the label that names it. The label's access key ("&Host:") moves the focus
// to the control made right after it, so the two are declared, and made, as one.
#pragma once

#include <string>

#include "ui/captioned.h"

namespace zv::ui {

template <typename Box>
struct Field {
    explicit Field(std::string caption) : label(std::move(caption)) {}

    Label label;
    Box box;
};

}  // namespace zv::ui
