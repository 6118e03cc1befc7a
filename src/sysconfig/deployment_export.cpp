#include "sysconfig/deployment_export.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <vector>

#include "sysconfig/registry_access.h"
#include "sysconfig/settings_catalogue.h"
#include "tuning/value_lists.h"

namespace zv {
namespace {

const char kRegedit4[] = "REGEDIT4";
const char kVersion5[] = "Windows Registry Editor Version 5.00";
const char kRoot[] = "HKEY_LOCAL_MACHINE\\";

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

// The data after "=": dword:, a quoted string, or hex(kind): for anything the other two
// cannot carry byte for byte.
std::string DataText(const RegistryValue& value) {
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
    return "hex(" + std::to_string(value.kind) + "):" + HexBytes(value.data, ",");
}

// One line per value, under one [key] line for each run of values in the same key.
class RegFile {
  public:
    explicit RegFile(const char* header) : text_(std::string(header) + "\r\n") {}

    void Value(const std::string& key, const std::string& name,
               const std::optional<RegistryValue>& value) {
        if (!started_ || !SameKey(key, key_)) {
            text_ += "\r\n[" + std::string(kRoot) + key + "]\r\n";
            key_ = key;
            started_ = true;
        }
        text_ += (name.empty() ? "@" : "\"" + Escaped(name) + "\"") + "=" +
                 (value ? DataText(*value) : "-") + "\r\n";
    }

    std::string text() const { return text_ + "\r\n"; }

  private:
    std::string text_;
    std::string key_;
    bool started_ = false;
};

}  // namespace

std::optional<DeploymentFiles> MakeDeploymentFiles(RegistryPort& registry,
                                                   const TuningSettings& settings,
                                                   WindowsFamily family) {
    if (!family.Recognised()) {
        return std::nullopt;
    }
    const char* header = family.Uses9xLayout() ? kRegedit4 : kVersion5;
    RegFile apply(header);
    RegFile undo(header);
    RegistryReader reader(registry, RegistryRoot::LocalMachine);
    for (const CatalogueRow& row : CatalogueRows(registry, family)) {
        const std::string name = row.entry->value_name;
        PlannedWrite write = PlannedWriteFor(*row.entry, settings);
        if (write.action == PlannedWrite::Action::Store) {
            apply.Value(row.key, name, write.value);
        } else if (write.action == PlannedWrite::Action::Remove) {
            apply.Value(row.key, name, std::nullopt);
        }
        RegistryReader::Read now = reader.Value(row.key, name);
        if (now.error != kErrorSuccess && now.error != kErrorFileNotFound) {
            return std::nullopt;
        }
        undo.Value(row.key, name, now.value);
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
                                 const TuningSettings& settings, WindowsFamily family,
                                 const std::string& path) {
    if (!family.Recognised()) {
        return ExportResult::NothingToExport;
    }
    std::optional<DeploymentFiles> made =
        MakeDeploymentFiles(registry, AsApplied(settings), family);
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
