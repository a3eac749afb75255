#pragma once

#include "core/app/MainState.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Phone models and their screen sizes: the presets and the user's own models in Keitai.pre.
namespace core {

inline constexpr std::u16string_view ModelFile = u"Keitai.pre";

// A phone screen: characters per row and rows per screen.
struct ScreenSize {
    int columns = 0;
    int rows = 0;
};

std::vector<ModelEntry> presetModels();

// A Keitai.pre line: name, "#", then the code as four digits. nullopt for a line without "#",
// one shorter than five characters, or one whose last four characters are not all digits.
std::optional<ModelEntry> parseModelLine(std::u16string_view line);

// The presets followed by the models of the file (the presets alone when it cannot be read).
std::vector<ModelEntry> readModelList(std::u16string_view path);

// name + "#" + CCRR; nullopt when the code does not fit in four digits.
std::optional<std::u16string> modelLine(const ModelEntry& model);

// Appends one model line to the file, creating it when absent. False when the code does not
// fit in four digits or the file cannot be written.
bool appendModel(std::u16string_view path, const ModelEntry& model);

// CCRR read as columns and rows; a code outside 0..9999 gives a screen with no rows.
ScreenSize screenSize(int screenCode);

} // namespace core
