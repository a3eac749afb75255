// Keitai.pre: every model read back from a line the editor writes is the same model.
#include "FuzzSupport.h"

#include "core/addressbook/ModelList.h"
#include "platform/Cp932.h"
#include "platform/Files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::u16string path = fuzz::writeFile("Keitai.pre", in.rest());
    const auto lines = platform::readLines(path);
    FUZZ_CHECK(lines.has_value());
    const std::vector<core::ModelEntry> models = core::readModelList(path);
    const std::size_t presets = core::presetModels().size();
    FUZZ_CHECK(models.size() >= presets && models.size() <= presets + lines->size());
    for (std::size_t i = presets; i < models.size(); ++i) {
        const core::ModelEntry& m = models[i];
        FUZZ_CHECK(m.screenCode >= 0 && m.screenCode <= 9999);
        const auto line = core::modelLine(m);
        FUZZ_CHECK(line.has_value());
        const auto again = core::parseModelLine(*line);
        FUZZ_CHECK(again && again->name == m.name && again->screenCode == m.screenCode);
        const core::ScreenSize screen = core::screenSize(m.screenCode);
        FUZZ_CHECK(screen.columns * 100 + screen.rows == m.screenCode);
    }
    // An added model is read back as the last one.
    const std::vector<std::u16string> added = {u"new#model", std::u16string(in.units().substr(0, 40))};
    for (const std::u16string& name : added) {
        fuzz::writeFile("Keitai.pre", in.rest());
        if (name.find_first_of(u"\r\n") != std::u16string::npos)
            continue;
        const core::ModelEntry model{platform::decodeCp932(platform::encodeCp932(name)), 1234};
        FUZZ_CHECK(core::appendModel(path, model));
        const auto withIt = core::readModelList(path);
        FUZZ_CHECK(withIt.back().name == model.name && withIt.back().screenCode == 1234);
    }
    return 0;
}
