#include "sysconfig/settings_file_reader.h"

#include <string>
#include <vector>

#include "common/numbers.h"

namespace zv {
namespace {

// Hands out the file's fields in order; every read fails once the fields run out.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) {
        std::string field;
        bool line_has_text = false;  // since the last line end: a comma or a non-blank
        for (size_t i = 0; i <= text.size(); ++i) {
            char c = i < text.size() ? text[i] : '\n';
            if (c == ',' || c == '\r' || c == '\n') {
                // Empty lines, lines of blanks only, and the LF of CR LF end no field.
                if (c == ',' || line_has_text) {
                    fields_.push_back(TrimBlanks(field));
                }
                line_has_text = c == ',';
                field.clear();
            } else {
                field += c;
                line_has_text = line_has_text || !IsBlank(c);
            }
        }
    }

    bool SkipKey() { return Next().has_value(); }

    bool Read(int16_t& target) { return Store(target, ParseInt16(Next().value_or(""))); }
    bool Read(int32_t& target) { return Store(target, ParseInt32(Next().value_or(""))); }
    bool Read(bool& target) {
        auto field = Next();
        std::optional<bool> flag;
        if (field == "#TRUE#" || field == "#FALSE#") {
            flag = *field == "#TRUE#";
        }
        return Store(target, flag);
    }

  private:
    std::optional<std::string> Next() {
        if (next_ >= fields_.size()) {
            return std::nullopt;
        }
        return fields_[next_++];
    }

    template <typename T>
    static bool Store(T& target, const std::optional<T>& value) {
        if (value) {
            target = *value;
        }
        return value.has_value();
    }

    std::vector<std::string> fields_;
    size_t next_ = 0;
};

bool ReadManualGroups(FieldReader& in, TuningSettings& s) {
    return in.SkipKey() && in.Read(s.MTUCustom) && in.Read(s.MTU) &&  //
           in.SkipKey() && in.Read(s.RWINCustom) && in.Read(s.RWINIndex) && in.Read(s.RWIN) &&
           in.SkipKey() && in.Read(s.TTLCustom) && in.Read(s.TTL) &&  //
           in.SkipKey() && in.Read(s.SKACustom) && in.Read(s.SKAIndex) && in.Read(s.SKA) &&
           in.SkipKey() && in.Read(s.NDICustom) && in.Read(s.NDIIndex) && in.Read(s.NDI) &&
           in.SkipKey() && in.Read(s.PMTU) &&       //
           in.SkipKey() && in.Read(s.BlackHole) &&  //
           in.SkipKey() && in.Read(s.Http10ConnectionsIndex) && in.Read(s.Http10Connections) &&
           in.SkipKey() && in.Read(s.Http11ConnectionsIndex) && in.Read(s.Http11Connections);
}

}  // namespace

std::optional<TuningSettings> ParseSettingsFile(std::string_view text,
                                                const TuningSettings& before) {
    FieldReader in(text);
    TuningSettings s = before;
    bool read =
        in.SkipKey() && in.Read(s.ConnectionType) && in.SkipKey() && in.Read(s.OptimizationMode);
    if (read && s.OptimizationMode == ManualMode) {
        read = ReadManualGroups(in, s);
    }
    if (!read || !IsValidSavedChoice(s)) {
        return std::nullopt;
    }
    return s;
}

}  // namespace zv
