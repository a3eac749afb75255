#pragma once

#include "core/app/Editor.h"
#include "core/app/MainView.h"
#include "core/text/EmojiRegistry.h"
#include "ui/BodyEdit.h"
#include "ui/DraftList.h"
#include "ui/TextMirror.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace core {
enum class BookKind;
}

namespace ui {

class ItemListModel;

class RegistryWindow;
class AddressBookWindow;
class TabStopDelegate;

constexpr int TwipsPerPixel = 15;
int px(int twips); // twips to device-independent pixels, rounded

// The main window: mirrors the editor's state in its widgets and hands every user action to
// the editor. Widgets and menu entries carry the control names of the editor's state.
class MainWindow : public QMainWindow, public core::MainView {
    Q_OBJECT
public:
    explicit MainWindow(core::Editor& editor, QWidget* parent = nullptr);
    ~MainWindow() override;

    core::Editor& editor() { return m_editor; }
    // True once the window was closed or the program asked to end.
    bool ended() const { return m_ended; }
    // How the program ends at once; leaving the event loops by default.
    void setEndProgram(std::function<void()> end) { m_endProgram = std::move(end); }
    // Runs a command on the editor as a user action in this window (another window's, too).
    void runCommand(const std::function<void()>& command) { act(command); }
    // The emoji code registry window ("文字コード登録(&M)"), modeless; null while closed.
    void openRegistry();
    RegistryWindow* registryWindow() const;
    // The address book window: one at a time, the MY book or Becky!'s groups modeless, or the
    // open command's drop target modal; null while closed.
    void openAddressBook(core::BookKind kind);
    void openTextFile();
    AddressBookWindow* addressBookWindow() const;

    // Mirrors and paints the current state at once: a question is asked over it.
    void showBeforeQuestion();

    // core::MainView
    void bodyReplaced(int pos, int removed, std::u16string_view text) override;
    void previewReplaced(int pos, int removed, std::u16string_view text) override;
    void bodyAmended(int pos, int removed, std::u16string_view text) override;
    void refresh() override;
    void processEvents() override;
    bool waitUntil(const std::function<bool()>& done, int timeoutMs, int intervalMs) override;
    void setClipboardText(std::u16string_view text) override;
    void openDocument(std::u16string_view path) override;
    void closeWindow() override;
    void quit() override;
    void bringToFront() override;

    // Controls, as named in the editor's state.
    QGroupBox* Frame1 = nullptr;
    std::array<QCheckBox*, 9> Check1{};
    QGroupBox* Frame2 = nullptr;
    QPushButton *Command2 = nullptr, *Command7 = nullptr, *Command3 = nullptr;
    std::array<QPushButton*, 2> Command4{};
    QPushButton* Command1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QComboBox* Combo2 = nullptr;
    DraftListView* List1 = nullptr;
    QFrame* Picture1 = nullptr;
    QLabel *Label5 = nullptr, *Label6 = nullptr, *Label1 = nullptr;
    std::array<QLabel*, 2> Label3{};
    QPushButton* Command6 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    BodyEdit* Text1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QComboBox* Combo3 = nullptr;
    QCheckBox* Check3 = nullptr;
    QPushButton* Command5 = nullptr;
    MarkedEdit* Text3 = nullptr;
    QLabel* Label4 = nullptr;

    // Menus.
    QMenu *Mnufile = nullptr, *mainmnu = nullptr, *mojisize = nullptr, *Mnucode = nullptr, *imenu = nullptr,
          *OutAccuntChg = nullptr, *MnuWindow = nullptr, *MnuTATE = nullptr, *MnuHelp = nullptr;
    QAction *openfile = nullptr, *newfile = nullptr, *TotyuuSave = nullptr, *Mnuexit = nullptr, *Cmero = nullptr,
            *mojio = nullptr, *EmojiChk = nullptr, *Aouttikan = nullptr, *IOutNO = nullptr, *IOutput = nullptr,
            *IOutEnd = nullptr, *OutBcc = nullptr, *YokoPre = nullptr, *kotori = nullptr, *ReadMe = nullptr,
            *ReSetSave = nullptr, *MnuOpenHelp = nullptr;
    std::array<QAction*, 2> ReadingBecky{}, MnuTouroku{}, PreTate{};
    std::array<QAction*, 3> CopyDisp{}, SizeFontChg{}, OutAdrChg{}, ViewPre{};
    std::array<QAction*, 9> nuki{};
    std::vector<QAction*> PutChar, OutAdr;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What each label was last given.
    struct LabelShown {
        std::u16string caption, toolTip;
        int width = -1;
        QFont font;
    };
    // A control and its state; what kind of widget it is, found once (a cast costs as much as
    // the rest of a control's mirroring).
    struct ControlBinding {
        QWidget* widget = nullptr;
        const core::Control* state = nullptr;
        QLabel* label = nullptr;
        QAbstractButton* button = nullptr;
        QGroupBox* group = nullptr;
        LabelShown shown;
    };
    struct ActionBinding {
        QAction* action;
        const core::MenuItem* item;
    };

