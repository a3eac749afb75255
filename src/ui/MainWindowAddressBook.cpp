// The main window's side of the address book window: its two buttons and the open command.
#include "ui/AddressBookWindow.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QPushButton>

namespace ui {

void MainWindow::connectAddressBook() {
    connect(Command6, &QPushButton::clicked, this, [this] {
        if (!m_syncing)
            openAddressBook(core::BookKind::My);
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (!m_syncing)
            openAddressBook(core::BookKind::Becky);
    });
    connect(openfile, &QAction::triggered, this, [this] {
        if (!m_syncing)
            openTextFile();
    });
}

bool MainWindow::closeAddressBook() {
    AddressBookWindow* book = addressBookWindow();
    return !book || book->close();
}

AddressBookWindow* MainWindow::addressBookWindow() const {
    // A closed window lingers until its deferred deletion; it is no longer the open one.
    return m_addressBook && m_addressBook->isVisible() ? m_addressBook.data() : nullptr;
}

void MainWindow::openAddressBook(core::BookKind kind) {
    // Another kind never inherits the open window's state: it closes, with its questions.
    if (!closeAddressBook())
        return;
    m_addressBook = new AddressBookWindow(m_editor, this);
    m_addressBook->open(kind);
}

void MainWindow::openTextFile() {
    if (!closeAddressBook())
        return;
    m_addressBook = new AddressBookWindow(m_editor, this);
    const std::u16string path = m_addressBook->chooseFile();
    if (!path.empty())
        act([&] { m_editor.loadTextFile(path); });
}

} // namespace ui
