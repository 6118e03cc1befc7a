#include "shell/tool_switches.h"

#include <algorithm>
#include <cctype>

#include "common/numbers.h"

namespace zv::shell {
namespace {

const char kUndo[] = "/undo";
const char kExport[] = "/export";

bool StartsWithWord(const std::string& text, const std::string& word) {
    if (text.size() < word.size() || (text.size() > word.size() && !IsBlank(text[word.size()]))) {
        return false;
    }
    return std::equal(word.begin(), word.end(), text.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

std::string Unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

}  // namespace

std::optional<ToolSwitch> ParseToolSwitch(const std::string& command_line) {
    std::string text = TrimBlanks(command_line);
    if (StartsWithWord(text, kUndo)) {
        return ToolSwitch{text.size() == sizeof(kUndo) - 1 ? ToolSwitch::Kind::Undo
                                                           : ToolSwitch::Kind::BadArguments,
                          ""};
    }
    if (StartsWithWord(text, kExport)) {
        std::string file = Unquoted(TrimBlanks(text.substr(sizeof(kExport) - 1)));
        bool named = !file.empty() && file.find('"') == std::string::npos;
        return ToolSwitch{named ? ToolSwitch::Kind::Export : ToolSwitch::Kind::BadArguments, file};
    }
    return std::nullopt;
}

CommandReport RunToolSwitch(const ToolSwitch& tool, ToolPorts ports, ProgramRecords& records) {
    if (tool.kind == ToolSwitch::Kind::BadArguments) {
        return {kExitBadInput, "Usage: Zorvane.exe /undo | /export FILE"};
    }
    if (!ports.start.IsFirstCopy()) {
        return {kExitRefused, "Zorvane is running: close it and try again."};
    }
    DetectWindowsRelease(ports.start, records);
    if (tool.kind == ToolSwitch::Kind::Undo) {
        return RunUndoCommand({ports.files, ports.folders, ports.registry},
                              records.ProgramDirectory);
    }
    return RunExportCommand(ports.files, ports.registry, records.ProgramDirectory,
                            records.DefaultSettings, records.WindowsFamily, tool.file);
}

}  // namespace zv::shell
