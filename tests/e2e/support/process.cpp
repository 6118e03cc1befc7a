#include "support/process.h"

#include "support/files.h"

namespace zv::e2e {

ChildProcess::ChildProcess(const std::string& command_line, int show) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION info = {};
    std::string writable = command_line;
    if (CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    if (process_ != nullptr) {
        Terminate();
        CloseHandle(process_);
    }
}

bool ChildProcess::IsRunning() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeout_ms) {
    if (process_ == nullptr || !WaitUntil([this] { return !IsRunning(); }, timeout_ms)) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

void ChildProcess::Terminate() {
    if (IsRunning()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, kDefaultTimeoutMs);
    }
}

std::string AppCommand(const std::string& program, const std::string& arguments) {
    std::string command = "\"" + AppDirectory() + "\\" + program + "\"";
    return arguments.empty() ? command : command + " " + arguments;
}

namespace {

// What the pipe holds now, without waiting for more: a program it started (Wine's desktop
// process, say) may keep the pipe open long after the program itself has ended.
void DrainPipe(HANDLE read_end, std::string& output) {
    DWORD waiting = 0;
    char buffer[1024];
    DWORD read = 0;
    while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0 &&
           ReadFile(read_end, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
}

}  // namespace

CapturedRun RunCapturingOutput(const std::string& program, const std::string& arguments,
                               DWORD timeout_ms) {
    return RunCommandCapturingOutput(AppCommand(program, arguments), timeout_ms);
}

CapturedRun RunCommandCapturingOutput(std::string command_line, DWORD timeout_ms) {
    SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    CapturedRun run;
    if (!CreatePipe(&read_end, &write_end, &inherited, 0)) {
        return run;
    }
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write_end;
    PROCESS_INFORMATION process{};
    bool started = CreateProcessA(nullptr, &command_line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(write_end);
    if (started) {
        DWORD code = 0;
        DWORD waited = 0;
        constexpr DWORD kStepMs = 50;
        while (WaitForSingleObject(process.hProcess, kStepMs) == WAIT_TIMEOUT &&
               waited < timeout_ms) {
            waited += kStepMs;
            DrainPipe(read_end, run.output);
        }
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(process.hProcess, &code)) {
            run.exit_code = code;
        } else {
            TerminateProcess(process.hProcess, 1);
        }
        DrainPipe(read_end, run.output);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    return run;
}

std::vector<PROCESSENTRY32> RunningProcesses() {
    std::vector<PROCESSENTRY32> entries;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return entries;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        entries.push_back(entry);
    }
    CloseHandle(snapshot);
    return entries;
}

std::vector<DWORD> ProcessesNamed(const std::string& image) {
    std::vector<DWORD> ids;
    for (const PROCESSENTRY32& entry : RunningProcesses()) {
        if (lstrcmpiA(entry.szExeFile, image.c_str()) == 0) {
            ids.push_back(entry.th32ProcessID);
        }
    }
    return ids;
}

bool WaitForProcessNamed(const std::string& image, DWORD timeout_ms) {
    return WaitUntil([&] { return !ProcessesNamed(image).empty(); }, timeout_ms);
}

void TerminateProcessesNamed(const std::string& image) {
    for (DWORD id : ProcessesNamed(image)) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (process != nullptr) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, kDefaultTimeoutMs);
            CloseHandle(process);
        }
    }
}

}  // namespace zv::e2e
