// A millisecond count of 32 bits, which wraps every 49.7 days (GetTickCount on Windows
// without GetTickCount64), widened to one that only runs forward: each reading adds its
// difference from the one before, which is right across a wrap as long as readings come
// more often than that.
#pragma once

#include <cstdint>

namespace zv::monitor {

class WideTickCount {
  public:
    explicit WideTickCount(uint32_t first) : last_(first) {}

    int64_t Read(uint32_t now) {
        total_ += static_cast<uint32_t>(now - last_);
        last_ = now;
        return total_;
    }

  private:
    uint32_t last_;
    int64_t total_ = 0;
};

}  // namespace zv::monitor
