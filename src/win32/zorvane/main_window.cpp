#include "win32/zorvane/main_window.h"

#include <algorithm>
#include <iterator>

#include "common/numbers.h"
#include "common/program_name.h"
#include "main_window/main_window_layout.h"
#include "win32/ping/mtu_finder_window.h"
#include "win32/ui/layout.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/ui/system_colours.h"
#include "win32/zorvane/current_settings_window.h"
#include "win32/zorvane/display_window.h"
#include "win32/zorvane/main_dialogs.h"
#include "win32/zorvane/zorvane_ids.h"
#include "win32/zorvane/stack_services.h"

namespace zv::win32 {
namespace {

// A fixed-size window: the layout does not stretch.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// A list drops down to show every item, up to a dozen lines; longer lists scroll.
int DropLines(std::size_t items) {
    constexpr std::size_t kMostLines = 12;
    return static_cast<int>(std::min(items + 1, kMostLines));
}

}  // namespace

MainWindow::MainWindow(main_window::ProgramRecords& records, ZorvaneServices& services)
    : records_(records), services_(services) {}

MainWindow::~MainWindow() {
    DropBinder();
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
}

bool MainWindow::Open() {
    if (!Create(frm_main::kClassName, kProgramName, kStyle, 0, 640, 480, nullptr)) {
        return false;
    }
    focus_ = std::make_unique<FocusKeeper>(hwnd());
    dpi_ = WindowDpi(hwnd());
    font_ = CreateMessageFont(dpi_);
    backup_ = std::make_unique<Win32Backup>(hwnd());
    services_.launcher.SetOwner(hwnd());
    services_.direct_start.SetOwner(hwnd());
    chrome_ = std::make_unique<MainChromeWin>(hwnd(), TipServicesOf(records_, services_));
    controller_ = std::make_unique<main_window::MainView>(
        records_, main_window::MainWindowPorts{
                      *this, services_.messages, services_.pump, services_.beeper, services_.files,
                      services_.folders, services_.registry, services_.restart, *backup_,
                      services_.tip_option, services_.launchers, services_.ping,
                      &services_.stack_undo, &services_.change_lock});
    // Loaded first, so that each real control is made as the load leaves it, rather than
    // made empty and then changed.
    controller_->LoadMainWindow();
    chrome_->Create(controller_->chrome, font_, dpi_);
    FitToLayout();
    MakeBinder(font_, dpi_, false);
    AddControls();
    binder().BindWindow(controller_->frmMain);
    binder().BindTimer(controller_->companion_start, frm_main::companion_start);
    controller_->ShowMainWindow();
    return true;
}

// Lays the area out under the toolbar; the client size it takes.
SIZE MainWindow::LayOut() {
    main_window::ClientSize client =
        main_window::LayOutMainWindow(*controller_, PixelsToTwips(chrome_->ToolbarHeight(), dpi_),
                                      PixelsToTwips(chrome_->StatusBarHeight(), dpi_));
    return {TwipsToPixels(client.width, dpi_), TwipsToPixels(client.height, dpi_)};
}

// Puts the window at the point, sized around the client area. Where its frame is not yet
// of the window's DPI (the caption and menu bar of before a change), the client area comes
// out another size, and the frame takes the difference.
void MainWindow::SizeAround(SIZE client, POINT at) {
    RECT frame = FrameForClient(client.cx, client.cy, kStyle, GetMenu(hwnd()) != nullptr, 0, dpi_);
    SetWindowPos(hwnd(), nullptr, at.x, at.y, frame.right, frame.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    RECT actual;
    GetClientRect(hwnd(), &actual);
    if (actual.right != client.cx || actual.bottom != client.cy) {
        SetWindowPos(hwnd(), nullptr, 0, 0, frame.right + client.cx - actual.right,
                     frame.bottom + client.cy - actual.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT window;
    GetWindowRect(hwnd(), &window);
    controller_->frmMain.SetBounds({0, 0, PixelsToTwips(window.right - window.left, dpi_),
                                    PixelsToTwips(window.bottom - window.top, dpi_)});
}

// Sizes the window around its layout, centred on the screen.
void MainWindow::FitToLayout() {
    SIZE client = LayOut();
    RECT frame = FrameForClient(client.cx, client.cy, kStyle, GetMenu(hwnd()) != nullptr, 0, dpi_);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int left = work.left + (work.right - work.left - frame.right) / 2;
    int top = work.top + (work.bottom - work.top - frame.bottom) / 2;
    SizeAround(client, {left < 0 ? 0 : left, top < 0 ? 0 : top});
    chrome_->OnSize();
}

// Where Windows suggests, at the size of the layout for the new DPI.
void MainWindow::OnDpiChanged(int dpi, RECT& suggested) {
    dpi_ = dpi;
    RescaleControls(font_, dpi);
    chrome_->Rescale(font_, dpi);
    SizeAround(LayOut(), {suggested.left, suggested.top});
    GetWindowRect(hwnd(), &suggested);
}

// In tab order: the connection type and mode first, then each frame's controls.
void MainWindow::AddControls() {
    namespace id = frm_main;
    main_window::TuningView& a = controller_->area;
    binder().AddFrame(a.settings_frame, id::settings_frame);
    binder().AddLabel(a.connection_type_label, id::connection_type_label);
    binder().AddComboBox(a.connection_type_list, id::connection_type_list, 6);
    binder().AddLabel(a.optimization_mode_label, id::optimization_mode_label);
    binder().AddOption(a.optimization_mode[0], id::automatic_mode, true);
    binder().AddOption(a.optimization_mode[1], id::manual_mode, false);
    static_assert(std::size(id::kPairFrames) == main_window::kPairCount);
    for (std::size_t i = 0; i < main_window::kPairCount; ++i) {
        const main_window::TuningPair& pair = a.pairs()[i];
        const int frame = id::kPairFrames[i];
        binder().AddFrame(pair.frame, frame);
        binder().AddOption(pair.windows_default, frame + id::kPairWindowsDefault, true);
        binder().AddOption(pair.custom, frame + id::kPairCustom, false);
        const ui::Control& value =
            pair.text != nullptr ? static_cast<const ui::Control&>(*pair.text) : *pair.list;
        binder().AddReaderName(("Custom " + TrimBlanks(pair.frame.caption())).c_str(),
                               value.bounds());
        if (pair.text != nullptr) {
            binder().AddTextBox(*pair.text, frame + id::kPairValue);
        } else {
            binder().AddComboBox(*pair.list, frame + id::kPairValue,
                                 DropLines(pair.fields.items().size()));
        }
    }
    binder().AddFrame(a.general_frame, id::general_frame);
    binder().AddCheckBox(a.path_mtu_discovery, id::path_mtu_discovery);
    binder().AddCheckBox(a.black_hole_detection, id::black_hole_detection);
    binder().AddLabel(a.http10_connections_label, id::http10_connections_label);
    binder().AddComboBox(a.http10_connections, id::http10_connections);
    binder().AddLabel(a.http11_connections_label, id::http11_connections_label);
    binder().AddComboBox(a.http11_connections, id::http11_connections);
    binder().AddButton(controller_->cmdApply, id::cmdApply, BS_DEFPUSHBUTTON);
    binder().AddButton(controller_->cmdPing, id::cmdPing);
    binder().AddButton(controller_->cmdHelp, id::cmdHelp);
}

bool MainWindow::AnyWindowOpen() const {
    return hwnd() != nullptr || (chrome_ && chrome_->ModelessTipOpen());
}

void MainWindow::ShowExplanation(const std::string& net_type_text) {
    DisplayWindow::ShowModal(hwnd(), net_type_text);
}

void MainWindow::ShowDialog(main_window::main_menu::Dialog dialog) {
    ShowMainDialog(dialog, DialogOwner{hwnd(), records_, services_});
}

void MainWindow::ShowCurrentSettings(std::function<std::vector<ReportRow>()> read_report) {
    CurrentSettingsWindow::ShowModal(hwnd(), {std::move(read_report), services_.files,
                                              services_.messages, records_.ProgramDirectory});
}

std::string MainWindow::ChooseExportFile() {
    return ChooseSaveFile({hwnd(), "Export for Deployment", "Registration Files (*.reg)\0*.reg\0",
                           "reg", records_.ProgramDirectory, "Zorvane settings.reg"});
}

int MainWindow::ShowMtuFinder(const std::string& host) {
    return MtuFinderWindow::ShowModal(
        hwnd(), host,
        [ports = WorkerStackPorts(services_), machine = MachineOf(records_),
         directory = records_.ProgramDirectory](uint32_t address, int mtu) {
            // On the dialog's worker thread, which holds the change lock for the change.
            ChangeLock lock;
            HeldChangeLock held(&lock);
            return held.held()
                       ? main_window::UseMtuForAdapter(ports, machine, directory, address, mtu)
                       : std::string(kAnotherChangeRuns);
        });
}

void MainWindow::Close() {
    SendMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (chrome_ && chrome_->ColoursChangedBy(message)) {
        chrome_->ColoursChanged();
    }
    switch (message) {
        case WM_COMMAND:
            if (chrome_ && chrome_->OnCommand(wparam, lparam)) {
                return 0;
            }
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (chrome_ && chrome_->OnNotify(lparam, &result)) {
                return result;
            }
            break;
        }
        case WM_ACTIVATE:
        case WM_SETFOCUS:
            if (focus_ && focus_->OnMessage(message, wparam)) {
                return 0;
            }
            break;
        case WM_SIZE:
            if (chrome_) {
                chrome_->OnSize();
            }
            return 0;
        case WM_CLOSE:
            if (controller_ && controller_->QueryUnload()) {
                return 0;
            }
            DestroyWindow(hwnd());
            return 0;
        // Windows is ending the session (after a restart the user asked for): the window
        // closes as on any other close.
        case WM_ENDSESSION:
            if (wparam) {
                DestroyWindow(hwnd());
            }
            return 0;
        default:
            break;
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
