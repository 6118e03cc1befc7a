#include "main_window/stack_source.h"

#include <algorithm>
#include <optional>

#include "netstack/stack_changes.h"

namespace zv::main_window {
namespace {

// The change a picked text stands for, among those offered.
std::optional<netstack::RowChange> ChangeOfText(const netstack::StackRow& row,
                                                const std::string& text) {
    for (const netstack::Offer& offer : netstack::Offers(row)) {
        if (offer.text == text) {
            return netstack::RowChange{row.id, offer.value};
        }
    }
    return std::nullopt;
}

void AddOnce(std::vector<netstack::RowChange>& changes, const netstack::RowChange& change) {
    if (std::find(changes.begin(), changes.end(), change) == changes.end()) {
        changes.push_back(change);
    }
}

std::string ReachNote(const netstack::StackMachine& machine) {
    switch (machine.Reach()) {
        case netstack::StackReach::None:
            return "This release has no modern TCP/IP stack: the classic values in Current "
                   "Settings are what it uses.";
        case netstack::StackReach::Netsh:
            return "This release is reached through netsh: the rows it lacks are not available, "
                   "and netsh cannot read some values back.";
        case netstack::StackReach::Wmi:
            break;
    }
    return "";
}

// The pieces IP Helper and the registry answer come first: a WMI query may take a second,
// and the window is to show rows at once.
std::vector<netstack::StackPiece> FastPiecesFirst(std::vector<netstack::StackPiece> pieces) {
    std::stable_partition(pieces.begin(), pieces.end(), [](netstack::StackPiece piece) {
        return piece == netstack::StackPiece::IpInterfaces ||
               piece == netstack::StackPiece::Registry;
    });
    return pieces;
}

}  // namespace

StackRowText RowText(const netstack::StackRow& row) {
    StackRowText text{row.label,
                      netstack::NowText(row),
                      row.windows_default,
                      netstack::TakesEffectText(row.takes_effect),
                      {},
                      row.undo_to_default_only};
    for (const netstack::Offer& offer : netstack::Offers(row)) {
        text.choices.push_back(offer.text);
    }
    return text;
}

StackSource::StackSource(const StackSourcePorts& ports, const netstack::StackMachine& machine,
                         std::string program_directory)
    : ports_(ports), machine_(machine), program_directory_(std::move(program_directory)) {}

StackReading StackSource::Read(const std::function<void(std::vector<StackRowText>)>& rows) {
    rows_.clear();
    ports_.with_ports([&](netstack::StackPorts& ports) {
        for (netstack::StackPiece piece : FastPiecesFirst(netstack::PiecesToRead(machine_))) {
            std::vector<netstack::StackRow> read = netstack::ReadPiece(piece, ports, machine_);
            std::vector<StackRowText> texts;
            for (const netstack::StackRow& row : read) {
                texts.push_back(RowText(row));
            }
            rows_.insert(rows_.end(), read.begin(), read.end());
            rows(std::move(texts));
        }
    });
    findings_ = netstack::CheckStack(rows_, machine_);
    StackReading reading{{}, ReachNote(machine_)};
    for (const netstack::Finding& finding : findings_) {
        const bool fixable = !finding.fix.empty();
        reading.findings.push_back(
            {fixable ? finding.text : finding.text + " " + finding.fix_text, fixable});
    }
    return reading;
}

std::vector<std::string> StackSource::Change(const StackChangeRequest& request) {
    std::vector<netstack::RowChange> changes;
    for (size_t index : request.fixes) {
        if (index < findings_.size()) {
            for (const netstack::RowChange& change : findings_[index].fix) {
                AddOnce(changes, change);
            }
        }
    }
    for (const auto& [index, text] : request.values) {
        if (index < rows_.size()) {
            if (std::optional<netstack::RowChange> change = ChangeOfText(rows_[index], text)) {
                AddOnce(changes, *change);
            }
        }
    }
    std::vector<std::string> lines;
    ports_.with_ports([&](netstack::StackPorts& ports) {
        netstack::StackUndo undo(ports, machine_);
        for (const netstack::ChangeOutcome& outcome :
             netstack::ApplyChanges(ports, {ports_.files, ports_.folders, ports.registry, &undo},
                                    program_directory_, machine_, rows_, changes)) {
            lines.push_back(outcome.text);
        }
    });
    return lines;
}

std::string UseMtuForAdapter(const StackSourcePorts& ports, const netstack::StackMachine& machine,
                             const std::string& program_directory, uint32_t address, int mtu) {
    std::string line;
    ports.with_ports([&](netstack::StackPorts& stack) {
        netstack::StackUndo undo(stack, machine);
        line = netstack::UseMtuForRoute(stack, {ports.files, ports.folders, stack.registry, &undo},
                                        program_directory, machine, address,
                                        static_cast<uint32_t>(mtu))
                   .text;
    });
    return line;
}

}  // namespace zv::main_window
