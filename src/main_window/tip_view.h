// The tip of the day (frmTip): one line of "TIPs.TXT" beside the program, drawn at random,
// another one on "Next Tip", and the per-user switch that shows the dialog at start.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "common/file_system.h"
#include "main_window/tip_option.h"
#include "ui/captioned.h"
#include "ui/check_box.h"

namespace zv::main_window {

inline constexpr const char* kTipFileName = "TIPs.TXT";
inline constexpr const char* kTipCaption = "Tip of the Day";

// What the dialog shows in place of a tip when the file is missing.
std::string MissingTipFileMessage();

// The lines of a tip file: a line ends at CR LF or at a CR alone; a LF alone stays part of
// the line; a line end at the very end of the text starts no further line.
std::vector<std::string> SplitTipLines(const std::string& text);

// Uniform numbers r with 0 <= r < 1.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual double Next() = 0;
};

// Seeded from the clock, so that each run draws another sequence.
class ClockSeededRandom : public RandomSource {
  public:
    ClockSeededRandom();
    double Next() override;

  private:
    std::mt19937 engine_;
};

class TipView {
  public:
    TipView(const FileSystem& files, TipOptionPort& option, RandomSource& random,
            std::string program_dir);
    TipView(const TipView&) = delete;
    TipView& operator=(const TipView&) = delete;

    ui::Window frmTip{kTipCaption};
    ui::Label heading_label{"Did you know..."};
    ui::Label lblTipText;
    ui::Button cmdNextTip{"&Next Tip"};
    ui::CheckBox chkLoadTipsAtStartup{"&Show Tips at Startup"};
    // Closing is the real window's business; it sets the handler.
    ui::Button cmdOK{"OK"};

    // The client size, the white panel the tip stands on and the bulb on it, in twips; the
    // constructor places the controls.
    static constexpr int kWidth = 6420;
    static constexpr int kHeight = 3480;
    static constexpr ui::Bounds kPanel{120, 120, 4740, 2760};
    static constexpr ui::Bounds kPicture{240, 300, 480, 480};

    // The dialog's load: option into the check box, tips from the file (or the
    // missing-file message), and a first random tip.
    void Load();

    // True when the file was found and read; shows a random tip then.
    bool LoadTips(const std::string& path);
    void ShowRandomTip();
    void DisplayCurrentTip();

    int32_t current_tip() const { return current_tip_; }
    const std::vector<std::string>& tips() const { return tips_; }

  private:
    const FileSystem& files_;
    TipOptionPort& option_;
    RandomSource& random_;
    std::string program_dir_;
    std::vector<std::string> tips_;
    int32_t current_tip_ = 0;
};

}  // namespace zv::main_window
