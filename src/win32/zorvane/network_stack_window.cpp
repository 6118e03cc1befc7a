#include "win32/zorvane/network_stack_window.h"

#include <commctrl.h>

#include "win32/ui/layout.h"
#include "win32/ui/virtual_list.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::win32 {
namespace {

namespace id = frm_network_stack;

// The columns' widths in twips: the setting's name is the longest text.
constexpr int kColumnTwips[] = {4100, 1600, 2000, 1500, 1100};

}  // namespace

void NetworkStackWindow::ShowModal(HWND owner,
                                   std::shared_ptr<main_window::NetworkStackSource> source) {
    NetworkStackWindow window(std::move(source));
    if (window.Build(owner)) {
        window.view_.Load();
        window.RunModal(owner);
    }
}

NetworkStackWindow::NetworkStackWindow(std::shared_ptr<main_window::NetworkStackSource> source)
    : worker_(std::move(source)), view_(worker_, messages_) {
    view_.on_rows_changed = [this] { ShowRowCount(); };
    view_.on_unload = [this] { CloseSoon(); };
}

// Created in tab order: the findings and their buttons, the list, then the controls below.
bool NetworkStackWindow::Build(HWND owner) {
    constexpr DialogShape kShape{id::kClassName, main_window::kStackWidth,
                                 main_window::kStackHeight, 0, false};
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!MakeWindow(kShape, view_.frmNetworkStack, owner)) {
        return false;
    }
    worker_.ReportTo(hwnd());
    Binder& binder = this->binder();
    AddHeading(view_.lblFindings, id::lblFindings);
    for (size_t i = 0; i < main_window::kFindingSlots; ++i) {
        const int slot = static_cast<int>(i);
        binder.AddLabel(view_.lblFinding[i], id::lblFinding0 + slot, SS_LEFT | SS_NOPREFIX);
        binder.AddButton(view_.cmdFix[i], id::cmdFix0 + slot);
    }
    binder.AddButton(view_.cmdFixAll, id::cmdFixAll);
    AddList();
    binder.AddField(view_.fldNewValue, id::lblNewValue, id::cmbNewValue, 8);
    binder.AddButton(view_.cmdApply, id::cmdApply);
    binder.AddLabel(view_.lblStatus, id::lblStatus, SS_LEFT | SS_NOPREFIX);
    binder.AddButton(view_.cmdRefresh, id::cmdRefresh);
    binder.AddButton(view_.cmdClose, id::cmdClose, BS_DEFPUSHBUTTON);
    return true;
}

std::vector<int> NetworkStackWindow::ColumnWidths() const {
    std::vector<int> widths;
    for (int twips : kColumnTwips) {
        widths.push_back(TwipsToPixels(twips, dpi()));
    }
    return widths;
}

// The list takes the font of the controls before it.
HFONT NetworkStackWindow::ListFont() const {
    return reinterpret_cast<HFONT>(
        SendMessageA(GetDlgItem(hwnd(), id::lblFinding0), WM_GETFONT, 0, 0));
}

void NetworkStackWindow::AddList() {
    binder().AddReaderName("Stack settings", main_window::NetworkStackView::ListBounds());
    list_ = CreateVirtualList(hwnd(), id::lvwStack, ListFont(), main_window::StackColumns(),
                              ColumnWidths());
    binder().KeepPlaced(list_, main_window::NetworkStackView::ListBounds());
}

void NetworkStackWindow::OnDpiChanged(int dpi, RECT& suggested) {
    SmallDialog::OnDpiChanged(dpi, suggested);
    RescaleList(list_, ListFont(), ColumnWidths());
}

void NetworkStackWindow::ShowRowCount() {
    if (list_ != nullptr) {
        ListView_SetItemCountEx(list_, static_cast<int>(view_.RowCount()), LVSICF_NOSCROLL);
        InvalidateRect(list_, nullptr, FALSE);
    }
}

void NetworkStackWindow::OnListNotice(NMHDR* header) {
    if (header->hwndFrom == list_ && header->code == LVN_ITEMCHANGED) {
        const int selected = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
        view_.SelectRow(selected < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(selected));
    }
}

LRESULT NetworkStackWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case kStackAnswerMessage:
            worker_.DeliverAnswers(view_);
            return 0;
        case WM_CLOSE:
            view_.Close();
            return 0;
        case WM_COMMAND:
            if (LOWORD(wparam) == IDCANCEL) {  // Esc
                view_.Close();
                return 0;
            }
            break;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lparam);
            if (AnswerCellText(list_, header, [this](size_t row, size_t column) {
                    return view_.Cell(row, column);
                })) {
                return 0;
            }
            OnListNotice(header);
            break;
        }
        default:
            break;
    }
    return SmallDialog::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
