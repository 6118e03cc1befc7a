// The Network Stack window as a controller: the findings at the top, each with its Fix
// button, and Fix All; below, the modern stack's rows (setting, now, Windows default, when
// a change takes effect, the new value picked), a list to pick a new value for the selected
// row, and Apply Changes. Reading and changing are slow (WMI, netsh), so they run on a
// worker: rows fill in as they arrive, and the window stays usable meanwhile. A change
// never outlives the window unseen: asked to close while one runs, the window says it is
// finishing, and when the change ends shows its outcome in a message box, then closes.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/captioned.h"
#include "ui/combo_box.h"
#include "ui/field.h"
#include "ui/held_close.h"
#include "ui/ports.h"

namespace zv::main_window {

// One row of the list as read.
struct StackRowText {
    std::string setting;
    std::string now;
    std::string windows_default;
    std::string takes_effect;
    // The values the user may pick; none: the row cannot be changed here.
    std::vector<std::string> choices;
    // Undo can put only the Windows default back, since the old value could not be read.
    bool undo_to_default_only = false;
};

// A harmful state found: the reason in one sentence, and whether Zorvane may fix it (not
// where Group Policy decides).
struct StackFindingText {
    std::string text;
    bool fixable = true;
};

// What the user asked to change: findings to fix, by index, and new values, by row index.
struct StackChangeRequest {
    std::vector<size_t> fixes;
    std::vector<std::pair<size_t, std::string>> values;
};

// The worker. Both calls return at once; their answers come back on the window's thread,
// in order: Read's as OnRows (any number of times) then OnReadDone; Change's as OnChanged.
class NetworkStackWorker {
  public:
    virtual ~NetworkStackWorker() = default;
    virtual void Read() = 0;
    // Records a snapshot, then makes the changes, each read back where Windows allows.
    virtual void Change(const StackChangeRequest& request) = 0;
};

// The list's columns.
const std::vector<std::string>& StackColumns();
inline constexpr size_t kFindingSlots = 4;
// Client size in twips.
inline constexpr int kStackWidth = 10800;
inline constexpr int kStackHeight = 8700;

class NetworkStackView {
  public:
    NetworkStackView(NetworkStackWorker& worker, ui::MessageBoxPort& messages);
    NetworkStackView(const NetworkStackView&) = delete;
    NetworkStackView& operator=(const NetworkStackView&) = delete;

    // The list's rows changed: the window shows their number anew.
    std::function<void()> on_rows_changed;
    std::function<void()> on_unload;

    // Starts the first read; the window opens at once with what has arrived.
    void Load();
    void OnRows(const std::vector<StackRowText>& rows);
    void OnReadDone(const std::vector<StackFindingText>& findings, const std::string& note);
    // One line per change: done, refused (and why), or not available on this system.
    void OnChanged(const std::vector<std::string>& outcomes);

    size_t RowCount() const { return rows_.size(); }
    std::string Cell(size_t row, size_t column) const;
    // The user selected a row of the list (or none, with an index past the rows).
    void SelectRow(size_t row);
    // Close, Esc and the title bar's close box: the window goes at once, or once the change
    // that runs has ended and its outcome was shown.
    void Close();
    bool busy() const { return busy_; }

    ui::Window frmNetworkStack{"Network Stack"};
    ui::Label lblFindings{"Reading the settings..."};
    ui::Label lblFinding[kFindingSlots];
    ui::Button cmdFix[kFindingSlots] = {ui::Button{"Fix"}, ui::Button{"Fix"}, ui::Button{"Fix"},
                                        ui::Button{"Fix"}};
    ui::Button cmdFixAll{"Fix &All"};
    ui::Field<ui::ComboBox> fldNewValue{"&New value:"};
    ui::Button cmdApply{"A&pply Changes"};
    ui::Label lblStatus;
    ui::Button cmdRefresh{"&Refresh"};
    ui::Button cmdClose{"Close"};
    // Where the window draws the list.
    static ui::Bounds ListBounds();

  private:
    void PlaceControls();
    void StartRead();
    void ShowFindings();
    void ShowAvailability();
    void PickNewValue();
    void Fix(std::vector<size_t> findings);
    void ApplyChanges();
    void Send(const StackChangeRequest& request);

    NetworkStackWorker& worker_;
    ui::MessageBoxPort& messages_;
    std::vector<StackRowText> rows_;
    std::vector<StackFindingText> findings_;
    std::map<size_t, std::string> picked_;  // by row
    size_t selected_ = static_cast<size_t>(-1);
    bool busy_ = false;
    bool changing_ = false;
    ui::HeldClose held_close_;
    bool filling_choices_ = false;
};

}  // namespace zv::main_window
