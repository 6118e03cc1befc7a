#include "sysconfig/tcp_parameters.h"

#include "sysconfig/registry_access.h"
#include "sysconfig/settings_catalogue.h"

namespace zv {

// The catalogue gives the rows in write order, each interface's rows where its layout has
// them; every row is attempted whatever the earlier ones did.
bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        WindowsRelease windows_release) {
    return WriteTcpParameters(registry, settings, CatalogueRows(registry, windows_release));
}

bool WriteTcpParameters(RegistryPort& registry, const TuningSettings& settings,
                        const std::vector<CatalogueRow>& rows) {
    bool all_succeeded = true;
    for (const CatalogueRow& row : rows) {
        EntryData data = DataFor(*row.entry, settings);
        int32_t result =
            SetRegistryValue(registry, RegistryRoot::LocalMachine, row.key, row.entry->value_name,
                             row.entry->kind, data.data, data.remove);
        bool removed_absent = data.remove && result == kErrorFileNotFound;
        if (result != kErrorSuccess && !removed_absent) {
            all_succeeded = false;
        }
    }
    return all_succeeded;
}

}  // namespace zv
