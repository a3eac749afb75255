#pragma once

#include <functional>
#include <string_view>

namespace core {

// What the core asks of the window that shows its state. Positions and lengths are UTF-16
// units of the core's text, where a line break is CR LF (two units).
class MainView {
public:
    virtual ~MainView() = default;
    // The core changed the body (or the preview box): apply the same edit to the control,
    // as one undo step, without reporting it back as a user edit.
    virtual void bodyReplaced(int pos, int removed, std::u16string_view text) = 0;
    virtual void previewReplaced(int pos, int removed, std::u16string_view text) = 0;
    // The core rewrote text the user just entered in the body box (positions in the body as the
    // box shows it): apply it to the control as part of the user's own edit, one undo step.
    virtual void bodyAmended(int pos, int removed, std::u16string_view text) { bodyReplaced(pos, removed, text); }
    // Mirror every other piece of state (captions, checks, visibility, geometry, selections) now.
    virtual void refresh() = 0;
    // Let the window process pending events during a long run.
    virtual void processEvents() = 0;
    // Polls done() every intervalMs while the window stays responsive; true once done() holds,
    // false after timeoutMs without it.
    virtual bool waitUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs) = 0;
    virtual void setClipboardText(std::u16string_view text) = 0;
    virtual void openDocument(std::u16string_view path) = 0;
    // Close the main window the normal way (the close check and settings save run).
    virtual void closeWindow() = 0;
    // End the program at once, without the close check.
    virtual void quit() = 0;
    // Minimise and restore, so the window comes to the front.
    virtual void bringToFront() = 0;
};

// A view that does nothing: the core runs headless with it.
class NullView : public MainView {
public:
    void bodyReplaced(int, int, std::u16string_view) override {}
    void previewReplaced(int, int, std::u16string_view) override {}
    void refresh() override {}
    void processEvents() override {}
    bool waitUntil(const std::function<bool()>& done, int, int) override { return done(); }
    void setClipboardText(std::u16string_view) override {}
    void openDocument(std::u16string_view) override {}
    void closeWindow() override {}
    void quit() override {}
    void bringToFront() override {}
};

} // namespace core
