#pragma once

#include "core/app/MainView.h"

#include <string>
#include <vector>

namespace core {
class Editor;
}

namespace test {

// Records what the core asks of the window. closeWindow() runs the editor's close check the
// way the real window does.
class FakeView : public core::MainView {
public:
    explicit FakeView(core::Editor* editor = nullptr) : m_editor(editor) {}

    void bodyReplaced(int, int, std::u16string_view) override { ++bodyEdits; }
    void previewReplaced(int, int, std::u16string_view) override { ++previewEdits; }
    void refresh() override; // records whether the window is shown
    void processEvents() override { ++eventsProcessed; }
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs) override;
    void setClipboardText(std::u16string_view text) override { clipboard = text; }
    void openDocument(std::u16string_view path) override { opened.emplace_back(path); }
    void closeWindow() override;
    void quit() override { quitCalled = true; }
    void bringToFront() override { ++broughtToFront; }

    int bodyEdits = 0, previewEdits = 0, eventsProcessed = 0, broughtToFront = 0;
    std::vector<bool> shownAtRefresh;
    std::u16string clipboard;
    std::vector<std::u16string> opened;
    bool closeAsked = false, closed = false, quitCalled = false;

private:
    core::Editor* m_editor;
};

} // namespace test
