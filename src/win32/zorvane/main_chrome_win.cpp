#include "win32/zorvane/main_chrome_win.h"

#include <algorithm>

#include <commctrl.h>

#include "win32/ui/layout.h"
#include "win32/ui/system_colours.h"
#include "win32/zorvane/colour_option.h"
#include "win32/zorvane/toolbar_images.h"
#include "win32/zorvane/zorvane_ids.h"

namespace zv::win32 {
namespace {

// The controls' own visibility, which holds also while frmMain itself is still hidden.
bool HasVisibleStyle(HWND control) {
    return (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The height a bar takes from the client area: none while it is hidden.
int VisibleHeight(HWND bar) {
    if (!HasVisibleStyle(bar)) {
        return 0;
    }
    RECT r;
    GetWindowRect(bar, &r);
    return r.bottom - r.top;
}

// Blank space around a status panel's text, in pixels at 96 DPI.
constexpr int kPanelPadding = 16;

}  // namespace

// Mirrors the toolbar model: visibility and button pictures.
class MainChromeWin::ToolbarView : public ui::ControlView {
  public:
    explicit ToolbarView(MainChromeWin& owner) : owner_(owner) {}
    void OnChange(ui::Change what) override {
        if (what == ui::Change::Visible) {
            ShowWindow(owner_.toolbar_, owner_.chrome_->toolbar.visible() ? SW_SHOW : SW_HIDE);
        } else if (what == ui::Change::Items) {
            owner_.UpdateToolbarImages();
        }
    }

  private:
    MainChromeWin& owner_;
};

// Mirrors the status bar model: visibility and panel texts. Windows keeps the real bar at
// the bottom of the window, so the model's position is not copied.
class MainChromeWin::StatusBarView : public ui::ControlView {
  public:
    explicit StatusBarView(MainChromeWin& owner) : owner_(owner) {}
    void OnChange(ui::Change what) override {
        if (what == ui::Change::Visible) {
            bool visible = owner_.chrome_->status_bar.visible();
            ShowWindow(owner_.status_bar_, visible ? SW_SHOW : SW_HIDE);
        } else if (what == ui::Change::Text) {
            owner_.UpdateStatusTexts();
        }
    }

  private:
    MainChromeWin& owner_;
};

MainChromeWin::MainChromeWin(HWND frm_main, const TipServices& services)
    : frm_main_(frm_main), tip_services_(services) {}

MainChromeWin::~MainChromeWin() {
    if (chrome_ != nullptr) {
        chrome_->toolbar.AttachView(nullptr);
        chrome_->status_bar.AttachView(nullptr);
    }
    menu_bar_.reset();
    if (toolbar_ != nullptr && IsWindow(toolbar_)) {
        SendMessageA(toolbar_, TB_SETIMAGELIST, 0, 0);
    }
    if (images_ != nullptr) {
        ImageList_Destroy(images_);
    }
}

void MainChromeWin::Create(main_window::MainChrome& chrome, HFONT font, int dpi) {
    chrome_ = &chrome;
    dpi_ = dpi;
    font_ = font;
    chrome.ShowSystemColours(ReadSystemColoursOption());
    chrome.on_colours_chosen = [this] {
        WriteSystemColoursOption(chrome_->SystemColours());
        ColoursChanged();
    };
    menu_bar_ = std::make_unique<RealMenu>(chrome.menu, frm_main_, RealMenu::Kind::MenuBar);
    CreateToolbar();
    CreateStatusBar();
}

void MainChromeWin::CreateToolbar() {
    toolbar_ = CreateWindowExA(
        0, TOOLBARCLASSNAMEA, nullptr,
        WS_CHILD | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0,
        frm_main_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(frm_main::toolbar)),
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    MakeToolbarImages();

    const auto& buttons = chrome_->toolbar.buttons();
    std::vector<TBBUTTON> real(buttons.size());
    for (size_t i = 0; i < buttons.size(); ++i) {
        TBBUTTON& b = real[i];
        b.idCommand = frm_main::Toolbar1FirstButton + static_cast<int>(i);
        b.fsState = TBSTATE_ENABLED;
        if (buttons[i].IsSeparator()) {
            b.fsStyle = BTNS_SEP;
            continue;
        }
        b.fsStyle = BTNS_BUTTON;
        b.iBitmap = buttons[i].image > 0 ? buttons[i].image - 1 : I_IMAGENONE;
        b.iString =
            buttons[i].caption.empty() ? -1 : reinterpret_cast<INT_PTR>(buttons[i].caption.c_str());
    }
    SendMessageA(toolbar_, TB_ADDBUTTONSA, real.size(), reinterpret_cast<LPARAM>(real.data()));
    SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    ShowWindow(toolbar_, chrome_->toolbar.visible() ? SW_SHOW : SW_HIDE);
    KeepToolbarBounds();
    toolbar_view_ = std::make_unique<ToolbarView>(*this);
    chrome_->toolbar.AttachView(toolbar_view_.get());
}

// At their size for the DPI, in the scheme of now, in place of those the toolbar had.
void MainChromeWin::MakeToolbarImages() {
    HIMAGELIST old = images_;
    scheme_ = CurrentScheme(chrome_->SystemColours());
    images_ = CreateToolbarImages(ToolbarImageSize(dpi_), scheme_);
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
    if (old != nullptr) {
        ImageList_Destroy(old);
    }
}

bool MainChromeWin::ColoursChangedBy(UINT message) const {
    return toolbar_ != nullptr && ColoursChange(message, scheme_, chrome_->SystemColours());
}

void MainChromeWin::ColoursChanged() {
    if (toolbar_ == nullptr) {
        return;
    }
    MakeToolbarImages();
    InvalidateRect(toolbar_, nullptr, TRUE);
    for (HWND tip : modeless_tips_) {
        InvalidateRect(tip, nullptr, TRUE);
    }
}

void MainChromeWin::CreateStatusBar() {
    status_bar_ =
        CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, frm_main_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(frm_main::status_bar)),
                        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(status_bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageA(status_bar_, WM_SIZE, 0, 0);
    ShowWindow(status_bar_, chrome_->status_bar.visible() ? SW_SHOW : SW_HIDE);
    KeepStatusBarBounds();
    status_view_ = std::make_unique<StatusBarView>(*this);
    chrome_->status_bar.AttachView(status_view_.get());
    UpdateStatusTexts();
}

void MainChromeWin::KeepToolbarBounds() {
    RECT r;
    GetWindowRect(toolbar_, &r);
    chrome_->toolbar.SetBounds(
        {0, 0, PixelsToTwips(r.right - r.left, dpi_), PixelsToTwips(r.bottom - r.top, dpi_)});
}

void MainChromeWin::KeepStatusBarBounds() {
    RECT bar;
    RECT client;
    GetWindowRect(status_bar_, &bar);
    GetClientRect(frm_main_, &client);
    int height = bar.bottom - bar.top;
    chrome_->status_bar.SetBounds({0, PixelsToTwips(client.bottom - height, dpi_),
                                   PixelsToTwips(client.right, dpi_), PixelsToTwips(height, dpi_)});
}

// A toolbar keeps the button size it first worked out, so it is made again in the new
// font, with its pictures drawn anew.
void MainChromeWin::Rescale(HFONT font, int dpi) {
    dpi_ = dpi;
    font_ = font;
    chrome_->toolbar.AttachView(nullptr);
    SendMessageA(toolbar_, TB_SETIMAGELIST, 0, 0);
    DestroyWindow(toolbar_);
    CreateToolbar();
    // First among the window's children again, as when it was first made.
    SetWindowPos(toolbar_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(status_bar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageA(status_bar_, WM_SIZE, 0, 0);
    KeepStatusBarBounds();
    LayOutStatusParts();
}

// Only the buttons whose picture changed: the model reports each button's new picture as
// a change of all of them, and every change redraws the toolbar.
void MainChromeWin::UpdateToolbarImages() {
    const auto& buttons = chrome_->toolbar.buttons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].IsSeparator()) {
            continue;
        }
        WPARAM command = frm_main::Toolbar1FirstButton + i;
        int image = buttons[i].image > 0 ? buttons[i].image - 1 : I_IMAGENONE;
        if (SendMessageA(toolbar_, TB_GETBITMAP, command, 0) != image) {
            SendMessageA(toolbar_, TB_CHANGEBITMAP, command, static_cast<LPARAM>(image));
        }
    }
}

void MainChromeWin::UpdateStatusTexts() {
    LayOutStatusParts();
    const ui::StatusBar& model = chrome_->status_bar;
    for (int panel = 1; panel <= model.PanelCount(); ++panel) {
        SendMessageA(status_bar_, SB_SETTEXTA, static_cast<WPARAM>(panel - 1),
                     reinterpret_cast<LPARAM>(model.PanelText(panel).c_str()));
    }
}

// Each panel but the last is as wide as its text; the last takes the rest.
void MainChromeWin::LayOutStatusParts() {
    const ui::StatusBar& model = chrome_->status_bar;
    HDC dc = GetDC(status_bar_);
    HGDIOBJ old = SelectObject(dc, font_);
    std::vector<int> edges;
    int right = 0;
    for (int panel = 1; panel < model.PanelCount(); ++panel) {
        const std::string& text = model.PanelText(panel);
        SIZE size{};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        right += size.cx + MulDiv(kPanelPadding, dpi_, 96);
        edges.push_back(right);
    }
    edges.push_back(-1);
    SelectObject(dc, old);
    ReleaseDC(status_bar_, dc);
    SendMessageA(status_bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int MainChromeWin::ToolbarHeight() const {
    return VisibleHeight(toolbar_);
}

int MainChromeWin::StatusBarHeight() const {
    return VisibleHeight(status_bar_);
}

bool MainChromeWin::OnCommand(WPARAM wparam, LPARAM lparam) {
    if (chrome_ == nullptr) {
        return false;  // not made yet: the window is still loading
    }
    if (menu_bar_ && menu_bar_->OnCommand(wparam, lparam)) {
        return true;
    }
    int position = LOWORD(wparam) - frm_main::Toolbar1FirstButton;
    const auto& buttons = chrome_->toolbar.buttons();
    if (position < 0 || position >= static_cast<int>(buttons.size())) {
        return false;
    }
    chrome_->toolbar.ClickButton(buttons[static_cast<size_t>(position)].command);
    return true;
}

const char* MainChromeWin::TooltipFor(UINT_PTR command) const {
    const auto& buttons = chrome_->toolbar.buttons();
    size_t position = command - frm_main::Toolbar1FirstButton;
    if (command < frm_main::Toolbar1FirstButton || position >= buttons.size()) {
        return nullptr;
    }
    return buttons[position].tooltip.c_str();
}

bool MainChromeWin::OnNotify(LPARAM lparam, LRESULT* result) {
    auto* header = reinterpret_cast<NMHDR*>(lparam);
    if (chrome_ == nullptr ||
        (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW)) {
        return false;
    }
    const char* tooltip = TooltipFor(header->idFrom);
    if (tooltip == nullptr) {
        return false;
    }
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lparam);
        info->hinst = nullptr;
        info->lpszText = const_cast<char*>(tooltip);
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lparam);
        int length = MultiByteToWideChar(CP_ACP, 0, tooltip, -1, nullptr, 0);
        wide_tooltip_ = WideText(static_cast<size_t>(length > 0 ? length : 1));
        MultiByteToWideChar(CP_ACP, 0, tooltip, -1, wide_tooltip_.data(), length);
        info->hinst = nullptr;
        info->lpszText = wide_tooltip_.data();
    }
    *result = 0;
    return true;
}

void MainChromeWin::OnSize() {
    if (toolbar_ != nullptr) {
        SendMessageA(toolbar_, TB_AUTOSIZE, 0, 0);
    }
    if (status_bar_ != nullptr) {
        SendMessageA(status_bar_, WM_SIZE, 0, 0);
        LayOutStatusParts();
    }
}

void MainChromeWin::ShowTipDialog() {
    HWND tip = TipWindow::ShowModeless(tip_services_);
    if (tip != nullptr) {
        modeless_tips_.push_back(tip);
    }
}

bool MainChromeWin::ModelessTipOpen() {
    modeless_tips_.erase(std::remove_if(modeless_tips_.begin(), modeless_tips_.end(),
                                        [](HWND tip) { return !IsWindow(tip); }),
                         modeless_tips_.end());
    return !modeless_tips_.empty();
}

}  // namespace zv::win32
