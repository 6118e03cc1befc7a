// A report list that asks its owner for the text of the rows it draws (LVS_OWNERDATA), so
// that a long list opens as fast as a short one: made with its columns, and answered cell by
// cell from a function of (row, column).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace zv::win32 {

using CellText = std::function<std::string(size_t row, size_t column)>;

HWND CreateVirtualList(HWND parent, int id, HFONT font, const std::vector<std::string>& titles,
                       const std::vector<int>& widths);

// The list's font and column widths for a new DPI.
void RescaleList(HWND list, HFONT font, const std::vector<int>& widths);

// Answers the list's request for a cell's text; false when the notice is not such a request
// from this list. The list may ask in either character set.
bool AnswerCellText(HWND list, NMHDR* header, const CellText& cell);

}  // namespace zv::win32
