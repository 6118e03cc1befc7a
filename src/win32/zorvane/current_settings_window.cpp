#include "win32/zorvane/current_settings_window.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/ui/clipboard.h"
#include "win32/ui/layout.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/ui/virtual_list.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::win32 {
namespace {

namespace id = frm_current_settings;

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

}  // namespace

void CurrentSettingsWindow::ShowModal(HWND owner, const CurrentSettingsServices& services) {
    CurrentSettingsWindow window(services);
    if (window.Build(owner)) {
        window.RunModal(owner);
    }
}

CurrentSettingsWindow::CurrentSettingsWindow(const CurrentSettingsServices& services)
    : services_(services),
      view_({services.read_report, services.files, services.messages, *this}) {}

CurrentSettingsWindow::~CurrentSettingsWindow() {
    DropBinder();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool CurrentSettingsWindow::Build(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    dpi_ = WindowDpi(owner);
    font_ = CreateMessageFont(dpi_);
    view_.Load();
    std::vector<int> widths;
    const int width = ClientWidthForColumns(widths);
    const int height = TwipsToPixels(main_window::kCurrentSettingsHeight, dpi_);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    if (!Create(id::kClassName, view_.frmCurrentSettings.caption().c_str(), style,
                WS_EX_DLGMODALFRAME, width, height, owner)) {
        return false;
    }
    MakeBinder(font_, dpi_, true);
    view_.Layout(PixelsToTwips(width, dpi_), main_window::kCurrentSettingsHeight);
    AddList(widths);
    binder().AddButton(view_.cmdCopy, id::cmdCopy);
    binder().AddButton(view_.cmdSaveAs, id::cmdSaveAs);
    binder().AddButton(view_.cmdRefresh, id::cmdRefresh);
    binder().AddButton(view_.cmdClose, id::cmdClose, BS_DEFPUSHBUTTON);
    SetFocus(list_);
    return true;
}

// Each column as wide as the texts the controller names for it; the dialog as wide as the
// columns beside the list's scroll bar, so that the list opens without a horizontal scroll
// bar where the screen has the room. On a small screen it scrolls.
int CurrentSettingsWindow::ClientWidthForColumns(std::vector<int>& widths) const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old_font = SelectObject(dc, font_);
    widths.clear();
    for (const main_window::ColumnTexts& texts : view_.WidestTexts()) {
        widths.push_back(std::max(
            TextWidth(dc, texts.title) + TwipsToPixels(main_window::kTitlePaddingTwips, dpi_),
            TextWidth(dc, texts.longest_cell) +
                TwipsToPixels(main_window::kCellPaddingTwips, dpi_)));
    }
    SelectObject(dc, old_font);
    ReleaseDC(nullptr, dc);
    int total = TwipsToPixels(main_window::CurrentSettingsView::ChromeTwips(), dpi_) +
                SystemMetricForDpi(SM_CXVSCROLL, dpi_) + 2 * SystemMetricForDpi(SM_CXEDGE, dpi_);
    for (int width : widths) {
        total += width;
    }
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return std::min<int>(total, (work.right - work.left) * 9 / 10);
}

void CurrentSettingsWindow::AddList(const std::vector<int>& widths) {
    binder().AddReaderName("Settings", view_.ListBounds());
    list_ = CreateVirtualList(hwnd(), id::lvwSettings, font_, ReportColumns(), widths);
    const RECT place = binder().TwipsToRect(view_.ListBounds());
    MoveWindow(list_, place.left, place.top, place.right - place.left, place.bottom - place.top,
               FALSE);
    ListView_SetItemCountEx(list_, static_cast<int>(view_.RowCount()), 0);
}

// The columns widen with the font; the window takes the size Windows suggests.
void CurrentSettingsWindow::OnDpiChanged(int dpi, RECT& /*suggested*/) {
    dpi_ = dpi;
    RescaleControls(font_, dpi);
    std::vector<int> widths;
    ClientWidthForColumns(widths);
    RescaleList(list_, font_, widths);
}

void CurrentSettingsWindow::Resize() {
    RECT client;
    GetClientRect(hwnd(), &client);
    view_.Layout(PixelsToTwips(client.right, dpi_), PixelsToTwips(client.bottom, dpi_));
    const RECT place = binder().TwipsToRect(view_.ListBounds());
    MoveWindow(list_, place.left, place.top, place.right - place.left, place.bottom - place.top,
               TRUE);
}

std::string CurrentSettingsWindow::ChooseSaveFile(const std::string& suggested_name) {
    return win32::ChooseSaveFile({hwnd(), "Save As", "Text Document (*.txt)\0*.txt\0", "txt",
                                  services_.save_folder, suggested_name});
}

void CurrentSettingsWindow::CopyToClipboard(const std::string& text) {
    SetClipboardText(hwnd(), text);
}

std::vector<size_t> CurrentSettingsWindow::SelectedRows() {
    std::vector<size_t> rows;
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) {
        rows.push_back(static_cast<size_t>(i));
    }
    return rows;
}

void CurrentSettingsWindow::ShowRows() {
    ListView_SetItemCountEx(list_, static_cast<int>(view_.RowCount()), 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void CurrentSettingsWindow::Close() {
    DestroyWindow(hwnd());
}

LRESULT CurrentSettingsWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            if (HasBinder()) {
                Resize();
            }
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
            limits->ptMinTrackSize.x = TwipsToPixels(main_window::kCurrentSettingsMinWidth, dpi_);
            limits->ptMinTrackSize.y = TwipsToPixels(main_window::kCurrentSettingsMinHeight, dpi_);
            return 0;
        }
        case WM_NOTIFY: {
            if (AnswerCellText(
                    list_, reinterpret_cast<NMHDR*>(lparam),
                    [this](size_t row, size_t column) { return view_.Cell(row, column); })) {
                return 0;
            }
            auto* key = reinterpret_cast<NMLVKEYDOWN*>(lparam);
            if (key->hdr.hwndFrom == list_ && key->hdr.code == LVN_KEYDOWN && key->wVKey == 'C' &&
                GetKeyState(VK_CONTROL) < 0) {
                view_.Copy();
            }
            break;
        }
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
