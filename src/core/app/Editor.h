#pragma once

#include "core/app/Clock.h"
#include "core/app/MainState.h"
#include "core/app/MainView.h"
#include "core/app/Prompts.h"
#include "core/text/EmojiTableFile.h"
#include "core/text/ExcessMark.h"
#include "core/text/GapText.h"
#include "core/vertical/PreviewRows.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A key pressed in the body box, as far as the editor cares.
struct BodyKey {
    enum Kind { Other, Enter, LetterA, LetterS, Digit } kind = Other;
    int digit = 0; // for Digit, main keyboard or keypad
    bool ctrl = false, shift = false, alt = false;
};

// What the overflow check did: nothing to do, the excess cut, or the excess kept and selected.
enum class Overflow { Within, Cut, Kept };

inline constexpr std::u16string_view CarrierDomain = u"docomo.ne.jp";
inline constexpr std::u16string_view CarrierTag = u"docomo";
inline constexpr std::u16string_view NoBecky = u"NO Becky";

// The main window's behaviour. It holds the window's state as plain data (`s`); every command
// below changes that state, asks through Prompts, touches disk through platform, and tells the
// view what to mirror. Setting a control's value through these commands runs its behaviour as
// a user action would. Each subsystem implements its own section in its own files.
class Editor {
public:
    // documentFolder: where an installed copy keeps readme.txt; empty for none.
    Editor(Prompts& prompts, const Clock& clock, std::u16string programFolder, std::u16string documentFolder = {});

    void setView(MainView* view) { m_view = view ? view : &m_nullView; }
    MainView& view() { return *m_view; }
    Prompts& prompts() { return m_prompts; }
    const Clock& clock() const { return m_clock; }
    const std::u16string& programFolder() const { return m_programFolder; }
    // programFolder + "\" + name
    std::u16string programFile(std::u16string_view name) const;
    // The program folder's readme.txt, else the document folder's; empty when neither exists.
    std::u16string readmeFile() const;

    MainState s;

    // Working state held by the window.
    std::u16string BeckyPath;
    bool Becky2InUse = false; // from the pointer file read or written; decides what accounts 112 and 200 mean
    std::u16string AccountAddress;
    std::u16string SignatureText;
    int CharLimit = 0; // 16-bit range, 0 = unset
    std::u16string SavedLimitBoxes;
    bool ReplacePending = false;
    int CountProgress = 0;
    std::vector<ModelEntry> models; // the ModelList

    // ---- app: start-up, settings, Becky! discovery, layout, small commands, options ----
    void startup(std::u16string_view commandLine);
    void afterFirstPaint(); // what start-up leaves until the window is on screen
    bool requestClose();    // close check and settings save; false keeps the window open
    void loadSettings();
    void saveSettings();
    void resetSettings();
    void discoverBecky();
    void windowResized(int outerWidth, int outerHeight, int innerWidth, int innerHeight);
    void relayout();
    void layoutStatusBar(); // after a status label's caption changed
    void placeFilterFrame();
    void markFontSize(); // the check mark on the body's font size
    void frameClicked();
    void fontSizeChosen(int i);
    void about();
    void readMe();
    void exitCommand();
    void destinationTextChanged(std::u16string_view text);
    void destinationItemPicked(int index);
    void accountPicked(int index);
    void ownAddressChosen(int k);
    void changeModeChosen(int k);
    void sendOptionChosen(MenuItem& item);
    // SenderIndex; when it names no OutAdr entry, entry 0 becomes the sender and is ticked.
    int senderEntry();
    // Set when a completed Becky! 2 set-up has asked the window to close: the program ends.
    bool ProgramEnding = false;

