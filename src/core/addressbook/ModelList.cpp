#include "core/addressbook/ModelList.h"

#include "core/app/Strings.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

namespace core {

std::vector<ModelEntry> presetModels() {
    return {{u"P501i", 809}, {u"N501i", 1010}, {u"F501i", 806}, {u"D501i", 806}};
}

std::optional<ModelEntry> parseModelLine(std::u16string_view line) {
    if (line.find(u'#') == std::u16string_view::npos || line.size() < 5)
        return std::nullopt;
    int code = 0;
    for (char16_t c : line.substr(line.size() - 4)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        code = code * 10 + (c - u'0');
    }
    // The "#" is taken to be the fifth character from the end, not searched for.
    return ModelEntry{std::u16string(line.substr(0, line.size() - 5)), code};
}

std::vector<ModelEntry> readModelList(std::u16string_view path) {
    std::vector<ModelEntry> models = presetModels();
    if (auto lines = platform::readLines(path)) {
        for (const std::u16string& line : *lines) {
            if (auto model = parseModelLine(line))
                models.push_back(std::move(*model));
        }
    }
    return models;
}

std::optional<std::u16string> modelLine(const ModelEntry& model) {
    if (model.screenCode < 0 || model.screenCode > 9999)
        return std::nullopt;
    std::u16string line = oneField(model.name);
    line += u'#';
    for (int divisor = 1000; divisor > 0; divisor /= 10)
        line += static_cast<char16_t>(u'0' + model.screenCode / divisor % 10);
    return line;
}

bool appendModel(std::u16string_view path, const ModelEntry& model) {
    auto line = modelLine(model);
    if (!line)
        return false;
    return platform::appendRecord(path, platform::joinLines({*line}));
}

ScreenSize screenSize(int screenCode) {
    if (screenCode < 0 || screenCode > 9999)
        return {};
    return {screenCode / 100, screenCode % 100};
}

} // namespace core
