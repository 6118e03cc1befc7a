#include "win32/zorvane/current_settings_window.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/ui/clipboard.h"
#include "win32/ui/layout.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/zorvane/current_settings_ids.h"

namespace zv::win32 {
namespace {

namespace id = current_settings;

// Layout in twips.
constexpr int kMinClientWidth = 8650;
constexpr int kClientHeight = 6600;
constexpr int kMargin = 120;
constexpr int kButtonWidth = 1200;
constexpr int kButtonHeight = 375;
// Room around a text: the list's margins on both sides of a cell, and the wider ones of
// the column titles.
constexpr int kCellPadding = 270;
constexpr int kTitlePadding = 420;

const std::string& Cell(const ReportRow& row, int column) {
    const std::string* cells[] = {&row.setting, &row.now, &row.windows_default,
                                  &row.apply_would_write, &row.used};
    return *cells[column];
}

int TextWidth(HDC dc, const std::string& text) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// As wide as the columns beside the list's scroll bar, so that the list opens without a
// horizontal scroll bar where the screen has the room; on a small screen it scrolls.
int ClientWidthFor(const std::vector<int>& column_widths, int dpi) {
    int width = TwipsToPixels(2 * kMargin, dpi) + GetSystemMetrics(SM_CXVSCROLL) +
                2 * GetSystemMetrics(SM_CXEDGE);
    for (int column : column_widths) {
        width += column;
    }
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return std::min<int>(width, (work.right - work.left) * 9 / 10);
}

}  // namespace

void CurrentSettingsWindow::ShowModal(HWND owner, const CurrentSettingsServices& services) {
    CurrentSettingsWindow window(services);
    if (window.Build(owner)) {
        window.RunModal(owner);
    }
}

CurrentSettingsWindow::~CurrentSettingsWindow() {
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

HWND CurrentSettingsWindow::AddButton(const char* caption, int control_id, DWORD style) {
    HWND button = CreateWindowExA(0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style,
                                  0, 0, 0, 0, hwnd(), reinterpret_cast<HMENU>(control_id),
                                  GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    buttons_.push_back(button);
    return button;
}

bool CurrentSettingsWindow::Build(HWND owner) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    dpi_ = ScreenDpi();
    font_ = CreateMessageFont();
    rows_ = services_.read_report();
    std::vector<int> widths = ColumnWidths();
    int width = ClientWidthFor(widths, dpi_);
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    if (!Create(id::kClassName, id::kCaption, style, WS_EX_DLGMODALFRAME, width,
                TwipsToPixels(kClientHeight, dpi_), owner)) {
        return false;
    }
    AddList(widths);
    AddButton("&Copy", id::cmdCopy, BS_PUSHBUTTON);
    AddButton("&Save As...", id::cmdSaveAs, BS_PUSHBUTTON);
    AddButton("&Refresh", id::cmdRefresh, BS_PUSHBUTTON);
    AddButton("Close", id::cmdClose, BS_DEFPUSHBUTTON);
    LayOut();
    SetFocus(list_);
    return true;
}

// Each column as wide as its title or its longest text, so that nothing is cut off where
// the screen has the room (a real interface's key is a GUID of 38 characters). The longest
// text by characters stands for the widest: measuring every row of a hundred interfaces
// would cost more than it gains.
std::vector<int> CurrentSettingsWindow::ColumnWidths() const {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old_font = SelectObject(dc, font_);
    const std::vector<std::string>& titles = ReportColumns();
    std::vector<int> widths;
    for (size_t column = 0; column < titles.size(); ++column) {
        const std::string* longest = &titles[column];
        for (const ReportRow& row : rows_) {
            const std::string& text = Cell(row, static_cast<int>(column));
            if (text.size() > longest->size()) {
                longest = &text;
            }
        }
        widths.push_back(
            std::max(TextWidth(dc, titles[column]) + TwipsToPixels(kTitlePadding, dpi_),
                     TextWidth(dc, *longest) + TwipsToPixels(kCellPadding, dpi_)));
    }
    SelectObject(dc, old_font);
    ReleaseDC(nullptr, dc);
    return widths;
}

// The list asks for the text of the rows it draws, so that a hundred interfaces (hundreds
// of rows) open as fast as one.
void CurrentSettingsWindow::AddList(const std::vector<int>& widths) {
    list_ = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0, 0,
        0, 0, hwnd(), reinterpret_cast<HMENU>(id::lvwSettings), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const std::vector<std::string>& titles = ReportColumns();
    for (size_t i = 0; i < titles.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(titles[i].c_str());
        column.cx = widths[i];
        SendMessageA(list_, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
}

void CurrentSettingsWindow::Refresh() {
    rows_ = services_.read_report();
    ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
    InvalidateRect(list_, nullptr, TRUE);
}

// The list may ask in either character set, whichever it settled on with the window.
bool CurrentSettingsWindow::OnGetCellText(NMHDR* header) {
    if (header->hwndFrom != list_) {
        return false;
    }
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem < static_cast<int>(rows_.size())) {
            lstrcpynA(item.pszText, Cell(rows_[item.iItem], item.iSubItem).c_str(),
                      item.cchTextMax);
        }
        return true;
    }
    if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem < static_cast<int>(rows_.size()) &&
            item.cchTextMax > 0) {
            const std::string& text = Cell(rows_[item.iItem], item.iSubItem);
            int length =
                MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, item.pszText, item.cchTextMax);
            item.pszText[length > 0 ? length - 1 : 0] = L'\0';
        }
        return true;
    }
    return false;
}

