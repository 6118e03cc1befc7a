#include "win32/vigilo/vigilo_window.h"

#include <shlobj.h>

#include <cstring>
#include <utility>

#include "monitor/tray_icon.h"
#include "win32/platform/message_filter.h"
#include "win32/platform/startup_show.h"
#include "win32/platform/wide_text.h"
#include "win32/ui/layout.h"
#include "win32/ui/save_file_dialog.h"
#include "win32/ui/system_colours.h"
#include "win32/vigilo/report_period_window.h"
#include "win32/vigilo/tray_pictures.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::win32 {

VigiloImages::VigiloImages(int dpi) : dpi_(dpi) {
    for (int i = 0; i < frm_vigilo::imgVigiloCount; ++i) {
        loaded_.push_back(LoadSmallIcon(frm_vigilo::imgVigilo1 + i, dpi));
    }
}

namespace {

void DestroyIcons(std::vector<HICON>& icons) {
    for (HICON icon : icons) {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    icons.clear();
}

}  // namespace

VigiloImages::~VigiloImages() {
    DestroyIcons(loaded_);
    DestroyIcons(drawn_);
}

const std::vector<HICON>& VigiloImages::For(ui::Scheme scheme) {
    DestroyIcons(drawn_);
    if (scheme != ui::Scheme::System) {
        return loaded_;
    }
    drawn_ = DrawTrayPictures(SystemMetricForDpi(SM_CXSMICON, dpi_));
    return drawn_;
}

void VigiloImages::Swap(VigiloImages& other) {
    loaded_.swap(other.loaded_);
    drawn_.swap(other.drawn_);
    std::swap(dpi_, other.dpi_);
}

VigiloWindow::VigiloWindow(KeepAlive& keep_alive, launch::Launchers& launchers,
                           ui::MessageBoxPort& messages)
    : images_(ScreenDpi()),
      tray_(images_.icons()),
      keep_alive_(keep_alive),
      messages_(messages),
      controller_(
          {keep_alive.Ping(), launchers, tray_, messages, *this, probe_, {clock_, log_, options_}}),
      rpm_tester_(RpmResultsPath()),
      // Sent to every top-level window when the shell (re)starts its taskbar.
      taskbar_created_(RegisterWindowMessageA("TaskbarCreated")) {}

VigiloWindow::~VigiloWindow() {
    CloseHistoryWindow();
    if (rpm_window_ != nullptr) {
        DestroyWindow(rpm_window_->hwnd());
    }
    DropBinder();
    popup_.reset();
}

// The tray icon takes its pictures at their size for the new DPI; the old ones go once the
// shell has the new one.
void VigiloWindow::OnDpiChanged(int dpi, RECT& /*suggested*/) {
    VigiloImages fresh(dpi);
    images_.Swap(fresh);
    ShowTrayPictures();
}

void VigiloWindow::ShowTrayPictures() {
    tray_scheme_ = CurrentScheme(controller_.Monitor().Options().system_colours);
    tray_.ReplaceImages(images_.For(tray_scheme_));
}

bool VigiloWindow::Load() {
    if (!Create("ZorvaneVigilo", controller_.frmVigilo.caption().c_str(), WS_OVERLAPPEDWINDOW, 0,
                200, 100, nullptr)) {
        return false;
    }
    // Uses up a hiding start instruction, which would otherwise hide the first dialog the
    // companion opens; the window refuses to be shown meanwhile (WM_WINDOWPOSCHANGING).
    ConsumeStartupShowInstruction(hwnd());
    probe_.ReportTo(hwnd());
    keep_alive_.Worker().ReportTo(hwnd());
    rpm_tester_.ReportTo(hwnd());
    report_opener_.ReportTo(hwnd());
    // Started as administrator, the companion would not hear Explorer restart its taskbar,
    // and its icon would stay away.
    if (taskbar_created_ != 0) {
        AllowFromLowerLevels(hwnd(), taskbar_created_);
    }
    MakeBinder(nullptr, 96, false);
    binder().BindWindow(controller_.frmVigilo);
    binder().BindTimer(controller_.TimerVigilo, frm_vigilo::TimerVigilo);
    binder().BindTimer(controller_.TimerIcon, frm_vigilo::TimerIcon);
    binder().BindTimer(controller_.TimerPing, frm_vigilo::TimerPing);
    binder().BindTimer(controller_.TimerBusy, frm_vigilo::TimerBusy);
    popup_ = std::make_unique<RealMenu>(controller_.popup, hwnd(), RealMenu::Kind::Popup);
    // Before the first probe: the record read back all lies before it.
    record_.Open(hwnd(), clock_.Now(), controller_.Monitor().Options().keep_days);
    controller_.Monitor().KeepIn(&record_);
    ColoursChanged();
    controller_.Load();
    return true;
}

void VigiloWindow::BringToForeground() {
    SetForegroundWindow(hwnd());
}

bool VigiloWindow::PopupMenu() {
    POINT at{};
    if (menu_anchor_) {
        at = *menu_anchor_;
    } else {
        GetCursorPos(&at);
    }
    menu_anchor_.reset();
    return popup_->PopUpAt(at);
}

// Not owned by the monitor window: Exit closes that window, and an owned dialog would go
// with it.
void VigiloWindow::ShowPingDialog() {
    keep_alive_.OpenPingDialog(nullptr);
}

namespace {

// A window of the companion's that is open already comes to the front; false when none is.
bool BroughtToFront(const WindowBase* window) {
    if (window == nullptr) {
        return false;
    }
    ShowWindow(window->hwnd(), SW_RESTORE);
    SetForegroundWindow(window->hwnd());
    return true;
}

}  // namespace

// Unowned like the ping dialog; a second request brings the open window to the front.
void VigiloWindow::ShowHistoryWindow() {
    if (BroughtToFront(history_)) {
        return;
    }
    history_ = HistoryWindow::Open(
        controller_.Monitor(), messages_,
        [this](HWND window, monitor::HistoryExport job) {
            record_.Export(window, kHistorySavedMessage, std::move(job));
        },
        [this] { history_ = nullptr; }, [this] { MakeOutageReport(); });
}

void VigiloWindow::ShowResponsivenessWindow() {
    if (BroughtToFront(rpm_window_)) {
        return;
    }
    rpm_window_ =
        RpmWindow::Open(options_, messages_, rpm_tester_, [this] { rpm_window_ = nullptr; });
}

namespace {

// The user's Documents folder, for the ANSI text the save dialog takes; empty (the
// dialog's own choice) when its name lies outside the ANSI code page.
std::string DocumentsFolder() {
    std::string folder = UserFolder(CSIDL_PERSONAL, L"USERPROFILE");
    std::string ansi = AnsiFromUtf8(folder);
    return Utf8FromWide(WideFromAnsi(ansi)) == folder ? ansi : "";
}

std::string ChooseReportFile(HWND owner, const monitor::ReportDays& days) {
    SaveFileRequest request;
    request.owner = owner;
    request.title = "Save Outage Report As";
    request.filter = "Web Pages (*.html)\0*.html\0All Files (*.*)\0*.*\0";
    request.default_extension = "html";
    request.initial_folder = DocumentsFolder();
    request.suggested_name = monitor::ReportBaseName(days.first, days.last) + ".html";
    return ChooseSaveFileUtf8(request);
}

// The window class of Windows' own dialogs, the Save As dialog's among them.
constexpr char kCommonDialogClass[] = "#32770";

// The report's period dialog or its Save As dialog, whichever is open, in front.
BOOL CALLBACK BringReportDialog(HWND window, LPARAM) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    const bool report_dialog = std::strcmp(name, frm_report_period::kClassName) == 0 ||
                               std::strcmp(name, kCommonDialogClass) == 0;
    if (report_dialog && IsWindowVisible(window) && IsWindowEnabled(window)) {
        SetForegroundWindow(window);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void VigiloWindow::BringReportDialogForward() {
    EnumThreadWindows(GetCurrentThreadId(), BringReportDialog, 0);
}

// The period, then where to save; the report is read and written on the record's thread.
// One at a time: a second request brings the first's open dialog to the front, or is told
// that the first is still being made.
void VigiloWindow::MakeOutageReport() {
    if (report_step_ == ReportStep::Choosing) {
        BringReportDialogForward();
        return;
    }
    if (report_step_ == ReportStep::Writing) {
        controller_.ReportStillBeingMade();
        return;
    }
    report_step_ = ReportStep::Choosing;
    HWND owner = history_ != nullptr ? history_->hwnd() : nullptr;
    std::optional<monitor::ReportDays> days =
        ReportPeriodWindow::Ask(owner, monitor::LocalDay(clock_.Now().wall));
    // Exit may have closed the companion while the dialog was open.
    std::string path = days && hwnd() != nullptr ? ChooseReportFile(owner, *days) : "";
    if (path.empty() || hwnd() == nullptr) {
        report_step_ = ReportStep::None;
        return;
    }
    report_step_ = ReportStep::Writing;
    record_.WriteReport(hwnd(), {days->first, days->last, clock_.Now(), {}}, path,
                        LocaleListSeparator());
}

void VigiloWindow::ReportWritten() {
    written_report_ = record_.TakeReport();
    if (written_report_ && !written_report_->page_path.empty()) {
        report_opener_.Open(written_report_->page_path);
        return;
    }
    if (written_report_) {
        controller_.ReportWritten(*written_report_);
    }
    report_step_ = ReportStep::None;
}

void VigiloWindow::ReportOpened() {
    std::optional<unsigned long> error = report_opener_.TakeOutcome();
    if (written_report_ && error) {
        controller_.ReportWritten(monitor::Opened(*written_report_, *error));
    }
    written_report_.reset();
    report_step_ = ReportStep::None;
}

void VigiloWindow::TakeRpmReport() {
    RpmTester::Report report = rpm_tester_.TakeReport();
    if (rpm_window_ != nullptr && !report.text.empty()) {
        rpm_window_->Progress(report.percent, report.text);
    }
    if (rpm_window_ != nullptr && report.outcome) {
        rpm_window_->Finished(*report.outcome);
    }
    std::optional<monitor::rpm::TestResult> last = rpm_tester_.LastResult();
    controller_.Monitor().SetTestLine(last ? monitor::rpm::ResultLine(*last) : "");
}

void VigiloWindow::ColoursChanged() {
    ShowTrayPictures();
    if (history_ != nullptr) {
        history_->ColoursChanged();
    }
}

// The history window reads the monitor's record, so it goes with the monitor window.
void VigiloWindow::CloseHistoryWindow() {
    if (history_ != nullptr) {
        DestroyWindow(history_->hwnd());
    }
}

// Posted, so that the window does not go away inside the menu command that asked for it.
void VigiloWindow::Unload() {
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

// Windows tells of a suspend before it sleeps, and of the wake each time, whatever woke it
// (the wake with PBT_APMRESUMEAUTOMATIC; PBT_APMRESUMESUSPEND only follows when a user is
// there); a sleep forced on a low battery may come with no notice before it.
void VigiloWindow::PowerChanged(WPARAM event) {
    if (event == PBT_APMSUSPEND) {
        controller_.Suspended();
    } else if (event == PBT_APMRESUMEAUTOMATIC) {
        controller_.Resumed();
    }
}

// The probe's, the keep-alive ping's, the responsiveness test's and the outage report's
// outcomes come from their workers by message.
void VigiloWindow::TakeWorkerOutcome(UINT message) {
    if (message == kReportWrittenMessage) {
        ReportWritten();
    } else if (message == kReportOpenedMessage) {
        ReportOpened();
    } else if (message == kRpmProgressMessage || message == kRpmDoneMessage) {
        TakeRpmReport();
    } else if (message == kPingDoneMessage) {
        if (std::optional<ping::KeepAliveOutcome> outcome = keep_alive_.Worker().TakeOutcome()) {
            controller_.KeepAlivePingFinished(*outcome);
        }
    } else if (std::optional<monitor::ProbeOutcome> outcome = probe_.TakeOutcome()) {
        controller_.ProbeFinished(*outcome);
    }
}

LRESULT VigiloWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (ColoursChange(message, tray_scheme_, controller_.Monitor().Options().system_colours)) {
        ColoursChanged();
        controller_.RedrawTrayIcon();
    }
    switch (message) {
        case monitor::kTrayCallbackMessage:
            if (LOWORD(lparam) == monitor::kTrayContextMenu && tray_.AnchorsInWparam()) {
                menu_anchor_ =
                    POINT{static_cast<short>(LOWORD(wparam)), static_cast<short>(HIWORD(wparam))};
            }
            controller_.HandleTrayMouse(static_cast<int>(LOWORD(lparam)));
            return 0;
        case WM_COMMAND:
            if (popup_ != nullptr && popup_->OnCommand(wparam, lparam)) {
                return 0;
            }
            break;
        case kRecordOpenedMessage:
            if (std::optional<monitor::StoreOpening> opening = record_.TakeOpening()) {
                controller_.Restored(opening->restored, opening->problem, opening->span);
            }
            return 0;
        case kReportWrittenMessage:
        case kReportOpenedMessage:
        case kProbeDoneMessage:
        case kPingDoneMessage:
        case kRpmProgressMessage:
        case kRpmDoneMessage:
            TakeWorkerOutcome(message);
            return 0;
        case WM_POWERBROADCAST:
            PowerChanged(wparam);
            return TRUE;
        case WM_WINDOWPOSCHANGING:
            // A hidden tray program has no window to show: not for the start instruction
            // Zorvane passes, nor for any later show command.
            reinterpret_cast<WINDOWPOS*>(lparam)->flags &= ~SWP_SHOWWINDOW;
            break;
        case WM_CLOSE:
            controller_.QueryUnload();
            CloseHistoryWindow();
            DestroyWindow(hwnd());
            return 0;
        case WM_ENDSESSION:
            if (wparam) {
                controller_.QueryUnload();
                log_.WaitForQueuedLines();
                record_.WaitForQueued();
            }
            return 0;
        default:
            if (message == taskbar_created_ && taskbar_created_ != 0) {
                controller_.ShellRestarted();
                return 0;
            }
    }
    return WindowBase::HandleMessage(message, wparam, lparam);
}

}  // namespace zv::win32
