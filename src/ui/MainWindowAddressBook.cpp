// The main window's ways into the address book window: its two buttons and the open command.
#include "ui/AddressBookWindow.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QPushButton>

namespace ui {

void MainWindow::connectAddressBook() {
    connect(Command6, &QPushButton::clicked, this, [this] {
        if (!m_syncing)
            AddressBookWindow::open(m_editor, this, core::BookKind::My);
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (!m_syncing)
            AddressBookWindow::open(m_editor, this, core::BookKind::Becky);
    });
    connect(openfile, &QAction::triggered, this, [this] {
        if (m_syncing)
            return;
        const std::u16string path = AddressBookWindow::chooseFile(m_editor, this);
        if (!path.empty())
            act([&] { m_editor.loadTextFile(path); });
    });
}

bool MainWindow::closeAddressBook() {
    AddressBookWindow* book = AddressBookWindow::current();
    return !book || book->close();
}

} // namespace ui
