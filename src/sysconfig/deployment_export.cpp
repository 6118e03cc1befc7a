#include "sysconfig/deployment_export.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <vector>

#include "sysconfig/registry_access.h"
#include "sysconfig/settings_catalogue.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

const char kRegedit4[] = "REGEDIT4";
const char kVersion5[] = "Windows Registry Editor Version 5.00";
const char kRoot[] = "HKEY_LOCAL_MACHINE\\";
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegMultiSz = 7;

bool SameKey(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool IsPrintable(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F;
    });
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

// Adapters differ between computers, so the per-interface values stay out of both files.
const char kNoInterfacesNote[] =
    "; The MTU and MSS of each network adapter are not in this file, as adapters differ "
    "between computers: run Zorvane.exe /apply on each computer to write them.\r\n";

std::string HexKind(uint32_t kind) {
    char text[16];
    std::snprintf(text, sizeof(text), "hex(%x):", kind);
    return text;
}

bool IsStringKind(uint32_t kind) {
    return kind == kRegSz || kind == kRegExpandSz || kind == kRegMultiSz;
}

// A "Version 5.00" file's registry editor reads the bytes of a string kind as UTF-16LE.
// Zorvane reads values in the ANSI code page; bytes beyond ASCII are taken as Latin-1.
std::string Utf16Bytes(const std::string& ansi) {
    std::string wide;
    wide.reserve(ansi.size() * 2);
    for (char c : ansi) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

// The data after "=": dword:, a quoted string, or hex(kind): for anything the other two
// cannot carry byte for byte.
std::string DataText(const RegistryValue& value, bool wide_strings) {
    if (IsPlainDword(value)) {
        char text[16];
        std::snprintf(text, sizeof(text), "dword:%08x", DwordOf(value.data));
        return text;
    }
    if (IsPlainText(value)) {
        std::string text = value.data.substr(0, value.data.size() - 1);
        if (IsPrintable(text)) {
            return "\"" + Escaped(text) + "\"";
        }
    }
    bool wide = wide_strings && IsStringKind(value.kind);
    return HexKind(value.kind) + HexBytes(wide ? Utf16Bytes(value.data) : value.data, ",");
}

// One line per value, under one [key] line for each run of values in the same key, and
// a [-key] line for each key to remove.
class RegFile {
  public:
    RegFile(const char* header, bool wide_strings, const char* note = "")
        : text_(std::string(header) + "\r\n" + note), wide_strings_(wide_strings) {}

    void Value(const std::string& key, const std::string& name,
               const std::optional<RegistryValue>& value) {
        if (!started_ || !SameKey(key, key_)) {
            text_ += "\r\n[" + std::string(kRoot) + key + "]\r\n";
            key_ = key;
            started_ = true;
        }
        text_ += (name.empty() ? "@" : "\"" + Escaped(name) + "\"") + "=" +
                 (value ? DataText(*value, wide_strings_) : "-") + "\r\n";
    }

    void RemoveKey(const std::string& key) {
        text_ += "\r\n[-" + std::string(kRoot) + key + "]\r\n";
        started_ = false;
    }

    std::string text() const { return text_ + "\r\n"; }

  private:
    std::string text_;
    bool wide_strings_;
    std::string key_;
    bool started_ = false;
};

bool KeyExists(RegistryPort& registry, const std::string& path) {
    RegistryKey key = 0;
    if (registry.OpenKey(RegistryRoot::LocalMachine, path, &key) != kErrorSuccess) {
        return false;
    }
    registry.CloseKey(key);
    return true;
}

// The highest of the missing keys an import creates to reach `path`, which is missing.
std::string HighestMissingKey(RegistryPort& registry, std::string path) {
    for (size_t slash = path.rfind('\\'); slash != std::string::npos && slash > 0;
         slash = path.rfind('\\')) {
        std::string parent = path.substr(0, slash);
        if (KeyExists(registry, parent)) {
            break;
        }
        path = parent;
    }
    return path;
}

// A value no NT release reads (the NDI cache, which lives in a key of the 9x stack) stays
// out of the NT files: importing it would make that key on every machine. Apply itself
// still writes it, as it always has.
bool ForeignToNt(const CatalogueEntry& entry) {
    return entry.layout == RegistryLayout::Nt &&
           std::none_of(std::begin(release_table::kRows), std::end(release_table::kRows),
                        [&](const ReleaseProperties& release) {
                            return release.layout == RegistryLayout::Nt &&
                                   entry.readers.Includes(release.release);
                        });
}

}  // namespace

std::optional<DeploymentFiles> MakeDeploymentFiles(RegistryPort& registry,
                                                   const TuningSettings& settings,
                                                   WindowsRelease release) {
    const RegistryLayout layout = PropertiesOf(release).layout;
    if (layout == RegistryLayout::None) {
        return std::nullopt;
    }
    const bool nt = layout == RegistryLayout::Nt;
    const char* header = nt ? kVersion5 : kRegedit4;
    RegFile apply(header, nt, kNoInterfacesNote);
    RegFile undo(header, nt);
    // A key missing now gets no [key] line in the undo file, which would create it; the
    // import creates it, so the undo file removes it again.
    std::vector<std::string> created;
    RegistryReader reader(registry, RegistryRoot::LocalMachine);
    for (const CatalogueRow& row : CatalogueRows(registry, release)) {
        if (!row.interface_name.empty() || ForeignToNt(*row.entry)) {
            continue;
        }
        const std::string name = row.entry->value_name;
        PlannedWrite write = PlannedWriteFor(*row.entry, settings);
        if (write.action == PlannedWrite::Action::Store) {
            apply.Value(row.key, name, write.value);
        } else if (write.action == PlannedWrite::Action::Remove) {
            apply.Value(row.key, name, std::nullopt);
        } else {
            continue;
        }
        RegistryReader::Read now = reader.Value(row.key, name);
        if (now.error != kErrorSuccess && now.error != kErrorFileNotFound) {
            return std::nullopt;
        }
        if (now.key_found) {
            undo.Value(row.key, name, now.value);
            continue;
        }
        std::string missing = HighestMissingKey(registry, row.key);
        if (std::none_of(created.begin(), created.end(),
                         [&](const std::string& key) { return SameKey(key, missing); })) {
            created.push_back(missing);
        }
    }
    for (const std::string& key : created) {
        undo.RemoveKey(key);
    }
    return DeploymentFiles{apply.text(), undo.text()};
}

std::string UndoFilePath(const std::string& path) {
    const std::string extension = ".reg";
    size_t name_start = path.find_last_of("\\/") + 1;
    bool has_extension = path.size() >= name_start + extension.size() &&
                         SameKey(path.substr(path.size() - extension.size()), extension);
    std::string stem = has_extension ? path.substr(0, path.size() - extension.size()) : path;
    return stem + "-undo" + extension;
}

ExportResult ExportForDeployment(FileSystem& files, RegistryPort& registry,
                                 const TuningSettings& settings, WindowsRelease release,
                                 const std::string& path) {
    if (PropertiesOf(release).layout == RegistryLayout::None) {
        return ExportResult::NothingToExport;
    }
    std::optional<DeploymentFiles> made =
        MakeDeploymentFiles(registry, AsApplied(settings), release);
    if (!made) {
        return ExportResult::ValuesUnreadable;
    }
    if (!files.WriteFileAtomic(UndoFilePath(path), made->undo) ||
        !files.WriteFileAtomic(path, made->apply)) {
        return ExportResult::FileNotWritten;
    }
    return ExportResult::Written;
}

}  // namespace zv
