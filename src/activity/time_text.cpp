#include "activity/time_text.h"

#include <cmath>
#include <ctime>

namespace kolvio::activity {

namespace {

class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    bool done() const { return pos_ == text_.size(); }
    char peek() const { return done() ? '\0' : text_[pos_]; }
    bool take(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    // Exactly `count` digits.
    std::optional<int> digits(int count) {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            const char c = peek();
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
            ++pos_;
        }
        return value;
    }
    // ".123..." as a fraction of a second; 0 when there is none.
    std::optional<double> fraction() {
        if (!take('.')) return 0.0;
        double value = 0;
        double scale = 0.1;
        size_t count = 0;
        while (peek() >= '0' && peek() <= '9') {
            value += (peek() - '0') * scale;
            scale /= 10;
            ++pos_;
            ++count;
        }
        if (count == 0) return std::nullopt;
        return value;
    }
    void skipBlanks() {
        while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')
            ++pos_;
    }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

int64_t DaysFromCivil(int year, int month, int day) {
    // Howard Hinnant's algorithm: years counted from March, in 400-year eras.
    const int64_t y = int64_t{year} - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<double> ParseXmlTime(std::string_view text) {
    Cursor in(text);
    in.skipBlanks();
    const auto year = in.digits(4);
    if (!year || !in.take('-')) return std::nullopt;
    const auto month = in.digits(2);
    if (!month || !in.take('-')) return std::nullopt;
    const auto day = in.digits(2);
    if (!day || !in.take('T')) return std::nullopt;
    const auto hour = in.digits(2);
    if (!hour || !in.take(':')) return std::nullopt;
    const auto minute = in.digits(2);
    if (!minute || !in.take(':')) return std::nullopt;
    const auto second = in.digits(2);
    if (!second) return std::nullopt;
    const auto fraction = in.fraction();
    if (!fraction) return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) || *hour > 23 ||
        *minute > 59 || *second > 60) {  // 60: a leap second
        return std::nullopt;
    }
    int offsetMinutes = 0;
    if (in.take('Z')) {
    } else if (in.peek() == '+' || in.peek() == '-') {
        const int sign = in.take('-') ? -1 : (in.take('+'), 1);
        const auto oh = in.digits(2);
        if (!oh || !in.take(':')) return std::nullopt;
        const auto om = in.digits(2);
        if (!om || *oh > 14 || *om > 59) return std::nullopt;
        offsetMinutes = sign * (*oh * 60 + *om);
    }
    in.skipBlanks();
    if (!in.done()) return std::nullopt;
    const int64_t days = DaysFromCivil(*year, *month, *day);
    const int64_t seconds =
        days * 86400 + *hour * 3600 + *minute * 60 + *second - int64_t{offsetMinutes} * 60;
    return static_cast<double>(seconds) + *fraction;
}

CivilDate DateInLocalZone(double utcSeconds) {
    if (!(std::fabs(utcSeconds) < 1e12)) return {};  // beyond any calendar a ride has
    const std::time_t t = static_cast<std::time_t>(std::floor(utcSeconds));
    std::tm local{};
    tzset();  // localtime_r alone keeps the zone it saw first
    if (localtime_r(&t, &local) == nullptr) return {};
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace kolvio::activity
