// A clock for timer models: Advance(ms) fires each running timer's ticks in time order,
// and a timer that is enabled again or given a new interval starts its count anew, as a
// real window timer does.
#pragma once

#include <memory>
#include <vector>

#include "ui/timer.h"

namespace zv::testing {

class FakeClock {
  public:
    void Watch(ui::Timer& timer) {
        entries_.push_back(std::make_unique<Entry>(timer, *this));
        entries_.back()->Rearm();
    }

    long now() const { return now_; }

    void Advance(long ms) {
        const long end = now_ + ms;
        while (Entry* next = NextDue(end)) {
            now_ = next->due;
            next->due = now_ + next->timer.interval();
            next->timer.Tick();
        }
        now_ = end;
    }

  private:
    struct Entry : ui::ControlView {
        Entry(ui::Timer& t, FakeClock& c) : timer(t), clock(c) { timer.AttachView(this); }
        ~Entry() override { timer.AttachView(nullptr); }
        void OnChange(ui::Change) override { Rearm(); }
        void Rearm() { due = timer.running() ? clock.now_ + timer.interval() : -1; }

        ui::Timer& timer;
        FakeClock& clock;
        long due = -1;
    };

    Entry* NextDue(long end) {
        Entry* next = nullptr;
        for (auto& e : entries_) {
            if (e->due >= 0 && e->due <= end && (next == nullptr || e->due < next->due)) {
                next = e.get();
            }
        }
        return next;
    }

    std::vector<std::unique_ptr<Entry>> entries_;
    long now_ = 0;
};

}  // namespace zv::testing
