#pragma once

#include "core/addressbook/AddressBookForm.h"
#include "core/addressbook/AddressBookHost.h"
#include "ui/QtPrompts.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace core {
class Editor;
}

namespace ui {

// The address book window (Form3): mirrors its core form and forwards user events to it. It is
// destroyed when it closes; the main window keeps one at a time.
class AddressBookWindow : public QWidget, public core::AddressBookView {
    Q_OBJECT
public:
    AddressBookWindow(core::Editor& editor, QWidget* parent);

    // Opens on the MY book or on Becky!'s groups, modeless.
    void open(core::BookKind kind);
    // File-read mode, modal: returns once the window has closed, with the path of the file the
    // user accepted, empty when none.
    std::u16string chooseFile();

    core::AddressBookForm& form() { return m_form; }
    void refresh() override;

    // Controls, as named in the form's state.
    QComboBox* Combo1 = nullptr;
    QListWidget* List1 = nullptr;
    std::array<QPushButton*, 4> Command3{};
    std::array<QLineEdit*, 5> Text1{};
    QComboBox* Combo2 = nullptr;
    QPushButton *Command1 = nullptr, *Command2 = nullptr;
    QLabel* Label1 = nullptr;
    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr;
    QLabel *Label2 = nullptr, *Label3 = nullptr;
    // Right-click menus of the list: the Becky kind's and the MY kind's.
    QMenu *MnuList = nullptr, *MyMnuList = nullptr;
    QAction* adrchg = nullptr;
    QAction *OnMail = nullptr, *Editbou = nullptr, *DelList = nullptr, *NameChg = nullptr, *MnuHenkou = nullptr,
            *NewAdr = nullptr, *BeckyEx = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void moveOver(QWidget* parent); // centred on the main window
    void buildControls();
    void buildMenus();
    void connectControls();
    void showListMenu(const QPoint& pos);
    template <typename F> void act(F&& command);
    void syncControls();
    void syncFields();
    void fitStatusLine();

    QtPrompts m_boxes; // boxes over this window, when the editor's are boxes too
    core::EditorAddressHost m_host;
    core::AddressBookForm m_form;
    std::vector<std::pair<QWidget*, const core::Control*>> m_controls;
    std::vector<std::u16string> m_rows, m_kinds, m_models;
    bool m_syncing = false;
    std::u16string* m_chosenFile = nullptr; // where file-read mode leaves its choice
    bool m_dropPending = false;             // a drop's files wait for its event to return
    QString m_fittedText;                   // the status line's text and room its font fits
    QSize m_fittedRoom;
};

} // namespace ui
