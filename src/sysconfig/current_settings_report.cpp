#include "sysconfig/current_settings_report.h"

#include "sysconfig/registry_access.h"
#include "sysconfig/settings_catalogue.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

const char kNotSet[] = "(not set)";

// A DWORD as its number, text as quoted text, anything else as its kind and bytes.
std::string Shown(const RegistryValue& value) {
    if (IsPlainDword(value)) {
        return std::to_string(DwordOf(value.data));
    }
    if (IsPlainText(value)) {
        return "\"" + value.data.substr(0, value.data.size() - 1) + "\"";
    }
    return "(type " + std::to_string(value.kind) + ") " + HexBytes(value.data, " ");
}

std::string NowText(const RegistryReader::Read& read) {
    if (read.value) {
        return Shown(*read.value);
    }
    return read.error == kErrorFileNotFound ? kNotSet : "(unreadable)";
}

std::string WouldWriteText(const CatalogueEntry& entry,
                           const std::optional<TuningSettings>& would_apply) {
    if (!would_apply) {
        return "(choice incomplete)";
    }
    PlannedWrite write = PlannedWriteFor(entry, *would_apply);
    switch (write.action) {
        case PlannedWrite::Action::Store:
            return Shown(write.value);
        case PlannedWrite::Action::Remove:
            return "(removed)";
        case PlannedWrite::Action::Refuse:
        case PlannedWrite::Action::Nothing:
            break;
    }
    return "(nothing)";
}

}  // namespace

const std::vector<std::string>& ReportColumns() {
    static const std::vector<std::string> columns = {"Setting", "Now in the registry",
                                                     "Windows default", "Apply would write",
                                                     "Used by this Windows"};
    return columns;
}

std::vector<ReportRow> CurrentSettingsReport(RegistryPort& registry, WindowsRelease release,
                                             const std::optional<TuningSettings>& would_apply) {
    std::optional<TuningSettings> applied;
    if (would_apply) {
        applied = AsApplied(*would_apply);
    }
    std::vector<ReportRow> rows;
    RegistryReader reader(registry, RegistryRoot::LocalMachine);
    for (const CatalogueRow& row : CatalogueRows(registry, release)) {
        const CatalogueEntry& entry = *row.entry;
        rows.push_back({RowLabel(row), NowText(reader.Value(row.key, entry.value_name)),
                        entry.windows_default, WouldWriteText(entry, applied),
                        ReadingText(entry, release)});
    }
    return rows;
}

std::string ReportText(const std::vector<ReportRow>& rows) {
    auto line = [](const std::string& a, const std::string& b, const std::string& c,
                   const std::string& d, const std::string& e) {
        return a + '\t' + b + '\t' + c + '\t' + d + '\t' + e + "\r\n";
    };
    const std::vector<std::string>& h = ReportColumns();
    std::string text = line(h[0], h[1], h[2], h[3], h[4]);
    for (const ReportRow& r : rows) {
        text += line(r.setting, r.now, r.windows_default, r.apply_would_write, r.used);
    }
    return text;
}

}  // namespace zv
