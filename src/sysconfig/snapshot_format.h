// What a snapshot holds (every value Zorvane is about to change, present or absent, the
// keys that did not exist yet, and Zorvane.cfg) and its text form: one line per item, in
// words and quoted text a person can read, closed by "end" so that a cut-off file is
// refused rather than half put back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sysconfig/registry_access.h"

namespace zv {

struct Snapshot {
    struct Value {
        std::string key;  // under HKEY_LOCAL_MACHINE
        std::string name;
        std::optional<RegistryValue> value;  // nothing: the value was absent

        bool operator==(const Value& other) const {
            return key == other.key && name == other.name && value == other.value;
        }
    };

    // A setting of the modern TCP/IP stack, which the registry alone does not hold: its
    // text id and instance as the stack names them, and the old value; nothing with
    // `windows_default` false means a registry value that was absent.
    struct StackValue {
        std::string setting;
        std::string instance;
        std::optional<uint32_t> value;
        // The old value could not be read: Undo sets the Windows default.
        bool windows_default = false;
        // An adapter's MTU: whether the persistent store (applied at every start) could be
        // read, and what it held; nothing: no value of its own.
        bool stored_known = false;
        std::optional<uint32_t> stored = {};

        bool operator==(const StackValue& other) const {
            return setting == other.setting && instance == other.instance && value == other.value &&
                   windows_default == other.windows_default && stored_known == other.stored_known &&
                   stored == other.stored;
        }
    };

    // Keys a change would create, each after its parent.
    std::vector<std::string> absent_keys;
    std::vector<Value> values;
    // Zorvane.cfg's bytes; nothing when there was no such file.
    std::optional<std::string> settings_file;
    std::vector<StackValue> stack_values = {};

    bool operator==(const Snapshot& other) const {
        return absent_keys == other.absent_keys && values == other.values &&
               stack_values == other.stack_values && settings_file == other.settings_file;
    }
};

std::string FormatSnapshot(const Snapshot& snapshot);

// The snapshot the text holds, or (in `error`) why it is refused: the first line that is
// not as FormatSnapshot writes it, or a missing end.
std::optional<Snapshot> ParseSnapshot(const std::string& text, std::string* error);

}  // namespace zv
