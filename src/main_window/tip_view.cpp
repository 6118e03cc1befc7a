#include "main_window/tip_view.h"

#include <chrono>

#include "common/flags.h"

namespace zv::main_window {

std::string MissingTipFileMessage() {
    return std::string("That the ") + kTipFileName + " file was not found? " + "\r\n" + "\r\n" +
           "Create a text file named " + kTipFileName + " using NotePad with 1 tip per line. " +
           "Then place it in the same directory as the application. ";
}

std::vector<std::string> SplitTipLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            line += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

ClockSeededRandom::ClockSeededRandom()
    : engine_(static_cast<std::mt19937::result_type>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

double ClockSeededRandom::Next() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine_);
}

TipView::TipView(const FileSystem& files, TipOptionPort& option, RandomSource& random,
                 std::string program_dir)
    : files_(files), option_(option), random_(random), program_dir_(std::move(program_dir)) {
    cmdNextTip.on_click = [this] { ShowRandomTip(); };
    heading_label.SetBounds({900, 300, 3800, 360});
    lblTipText.SetBounds({900, 780, 3800, 1980});
    cmdOK.SetBounds({5040, 120, 1260, 375});
    cmdNextTip.SetBounds({5040, 600, 1260, 375});
    chkLoadTipsAtStartup.SetBounds({120, 3030, 3600, 315});
}

void TipView::Load() {
    chkLoadTipsAtStartup.SetValue(FlagToChecked(ShowTipsAtStartup(option_)));
    // Set after the load, so that opening the dialog stores nothing.
    chkLoadTipsAtStartup.on_change = [this] {
        option_.Write(CheckedToFlag(chkLoadTipsAtStartup.value()) ? "1" : "0");
    };
    if (!LoadTips(program_dir_ + "\\" + kTipFileName)) {
        lblTipText.SetCaption(MissingTipFileMessage());
    }
}

bool TipView::LoadTips(const std::string& path) {
    if (path.empty() || !files_.FileExists(path)) {
        return false;
    }
    auto text = files_.ReadFile(path);
    if (!text) {
        return false;
    }
    for (std::string& line : SplitTipLines(*text)) {
        tips_.push_back(std::move(line));
    }
    ShowRandomTip();
    return true;
}

void TipView::ShowRandomTip() {
    double r = random_.Next();
    auto count = static_cast<int32_t>(tips_.size());
    current_tip_ = static_cast<int32_t>(r * count + 1);
    // Guards against a generator that returns 1 or more, or rounding at the top end.
    if (current_tip_ > count) {
        current_tip_ = count;
    }
    if (current_tip_ < 1) {
        current_tip_ = 1;
    }
    DisplayCurrentTip();
}

void TipView::DisplayCurrentTip() {
    if (!tips_.empty()) {
        lblTipText.SetCaption(tips_[static_cast<size_t>(current_tip_ - 1)]);
    }
}

}  // namespace zv::main_window
