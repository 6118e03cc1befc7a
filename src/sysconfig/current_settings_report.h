// The Current Settings report: one row per value of the catalogue on this machine (one per
// interface for the per-interface values) with what the registry holds now, Windows' own
// default, what Apply would write for the window's choice, and whether this Windows reads
// it. It reads the registry only. The dialog shows the rows; Copy and Save As take the
// text form.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/windows_release.h"
#include "sysconfig/registry_port.h"
#include "tuning/tuning_settings.h"

namespace zv {

struct ReportRow {
    std::string setting;
    std::string now;
    std::string windows_default;
    std::string apply_would_write;
    std::string used;
};

// The column titles, in the order of ReportRow's fields.
const std::vector<std::string>& ReportColumns();

// `would_apply`: the record Apply would take, or nothing when it would refuse the choice.
std::vector<ReportRow> CurrentSettingsReport(RegistryPort& registry, WindowsRelease release,
                                             const std::optional<TuningSettings>& would_apply);

// The header and every row, tab-separated, CR LF after each line.
std::string ReportText(const std::vector<ReportRow>& rows);

}  // namespace zv
