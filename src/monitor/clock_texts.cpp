#include "monitor/clock_texts.h"

#include <cstdio>
#include <cstdlib>

namespace zv::monitor {
namespace {

struct CivilTime {
    int year, month, day, hour, minute, second;
};

// The proleptic Gregorian calendar from a count of days since 1970-01-01.
CivilTime ToCivil(const WallTime& time) {
    int64_t local_s = time.utc_ms / 1000 + int64_t{time.offset_min} * 60;
    int64_t days = local_s / 86400;
    int64_t seconds = local_s % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t day_of_era = days - era * 146097;
    int64_t year_of_era =
        (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    int64_t mp = (5 * day_of_year + 2) / 153;
    int day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
    int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    int year = static_cast<int>(year_of_era + era * 400 + (month <= 2));
    return {year,
            month,
            day,
            static_cast<int>(seconds / 3600),
            static_cast<int>(seconds / 60 % 60),
            static_cast<int>(seconds % 60)};
}

std::string Format(const char* format, int a, int b, int c) {
    char text[32];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string DateText(const CivilTime& t) {
    return Format("%04d-%02d-%02d", t.year, t.month, t.day);
}

std::string ClockText(const CivilTime& t) {
    return Format("%02d:%02d", t.hour, t.minute, 0);
}

std::string TimeOfDayText(const CivilTime& t) {
    return Format("%02d:%02d:%02d", t.hour, t.minute, t.second);
}

std::string OffsetText(int offset_min) {
    int offset = std::abs(offset_min);
    return (offset_min < 0 ? "-" : "+") + Format("%02d:%02d", offset / 60, offset % 60, 0);
}

}  // namespace

std::string IsoTime(const WallTime& time) {
    CivilTime t = ToCivil(time);
    return DateText(t) + "T" + TimeOfDayText(t) + OffsetText(time.offset_min);
}

std::string DurationText(int64_t ms) {
    int64_t seconds = (ms + 500) / 1000;
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60) {
        return std::to_string(minutes) + " min";
    }
    std::string text = std::to_string(minutes / 60) + " h";
    return minutes % 60 == 0 ? text : text + " " + std::to_string(minutes % 60) + " min";
}

std::string SinceText(const WallTime& since, const WallTime& now) {
    CivilTime began = ToCivil(since);
    std::string when = ClockText(began);
    if (DateText(began) != DateText(ToCivil(now))) {
        when = DateText(began) + " " + when;
    }
    return when;
}

}  // namespace zv::monitor
