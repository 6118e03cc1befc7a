// The arithmetic of the responsiveness test, as the IETF IPPM draft "Responsiveness under
// Working Conditions" (draft-ietf-ippm-responsiveness-08) defines it: the trimmed mean of
// a set of round trips, the stability rule that ends a phase of load, round trips per
// minute and their class. Pure functions and one small record; no clock, no network.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace zv::monitor::rpm {

// Named in every result, so that a figure can be compared with another tool's.
inline constexpr char kMethod[] = "draft-ietf-ippm-responsiveness-08";

// The draft's trimmed mean: the mean of the samples with the highest 5 % (rounded down)
// left out; 0 for no samples.
double TrimmedMean(std::vector<double> samples);

// Round trips per minute for a round trip of `ms`; 0 for no round trip.
int RoundTripsPerMinute(double ms);

// The class a responsiveness falls in; the bands are in README ("Responsiveness").
enum class Grade { Poor, Fair, Good, Excellent };
Grade GradeOf(int rpm);
const char* GradeText(Grade grade);

// The draft's stability rule over a figure sampled once an interval (a goodput, a round
// trip): the moving average of the last kAverageSpan intervals is stable when the last
// kAverageSpan such averages lie within kTolerance (a standard deviation as a share of
// their mean) of each other.
class Stability {
  public:
    static constexpr std::size_t kAverageSpan = 4;
    static constexpr double kTolerance = 0.05;

    void Add(double interval_figure);
    bool Stable() const;
    // The newest moving average; 0 before kAverageSpan intervals.
    double Average() const { return averages_.empty() ? 0 : averages_.back(); }

  private:
    std::deque<double> figures_;
    std::deque<double> averages_;
};

}  // namespace zv::monitor::rpm
