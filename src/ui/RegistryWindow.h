#pragma once

#include "core/text/EmojiRegistry.h"
#include "ui/QtPrompts.h"

#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace ui {

// The emoji code registry window (Form2): mirrors its core state and forwards user events.
// Modeless; it deletes itself when closed, so each opening starts afresh.
class RegistryWindow : public QWidget {
    Q_OBJECT
public:
    RegistryWindow(core::Prompts& prompts, core::EmojiBody& body, std::u16string tablePath, QWidget* parent);

    core::EmojiRegistry& registry() { return m_registry; }
    void refresh();

    QGroupBox* Frame1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr;
    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
    std::array<QPushButton*, 2> Command4{};
    std::array<QPushButton*, 6> Command2{};

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename F> void act(F&& command);
    void build();
    void connectControls();

    QtPrompts m_boxes; // boxes over this window, when the editor's are boxes too
    core::EmojiRegistry m_registry;
    std::vector<std::u16string> m_shownRows;
    bool m_syncing = false;
};

} // namespace ui
