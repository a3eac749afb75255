#include "core/app/Strings.h"

#include <algorithm>
#include <limits>

namespace core {

std::u16string decimal(long long value) {
    return ascii(std::to_string(value));
}

std::u16string ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::optional<long long> parseInteger(std::u16string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (value > (std::numeric_limits<long long>::max() - (c - u'0')) / 10)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return negative ? -value : value;
}

bool contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

bool startsWith(std::u16string_view text, std::u16string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::u16string oneLine(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        out += text[i] == u'\r' || text[i] == u'\n' ? u' ' : text[i];
    }
    return out;
}

std::u16string oneField(std::u16string_view text) {
    std::u16string out = oneLine(text);
    std::replace(out.begin(), out.end(), u'\t', u' ');
    return out;
}

std::u16string replaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to) {
    if (from.empty())
        return std::u16string(text);
    std::u16string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::u16string_view::npos; at = text.find(from, start)) {
        out.append(text.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace core
