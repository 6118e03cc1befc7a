#include "win32/ui/virtual_list.h"

namespace zv::win32 {

HWND CreateVirtualList(HWND parent, int id, HFONT font, const std::vector<std::string>& titles,
                       const std::vector<int>& widths) {
    HWND list = CreateWindowExA(
        WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, 0, 0,
        0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
        nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (size_t i = 0; i < titles.size() && i < widths.size(); ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(titles[i].c_str());
        column.cx = widths[i];
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void RescaleList(HWND list, HFONT font, const std::vector<int>& widths) {
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    for (size_t i = 0; i < widths.size(); ++i) {
        ListView_SetColumnWidth(list, static_cast<int>(i), widths[i]);
    }
}

bool AnswerCellText(HWND list, NMHDR* header, const CellText& cell) {
    if (header->hwndFrom != list) {
        return false;
    }
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0) {
            lstrcpynA(item.pszText, cell(item.iItem, item.iSubItem).c_str(), item.cchTextMax);
        }
        return true;
    }
    if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(header)->item;
        if ((item.mask & LVIF_TEXT) != 0 && item.iItem >= 0 && item.cchTextMax > 0) {
            const std::string text = cell(item.iItem, item.iSubItem);
            int length =
                MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, item.pszText, item.cchTextMax);
            item.pszText[length > 0 ? length - 1 : 0] = L'\0';
        }
        return true;
    }
    return false;
}

}  // namespace zv::win32