    // ---- text: counting, limits, option boxes, keys, shrinking, emoji insertion ----
    void bodyEdited(int pos, int removed, std::u16string_view added); // the user edited the body box
    // While held, the questions an edit calls for (the excess, the vertical preview's budget)
    // wait for the release: the window holds them while its box is still taking the user's
    // edit, so that they come over the edit as it shows.
    void holdQuestions() { m_questionsHeld = true; }
    void releaseQuestions();
    bool questionsWaiting() const { return m_overflowPending || m_previewPending; }
    void replaceBody(int pos, int removed, std::u16string_view text); // a command edits the body box
    void setBody(std::u16string_view text);
    void setPreviewText(std::u16string_view text, bool wraps = true); // Text3 as a whole
    void bodySelectionChanged(int start, int length);
    void onBodyChanged();
    Overflow checkOverflow();
    void setOptionBox(int index, bool checked); // Check1(index)
    void setImode(bool checked);                // Check2
    void setVerticalPreview(bool checked);      // Check3
    void titleChanged(std::u16string_view text);
    bool bodyKeyPress(const BodyKey& key); // true when the key is consumed
    bool bodyKeyRelease();                 // true when it ran the replacement an Enter left pending
    void countRun();
    void conversion(int k);   // nuki(k)
    void conversionChain();   // Cmero
    void insertEmoji(int n);  // PutChar(n)
    void emojiReplace(int k); // MnuTouroku(k): 0 keywords to emoji, 1 emoji to keywords
    void emojiCheck();        // EmojiChk
    double bodyCount();       // WeightedCount of the body, kept up to date edit by edit
    // While sending, the preview follows the body as it is; after that, the preview's own mode.
    void showPreviewAgain();
    // The part of the body past the limit, in the body and the preview, and the count's level.
    void markExcess();

private: // text: the last body edit and the copy the count follows
    void editBody(int pos, int removed, std::u16string_view text, int caret, bool fromUser);
    // Body units [pos, pos + rawLength) rewritten as [pos, pos + length) for the phone's code page.
    struct BodyAmendment {
        std::size_t pos = 0, rawLength = 0, length = 0;
    };
    // Rewrites what an edit brought into the body ([begin, end)), widened to whole emoji, in the
    // forms the phone's code page carries; the new i-mode emoji join UsedEmoji.
    std::optional<BodyAmendment> amendForPhone(std::size_t begin, std::size_t end);
    // After the body took an edit ([at, at + cut) became [at, at + added)): the forms for the
    // phone, the record the copies follow, the view, and the handling.
    void bodyEditDone(std::size_t at, std::size_t cut, std::size_t added, int caret, bool fromUser);
    void replaceBodyWith(std::u16string&& body); // as one edit of the changed span
    // The body measured against the effective limit, character by character.
    struct Excess {
        double count = 0, limit = 0;
        std::size_t keep = 0;       // units a cut keeps
        std::size_t selectFrom = 0; // where the selection of the kept excess starts
    };
    Excess measureExcess() const;
    void selectExcess(const Excess& e);
    void limitTest(double count, std::size_t length);
    void updatePreview();
    void showBanner(std::u16string text);
    void hideBanner();
    void limitQuestion();
    void rebuildStatusLine();
    bool enterPressed(); // true when it put the line break in itself
    void showProgress();
    void runAutoReplace(); // "置換(&T)" after Enter while auto-replace is on
    bool m_questionsHeld = false;
    bool m_overflowPending = false, m_previewPending = false; // held until the release
    bool m_overflowAnswered = false; // this key's excess question was answered: not asked again
    ExcessMark m_excess;
    unsigned m_excessSerial = 0; // the body edit the excess was last marked after
    int m_editPos = 0, m_editRemoved = 0, m_editAdded = 0;
    bool m_editKnown = false;   // the edit above is the body's latest change
    unsigned m_editSerial = 0;  // counts body edits, to notice one made while handling another
    GapText m_countedBody;      // the body as last counted: typing edits it where the last edit was
    std::u16string m_spareBody; // storage a command may write its result in
    std::size_t m_countedBytes = 0;
    bool m_countValid = false;
    bool m_deltaKnown = false; // a conversion knows how many bytes its edit saves
    bool m_keepsForms = false; // the edit brings no unit without a form in the code page
    bool m_formless = false;   // the body may hold a unit without one (kept as typed)
    long long m_byteDelta = 0;
    EmojiTableFile m_emojiTable;
    // The horizontal preview's rows, and the body they were made from: its size and edit serial.
    PreviewRows m_rows;
    bool m_rowsShown = false;       // the preview box shows m_rows
    bool m_destinationsDue = false; // the destination list waits for the window's first paint
    std::size_t m_rowsBodySize = 0;
    unsigned m_rowsSerial = 0;

public:
    // ---- mailbox: send, drafts, signature, send image, copy, text files ----
    void send();
    void saveDraft();
    void newMail();
    void signatureButton();
    void sendImage();
    void copyDisp(int i);
    void loadTextFile(std::u16string_view path);
    void readingBecky(int i);       // lists the drafts (0) or the log (1) in List1
    void listRowClicked(int index); // loads a row of List1 back into the editor
    void listDoubleClicked();

    // ---- vertical: layout conversion and preview modes ----
    // 0 preview, 1 send, 2 text view. Quiet: a screen too small for the text is not reported (the
    // preview then shows the text as it is); the preview that follows typing is quiet.
    void convertToVertical(int mode, bool quiet = false);
    void verticalModeButton(); // Command7
    void previewAreaToggle();  // Command4(0)
    void viewPre(int i);
    void preTate(int i);
    void yokoPre();

    // ---- addressbook: phone models and destination list ----
    void loadModelList();
    void loadToAddressList();
    void modelSelected(int index); // Combo3
    int screenColumns() const;
    int screenRows() const;

private:
    Prompts& m_prompts;
    const Clock& m_clock;
    std::u16string m_programFolder;
    std::u16string m_documentFolder;
    NullView m_nullView;
    MainView* m_view = &m_nullView;
};

} // namespace core
