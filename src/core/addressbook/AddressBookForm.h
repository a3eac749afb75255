#pragma once

#include "core/addressbook/AddressBook.h"
#include "core/addressbook/AddressBookHost.h"
#include "core/app/MainState.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The address book window (Form3): the MY address book, a Becky! group, or the drop target
// of the open command. It holds the window's state as plain data and runs its commands; the
// window mirrors the state and forwards user events. One object per opening: a new one starts
// from the design state.
namespace core {

// The window's tag: which book it shows, or neither in file-read mode.
enum class BookKind { FileRead, My, Becky };

// The window that mirrors the form: refreshed after each command and before every question, so
// a question shows over the state it is about.
class AddressBookView {
public:
    virtual ~AddressBookView() = default;
    virtual void refresh() = 0;
};

// The detail fields, by index of Text1.
enum DetailField : std::size_t { AddressField = 0, NameField = 1, NicknameField = 2, HomePageField = 3, PgpField = 4 };

class AddressBookForm {
public:
    explicit AddressBookForm(AddressBookHost& host);

    // The detail fields and the lines of their label stand this far apart, in twips.
    static constexpr int DetailRowPitch = 345;

    void setView(AddressBookView* view) { m_view = view; }

    // ---- openers ----
    void openMyBook();      // the main window's "アドレス(&A)"
    void openBeckyGroups(); // the main window's Becky! address book button
    void openFileRead();    // the open command's drop target

    // ---- user events ----
    void kindChosen(int index); // Combo1
    void rowSelected(int row);  // List1; also run by the commands below
    void fieldEdited(std::size_t field, std::u16string_view text);
    void modelChosen(int index); // Combo2
    void bottomButton();         // Command1: into the mail, or save when armed
    void putIntoMail();          // double-click on a row, "メールへ(&M)"
    void newEntry();             // Command3(0), "新規作成(&N)"
    void change();               // Command3(1), "変更(&H)"
    void deleteEntry();          // Command3(2), "削除(&D)"
    void importOrExport();       // Command3(3)
    void rename();               // "登録名変更(&N)"
    void importEntry();          // "アドレス帳にインポート(&I)"
    void exportBook();           // "BECKYエクスポート(&B)"
    // Closing by "閉じる" or the close box, with its questions. True when the window is to be
    // destroyed; false only when the book could not be written, so its changes stay on screen.
    bool close();
    // Files dropped in file-read mode, in drop order. True when one was accepted and the
    // window is to close.
    bool filesDropped(const std::vector<std::u16string>& paths);
    // The pointer entered a control whose tooltip the status line repeats.
    void pointerOver(const Control& control);
    void resized(int innerWidth, int innerHeight);

    // ---- state, mirrored by the window ----
    std::u16string caption = u"アドレス帳";
    BookKind kind = BookKind::FileRead;
    int innerWidth = 5760, innerHeight = 6600; // client area, twips

    ComboBox Combo1; // kind list: "addr", or the Becky! group names
    Control List1;   // rows are the entries' names; see entries and row
    std::array<Button, 4> Command3;
    std::array<TextBox, 5> Text1; // by DetailField
    ComboBox Combo2;              // phone model (Becky!'s remarks)
    Button Command1, Command2;
    Control Label1; // status line, its caption the text
    Control Frame1, Label2;
    Control Frame2, Label3;

    // The shown book: row i of the list is entry i, its name the row's text.
    std::vector<AddressEntry> entries;
    int row = -1; // the selected row, -1 for none

    // The detail fields are read-only on grey backs and the model box is disabled: set by
    // every row selection and saved entry, cleared by "変更".
    bool detailsLocked = true;
    // The address, name, or other details (model, nickname, home page, PGP ID) changed since
    // the row was shown; cleared by the row selection, a saved entry and a deletion.
    bool addressEdited = false, nameEdited = false, detailsEdited = false;
    // The MY book has changes not yet in addr.adr: set by a saved entry, a new entry, a
    // rename and a deletion, whether anything changed or not; cleared only by a written book.
    bool bookModified = false;
    // The bottom-left button saves the entry instead of putting its address into the mail: set
    // by "変更" and by any edit of a field, cleared by the row selection and by the save.
    bool saveArmed = false;
    // The import/export button exports: set by the MY kind's opener.
    bool exportMode = false;
    // The row selected before the current one; the save question of a row selection saves it.
    int previousRow = -1;
    // The folder holding the kind list's "<name>.adr" files.
    std::u16string bookFolder;
    // Becky!'s address book folder, where the export writes.
    std::u16string beckyAddrBookFolder;
    // File-read mode: "1" while the window waits for a file, then the accepted file's path.
    std::u16string fileReadChoice;

    // File-read mode ended with a file accepted.
    bool fileChosen() const { return kind == BookKind::FileRead && fileReadChoice != u"1"; }

private:
    Prompts& prompts();
    void refreshView();
    void loadBook(std::u16string_view path);
    void showRow();
    void lockDetails();
    void saveEntry(int r);
    bool saveBook();
    std::u16string chooseModel();
    bool exportTargetReady();

    AddressBookHost& m_host;
    AddressBookView* m_view = nullptr;
    // MY book lines the i-mode setting hides, each with the number of shown entries before it,
    // so a save writes them back where they stood.
    std::vector<std::pair<std::size_t, AddressEntry>> m_hidden;
    // The MY book's file as last read or written (nullopt: there was none), to tell the lines
    // others have added since; and whether it exists but could not be read, when it is never
    // written over.
    std::optional<std::string> m_loaded;
    bool m_unreadable = false;
};

} // namespace core
