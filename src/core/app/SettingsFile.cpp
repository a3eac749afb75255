#include "core/app/SettingsFile.h"

#include "core/app/Strings.h"

#include <charconv>
#include <cmath>

namespace core::settings {

namespace {

// The text as ASCII, or nullopt when it holds anything else.
std::optional<std::string> narrow(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c > 0x7F)
            return std::nullopt;
        out.push_back(static_cast<char>(c));
    }
    return out;
}

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i] >= u'A' && a[i] <= u'Z' ? static_cast<char16_t>(a[i] + 32) : a[i];
        char16_t y = b[i] >= u'A' && b[i] <= u'Z' ? static_cast<char16_t>(b[i] + 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::optional<Line> splitLine(std::u16string_view line) {
    if (line.size() < 5)
        return std::nullopt;
    return Line{line.substr(0, 4), line.substr(5)};
}

std::u16string formatLine(std::u16string_view key, std::u16string_view value) {
    std::u16string out(key);
    out += u'=';
    out += value;
    return out;
}

std::u16string formatReal(float value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (ec != std::errc())
        return u"0";
    return ascii(std::string_view(buf, static_cast<std::size_t>(end - buf)));
}

std::u16string formatBool(bool value) {
    return value ? u"True" : u"False";
}

std::optional<float> parseReal(std::u16string_view text) {
    auto s = narrow(text);
    if (!s || s->empty())
        return std::nullopt;
    const char* first = s->data();
    const char* last = first + s->size();
    if (*first == '+')
        ++first;
    float value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> parseBool(std::u16string_view text) {
    if (equalsIgnoringCase(text, u"True"))
        return true;
    if (equalsIgnoringCase(text, u"False"))
        return false;
    if (auto number = parseReal(text))
        return *number != 0;
    return std::nullopt;
}

std::optional<bool> parseCheck(std::u16string_view text) {
    auto v = parseInteger(text);
    if (!v || (*v != 0 && *v != 1))
        return std::nullopt;
    return *v == 1;
}

} // namespace core::settings
