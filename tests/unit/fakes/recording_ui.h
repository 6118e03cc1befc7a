// Window ports that record what the controller asked for and answer from a script.
#pragma once

#include <deque>
#include <vector>

#include "ui/ports.h"

namespace zv::testing {

class RecordingMessageBox : public ui::MessageBoxPort {
  public:
    std::vector<ui::Message> shown;
    std::deque<ui::MessageAnswer> answers;  // taken in order; Ok when empty

    ui::MessageAnswer Show(const ui::Message& message) override {
        shown.push_back(message);
        if (answers.empty()) {
            return ui::MessageAnswer::Ok;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class CountingEventPump : public ui::EventPump {
  public:
    int runs = 0;
    void DoEvents() override { ++runs; }
};

class CountingBeeper : public ui::Beeper {
  public:
    int beeps = 0;
    void Beep() override { ++beeps; }
};

}  // namespace zv::testing
