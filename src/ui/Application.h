#pragma once

namespace ui {

// Builds the editor and its window, runs start-up and the event loop.
int runApplication(int argc, char** argv);

} // namespace ui
