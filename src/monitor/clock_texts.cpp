#include "monitor/clock_texts.h"

#include <cstdio>
#include <cstdlib>

namespace zv::monitor {
namespace {

struct CivilTime {
    int year, month, day, hour, minute, second;
};

// Local seconds since 1970-01-01, split into whole days and the seconds of the day.
void SplitLocal(const WallTime& time, int64_t& days, int64_t& seconds) {
    int64_t local_s = time.utc_ms / 1000 + int64_t{time.offset_min} * 60;
    days = local_s / 86400;
    seconds = local_s % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
}

// The proleptic Gregorian calendar from a count of days since 1970-01-01.
CivilTime ToCivil(const WallTime& time) {
    int64_t days = 0;
    int64_t seconds = 0;
    SplitLocal(time, days, seconds);
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

// Days since 1970-01-01 of a day of the proleptic Gregorian calendar.
DayNumber DaysFromCivil(int year, int month, int day) {
    int64_t y = year - (month <= 2);
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t year_of_era = y - era * 400;
    int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

}  // namespace

std::string OffsetText(int offset_min) {
    int offset = std::abs(offset_min);
    return (offset_min < 0 ? "-" : "+") + Format("%02d:%02d", offset / 60, offset % 60, 0);
}

std::string LocalTimeText(const WallTime& time) {
    CivilTime t = ToCivil(time);
    return DateText(t) + " " + TimeOfDayText(t);
}

DayNumber LocalDay(const WallTime& time) {
    int64_t days = 0;
    int64_t seconds = 0;
    SplitLocal(time, days, seconds);
    return days;
}

std::string DayText(DayNumber day) {
    return DateText(ToCivil({day * 86400000, 0}));
}

std::optional<DayNumber> ParseDay(const std::string& text) {
    auto digits = [&](std::size_t at, std::size_t count) {
        int value = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return -1;
            }
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    int year = digits(0, 4);
    int month = digits(5, 2);
    int day = digits(8, 2);
    if (year < 1970 || month < 1 || month > 12 || day < 1) {
        return std::nullopt;
    }
    DayNumber number = DaysFromCivil(year, month, day);
    // A day past the month's end ("2025-02-30") comes back as another day's text.
    if (DayText(number) != text) {
        return std::nullopt;
    }
    return number;
}

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