// The list takes the window less a row of buttons at the bottom right.
void CurrentSettingsWindow::LayOut() {
    RECT client;
    GetClientRect(hwnd(), &client);
    int margin = TwipsToPixels(kMargin, dpi_);
    int width = TwipsToPixels(kButtonWidth, dpi_);
    int height = TwipsToPixels(kButtonHeight, dpi_);
    int buttons_top = client.bottom - margin - height;
    MoveWindow(list_, margin, margin, client.right - 2 * margin, buttons_top - 2 * margin, TRUE);
    int left =
        client.right - margin - static_cast<int>(buttons_.size()) * (width + margin) + margin;
    for (HWND button : buttons_) {
        MoveWindow(button, left, buttons_top, width, height, TRUE);
        left += width + margin;
    }
}

// The selected rows, or every row when none is selected, always under the column titles.
void CurrentSettingsWindow::Copy() {
    std::vector<ReportRow> chosen;
    for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0;
         i = ListView_GetNextItem(list_, i, LVNI_SELECTED)) {
        chosen.push_back(rows_[i]);
    }
    SetClipboardText(hwnd(), ReportText(chosen.empty() ? rows_ : chosen));
}

void CurrentSettingsWindow::SaveAs() {
    SaveFileRequest request;
    request.owner = hwnd();
    request.title = "Save As";
    request.filter = "Text Document (*.txt)\0*.txt\0";
    request.default_extension = "txt";
    request.initial_folder = services_.save_folder;
    request.suggested_name = "Current Settings.txt";
    std::string path = ChooseSaveFile(request);
    if (path.empty() || services_.files.WriteFileAtomic(path, ReportText(rows_))) {
        return;
    }
    ui::Message message;
    message.text = "The list could not be saved to\r\n" + path;
    message.caption = "Zorvane";
    message.icon = ui::MessageIcon::Exclamation;
    services_.messages.Show(message);
}

LRESULT CurrentSettingsWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            LayOut();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lparam);
            limits->ptMinTrackSize.x = TwipsToPixels(kMinClientWidth, dpi_);
            limits->ptMinTrackSize.y = TwipsToPixels(kClientHeight / 2, dpi_);
            return 0;
        }
        case WM_NOTIFY: {
            if (OnGetCellText(reinterpret_cast<NMHDR*>(lparam))) {
                return 0;
            }
            auto* key = reinterpret_cast<NMLVKEYDOWN*>(lparam);
            if (key->hdr.hwndFrom == list_ && key->hdr.code == LVN_KEYDOWN && key->wVKey == 'C' &&
                GetKeyState(VK_CONTROL) < 0) {
                Copy();
            }
            break;
        }
        case WM_COMMAND:
            switch (LOWORD(wparam)) {
                case id::cmdCopy:
                    Copy();
                    return 0;
                case id::cmdSaveAs:
                    SaveAs();
                    return 0;
                case id::cmdRefresh:
                    Refresh();
                    return 0;
                case id::cmdClose:
                    DestroyWindow(hwnd());
                    return 0;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
