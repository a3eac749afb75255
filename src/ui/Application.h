#pragma once

#include <string_view>

namespace core {
class Editor;
}

namespace ui {

class MainWindow;

// Runs start-up on the editor and shows its window, the destination box taking the keys;
// false when start-up ended the program instead.
bool startEditor(core::Editor& editor, MainWindow& window, std::u16string_view commandLine);

// Builds the editor and its window, runs start-up and the event loop.
int runApplication(int argc, char** argv);

} // namespace ui
