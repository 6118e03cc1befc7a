#include "monitor/rpm_method.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zv::monitor::rpm {
namespace {

double Mean(const std::deque<double>& values) {
    return std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

}  // namespace

double TrimmedMean(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    samples.resize(samples.size() - samples.size() * 5 / 100);
    return std::accumulate(samples.begin(), samples.end(), 0.0) /
           static_cast<double>(samples.size());
}

int RoundTripsPerMinute(double ms) {
    return ms > 0 ? static_cast<int>(std::lround(60000.0 / ms)) : 0;
}

// Below 300 a round trip takes over 200 ms, which a call or a game feels; from 6000 it
// takes 10 ms or less, what a queue that is managed keeps.
Grade GradeOf(int rpm) {
    if (rpm < 300) {
        return Grade::Poor;
    }
    if (rpm < 1000) {
        return Grade::Fair;
    }
    return rpm < 6000 ? Grade::Good : Grade::Excellent;
}

const char* GradeText(Grade grade) {
    static const char* const kTexts[] = {"Poor", "Fair", "Good", "Excellent"};
    return kTexts[static_cast<int>(grade)];
}

void Stability::Add(double interval_figure) {
    figures_.push_back(interval_figure);
    if (figures_.size() > kAverageSpan) {
        figures_.pop_front();
    }
    if (figures_.size() < kAverageSpan) {
        return;
    }
    averages_.push_back(Mean(figures_));
    if (averages_.size() > kAverageSpan) {
        averages_.pop_front();
    }
}

// Only full averages count, so the rule can hold from the (2 * kAverageSpan - 1)th interval.
bool Stability::Stable() const {
    if (averages_.size() < kAverageSpan) {
        return false;
    }
    double mean = Mean(averages_);
    double squares = 0;
    for (double average : averages_) {
        squares += (average - mean) * (average - mean);
    }
    return mean > 0 &&
           std::sqrt(squares / static_cast<double>(averages_.size())) <= kTolerance * mean;
}

}  // namespace zv::monitor::rpm
