// The main window's side of the emoji code registry window.
#include "ui/MainWindow.h"

#include "ui/RegistryWindow.h"

namespace ui {

namespace {

// "本文 記入" in the registry window edits the body as a user action in the main window.
class WindowEmojiBody : public core::EmojiBody {
public:
    explicit WindowEmojiBody(MainWindow& window) : m_window(window), m_body(window.editor()) {}
    void appendEmoji(std::u16string_view emoji) override {
        m_window.runCommand([&] { m_body.appendEmoji(emoji); });
    }

private:
    MainWindow& m_window;
    core::EditorEmojiBody m_body;
};

} // namespace

void MainWindow::openRegistry() {
    if (m_registry) {
        m_registry->raise();
        m_registry->activateWindow();
        return;
    }
    if (!m_emojiBody)
        m_emojiBody = std::make_unique<WindowEmojiBody>(*this);
    m_registry = new RegistryWindow(m_editor.prompts(), *m_emojiBody, m_editor.programFile(u"Emoji.code"), this);
    m_registry->show();
}

RegistryWindow* MainWindow::registryWindow() const {
    return m_registry;
}

} // namespace ui