    void buildControls();
    void buildMenus();
    void connectControls();
    void connectMenus();
    void connectAddressBook();
    bool closeAddressBook(); // false when the address book window stays open
    void newAddressBook();   // after closing the open one
    void bind(QWidget* widget, const core::Control& state);
    void bind(QAction* action, const core::MenuItem& item) { m_actions.push_back({action, &item}); }

    // Runs a user action on the editor unless the window itself is mirroring state.
    template <typename F> void act(F&& command);

    void syncControls();
    void syncMenus();
    void syncDynamicMenu(QMenu* menu, std::vector<QAction*>& actions, const std::vector<core::MenuItem>& items,
                         const char* name, bool toEmoji);
    void syncWindow();
    void syncTexts();
    void flushPendingBody();
    // The body edits of one user action undo as one step.
    void beginCommand() {
        m_inCommand = true;
        m_commandEdited = false;
    }
    void clientResized();
    bool frameKnown() const;
    QSize outerTwips() const; // the window's outer size as the editor counts it
    void applyOuterSize();
    QSize nonClientSize();
    void reapplyOuterSizeSoon();

    void bodyDocumentChanged(int pos, int removed, int added);
    // The questions the user's last edit of the body calls for, once the box shows it.
    void releaseQuestions();
    bool m_releaseQueued = false;
    void bodySelectionMoved();
    void lineSelectionMoved(QLineEdit* edit, core::TextBox& textState);
    void destinationSelectionMoved();

    core::Editor& m_editor;
    QWidget* m_client = nullptr;
    TabStopDelegate* m_listDelegate = nullptr;
    DraftListModel* m_listModel = nullptr;
    QTimer* m_previewCaretTimer = nullptr;
    bool m_previewCaretDue = false; // the preview changed: its caret is shown at the next full mirroring
    TextMirror m_body;
    TextMirror m_preview;
    std::vector<ControlBinding> m_controls;
    std::vector<ActionBinding> m_actions;
    ItemListModel *m_combo1Model = nullptr, *m_combo2Model = nullptr, *m_combo3Model = nullptr;
    std::u16string m_fontNames[3];
    double m_fontSizes[3] = {0, 0, 0};
    bool m_shaped[3] = {false, false, false}; // the boxes' fonts are shaped (see textBoxFont)
    // The boxes' fonts as their state and texts call for: shaped only while a box holds an emoji.
    void syncBoxFonts();
    double m_statusFontSize = 0;
    core::CountLevel m_countLevel = core::CountLevel::Normal;
    std::array<int, 2> m_previewFit{}; // the columns and room the preview's font was fitted to
    void fitPreviewFont();
    void syncMarks(MarkedEdit* box, const TextMirror& mirror, const core::TextBox& state, bool selection,
                   const std::vector<std::pair<int, int>>& cells = {});
    void syncLineMark(QLineEdit* box, const core::TextBox& state);
    std::array<int, 3> m_titleMark{}; // the title's marked part as last given, and its length
    bool m_red = false;

    bool m_syncing = false;              // the window is mirroring the editor: widget signals are not user actions
    bool m_refreshAgain = false;         // a resize arrived while mirroring
    int m_inBodyChange = 0;              // inside the body document's change signal
    bool m_typing = false;               // mirroring after a keystroke in the body
    bool m_inCommand = false;            // a user action is running on the editor
    bool m_commandEdited = false;        // ... and has edited the body already
    bool m_coreSelection = false;        // the editor's body selection waits to reach the box
    std::vector<CoreEdit> m_pendingBody; // editor edits that arrived inside that signal
    int m_appliedOuterWidth = -1, m_appliedOuterHeight = -1;
    bool m_onAssumedFrame = false; // the size was applied before the real frame was known
    QSize m_nonClient;             // the menu bar's share of the window when it was applied
    bool m_reapplyQueued = false;  // ... and it is about to be applied again
    bool m_ending = false, m_ended = false;
    bool m_painted = false; // the window has been painted once
    qint64 m_lastEventsRefresh = 0;
    std::function<void()> m_endProgram;
    std::unique_ptr<core::EmojiBody> m_emojiBody; // what the registry window may do to the body
    QPointer<RegistryWindow> m_registry;
    QPointer<AddressBookWindow> m_addressBook;
};

} // namespace ui

namespace ui {

template <typename F> void MainWindow::act(F&& command) {
    if (m_syncing)
        return;
    beginCommand();
    command();
    m_inCommand = false;
    refresh();
}

} // namespace ui
