#include "core/text/NumberFormat.h"

#include "core/app/Strings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace core {

namespace {

std::u16string widen(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace

std::u16string oneDecimal(double value) {
    if (!std::isfinite(value))
        return u"0.0";
    // Counts are whole and half characters: their tenths need no rounding, nor a formatted print.
    if (const double halves = value * 2; halves == std::floor(halves) && std::fabs(value) < 1e15) {
        const auto tenths = static_cast<long long>(std::fabs(halves)) * 5;
        return (value < 0 && tenths != 0 ? u"-" : u"") + decimal(tenths / 10) + u"." +
               static_cast<char16_t>(u'0' + tenths % 10);
    }
    // Going through 15 significant digits first keeps 16.15 (stored as 16.149999...) rounding up.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
    std::string digits;
    digits += buffer[0];
    digits.append(buffer + 2, 14); // the mantissa without its point
    int exponent = std::atoi(buffer + 17);

    // Whole digits and tenths: digits[0 .. exponent + 1].
    int keep = exponent + 2;
    std::string kept;
    bool roundUp = false;
    if (keep <= 0) {
        kept = "0";
        roundUp = keep == 0 && digits[0] >= '5';
        keep = 1;
    } else {
        kept = digits.substr(0, static_cast<std::size_t>(keep));
        while (kept.size() < static_cast<std::size_t>(keep))
            kept += '0';
        roundUp = static_cast<std::size_t>(keep) < digits.size() && digits[static_cast<std::size_t>(keep)] >= '5';
    }
    std::string tenths = kept; // the value times ten, as decimal digits (leading digit may be 0)
    if (roundUp) {
        int i = static_cast<int>(tenths.size()) - 1;
        while (i >= 0 && tenths[static_cast<std::size_t>(i)] == '9')
            tenths[static_cast<std::size_t>(i--)] = '0';
        if (i < 0)
            tenths.insert(tenths.begin(), '1');
        else
            ++tenths[static_cast<std::size_t>(i)];
    }
    while (tenths.size() < 2)
        tenths.insert(tenths.begin(), '0');
    std::string whole = tenths.substr(0, tenths.size() - 1);
    bool zero = tenths.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !zero ? "-" : "") + whole + "." + tenths.back();
    return widen(out);
}

std::u16string plainDecimal(double value) {
    if (!std::isfinite(value))
        return u"0";
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return widen(std::to_string(static_cast<long long>(value)));
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return widen(buffer);
}

int percentHalfEven(long long value, long long total) {
    if (total <= 0)
        return 0;
    long long scaled = value * 100;
    long long q = scaled / total, r = scaled % total;
    if (2 * r > total || (2 * r == total && q % 2 != 0))
        ++q;
    return static_cast<int>(q);
}

int limitNumber(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\u3000'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\u3000'))
        text.remove_suffix(1);
    auto value = parseInteger(text);
    if (!value || *value < std::numeric_limits<short>::min() || *value > std::numeric_limits<short>::max())
        return 0;
    return static_cast<int>(*value);
}

} // namespace core
