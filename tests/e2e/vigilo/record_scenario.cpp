// The companion's lasting record, end to end: vigilo.exe is ended with TerminateProcess
// several times, and each time what a kill in the middle of a write leaves is made of its
// newest probe (the record file cut inside it, as a kill after some of the write's bytes
// leaves it). Started again, the companion's history window counts every whole probe of
// before and its own first one, and the record goes on after the cut, whole.
#include "record_scenario.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <random>
#include <string>

#include "monitor/probe_record.h"
#include "monitor/probe_store.h"
#include "support/check.h"
#include "support/companion.h"
#include "support/files.h"
#include "support/process.h"
#include "support/wait.h"
#include "support/windows_on_screen.h"
#include "win32/vigilo/vigilo_ids.h"

namespace zv::e2e {
namespace {

namespace hid = zv::win32::frm_history;

// Every other kill comes in the middle of a write.
constexpr int kStarts = 6;

std::string VigiloFolder() {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\Zorvane\\Vigilo";
}

std::string RecordFile() {
    return VigiloFolder() + "\\History\\00000001.probes";
}

// A companion holds the writer's lock file open, unshared: no other may open it.
bool WriterLockHeld() {
    HANDLE lock = CreateFileA((VigiloFolder() + "\\History.lock").c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    DWORD error = GetLastError();
    if (lock != INVALID_HANDLE_VALUE) {
        CloseHandle(lock);
    }
    return lock == INVALID_HANDLE_VALUE && error == ERROR_SHARING_VIOLATION;
}

// The ends of the file's whole records, in order.
std::vector<std::size_t> RecordEnds(const std::string& bytes) {
    std::vector<std::size_t> ends;
    monitor::RecordContext context;
    std::size_t at = monitor::kStoreHeaderBytes;
    monitor::DecodedFrame frame;
    while (at < bytes.size()) {
        monitor::DecodeRecord(bytes, at, context, frame);
        if (frame.check != monitor::FrameCheck::Good) {
            break;
        }
        ends.push_back(at = frame.end);
    }
    return ends;
}

// Starts the companion and waits until its history window counts `probes`; the count shown.
int ProbesAfterStart(int probes) {
    ChildProcess vigilo(AppCommand("vigilo.exe"));
    HWND monitor = WaitForMonitorWindow();
    if (!E2E_CHECK(monitor != nullptr)) {
        return -1;
    }
    PostMessageA(monitor, WM_COMMAND, zv::win32::frm_vigilo::menu_history, 0);
    HWND history = WaitForWindow({vigilo.id(), hid::kClassName, "Connection History", true});
    if (!E2E_CHECK(history != nullptr)) {
        return -1;
    }
    WaitUntil([&] { return ProbesShown(history) >= probes; }, 20000);
    int shown = ProbesShown(history);
    E2E_CHECK(WriterLockHeld());
    // Killed at once: the next probe is 30 s away, and the record already holds this one.
    vigilo.Terminate();
    return shown;
}

}  // namespace

void RecordScenario() {
    std::mt19937 random{std::random_device{}()};
    int whole = 0;  // probes in the record
    for (int round = 0; round < kStarts; ++round) {
        Context in("start " + std::to_string(round + 1));
        int shown = ProbesAfterStart(whole + 1);
        Note("the history window counted " + std::to_string(shown) + " probes");
        E2E_CHECK_EQ(shown, whole + 1);
        // The kill may have come before the newest probe's write, or in the middle of it.
        std::string bytes = ReadWholeFile(RecordFile()).value_or("");
        std::vector<std::size_t> ends = RecordEnds(bytes);
        E2E_CHECK(!WriterLockHeld());  // Windows let go of it with the process
        Note(std::to_string(ends.size()) + " whole records, " +
             std::to_string(bytes.size() - (ends.empty() ? 0 : ends.back())) + " bytes after");
        E2E_CHECK(ends.size() == static_cast<std::size_t>(whole) ||
                  ends.size() == static_cast<std::size_t>(whole + 1));
        whole = static_cast<int>(ends.size());
        if (round % 2 == 0 || ends.empty()) {
            continue;  // the kill left the record as it was
        }
        // What a kill after some of the newest record's bytes leaves.
        std::size_t begin = ends.size() > 1 ? ends[ends.size() - 2] : monitor::kStoreHeaderBytes;
        std::size_t cut =
            std::uniform_int_distribution<std::size_t>(begin + 1, ends.back() - 1)(random);
        E2E_CHECK(WriteWholeFile(RecordFile(), bytes.substr(0, cut)));
        Note("cut after " + std::to_string(cut - begin) + " of the newest record's " +
             std::to_string(ends.back() - begin) + " bytes");
        --whole;
    }
}

}  // namespace zv::e2e
