#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The main window's state as plain data. Control names are the system's own; the window
// mirrors these fields in its widgets. Geometry is in twips.
namespace core {

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct Control {
    Rect rect;
    bool visible = true;
    bool enabled = true;
    std::u16string caption;
    std::u16string toolTip;
};

struct CheckBox : Control {
    bool checked = false;
};

struct Button : Control {
    bool red = false; // back colour 0000FF (BGR) instead of the button face
};

struct TextBox : Control {
    std::u16string text; // line breaks are CR LF
    int selStart = 0;    // caret / selection in UTF-16 units of text
    int selLength = 0;
    std::u16string fontName = u"ＭＳ ゴシック";
    double fontSize = 9;
    // Long lines wrap at the box's width; off, each line shows whole (a vertical layout's rows).
    bool wraps = true;
    // Units [markStart, markEnd) show on a light red back: what the limit leaves over, a
    // title's characters from the 15th on. Nothing when they are equal.
    int markStart = 0, markEnd = 0;
};

// How the count stands against the limit, for the colour of its display.
enum class CountLevel { Normal, Near, Over };

struct ListEntry {
    std::u16string text;
    int data = 0; // AccountNo, model index or ScreenCode, by list
    // A draft or log row: where each of its first four columns ends in the text (the index of
    // the separator after it), so a title or destination holding the separator comes back
    // whole. All 0 for other rows.
    std::array<std::uint32_t, 4> columnEnds{};
};

struct ComboBox : Control {
    std::vector<ListEntry> items;
    int listIndex = -1;  // selected entry, -1 for none
    std::u16string text; // the edit text of an editable combo box
    int selStart = 0;
    int selLength = 0;
};

struct ListBox : Control {
    std::vector<ListEntry> items; // data = vertical mark for draft rows
    unsigned revision = 0;        // bumped with every change of items: a window need not compare them
    int listIndex = -1;
    std::vector<int> tabStops;
    int horizontalExtent = 0; // pixels
};

struct MenuItem {
    std::u16string caption;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    std::u16string shortcut; // "Ctrl+T" and the like, empty for none
};

struct WindowState {
    std::u16string caption = u"ことり便";
    int innerWidth = 7950, innerHeight = 6990; // client area, twips
    int outerWidth = 0, outerHeight = 0;       // frame included, twips
    int frameWidth = 240, frameHeight = 1020;  // outer minus inner; the window reports its own
    // Smallest client area at which every control stays usable and the status bar readable.
    int minInnerWidth = 7500, minInnerHeight = 5400;
    bool visible = false;
    bool minimized = false;
};

struct ModelEntry {
    std::u16string name;
    int screenCode = 0; // columns * 100 + rows
};

struct MainState {
    MainState(); // design-time captions and geometry

    WindowState window;

    // Button bar and filters.
    Control Frame1; // caption "制限"; height 255 collapsed, 2655 expanded
    std::array<CheckBox, 9> Check1;
    Control Frame2;
    Button Command2, Command7, Command3;
    std::array<Button, 2> Command4;
    Button Command1;
    CheckBox Check2;
    ComboBox Combo2; // accounts, data = AccountNo

    ListBox List1;

    // Status bar.
    Control Picture1;
    // The status bar's labels' font size in points: smaller than the window's 9 when the bar is
    // too narrow for their whole texts.
    double statusFontSize = 9;
    CountLevel countLevel = CountLevel::Normal; // Label1's colour
    Control Label5;                             // warning banner, hidden until needed
    Control Label6, Label1, Label2;
    std::array<Control, 2> Label3;

    Button Command6;
    ComboBox Combo1; // destination; items = ToAddressList, data = model index
    TextBox Text2;   // title
    TextBox Text1;   // body

    // Preview frame.
    Control Frame3;
    ComboBox Combo3; // models, data = ScreenCode
    CheckBox Check3;
    Button Command5;
    TextBox Text3;
    // In a vertical preview the excess is scattered over the cells: each range is one cell.
    std::vector<std::pair<int, int>> previewMarks;
    Control Label4;

    // Menus.
    MenuItem Mnufile, openfile, newfile, TotyuuSave, Mnuexit;
    std::array<MenuItem, 2> ReadingBecky;
    MenuItem mainmnu, mojisize, Cmero;
    std::array<MenuItem, 3> CopyDisp, SizeFontChg;
    std::array<MenuItem, 9> nuki;
    MenuItem Mnucode, mojio, EmojiChk, Aouttikan;
    std::array<MenuItem, 2> MnuTouroku;
    std::vector<MenuItem> PutChar; // never empty: "なし" stands in without an emoji table
    MenuItem imenu, IOutNO, IOutput, IOutEnd, OutBcc, OutAccuntChg;
    std::array<MenuItem, 3> OutAdrChg;
    std::vector<MenuItem> OutAdr; // own addresses; entry 0 is the i-mode address, never removed
    MenuItem MnuWindow, YokoPre, MnuTATE;
    std::array<MenuItem, 3> ViewPre;
    std::array<MenuItem, 2> PreTate;
    MenuItem MnuHelp, kotori, ReadMe, ReSetSave, MnuOpenHelp;

    // The editor's flags.
    // The body changed: set by every change of the body box; cleared by a new mail and after a
    // completed send (a cancelled send keeps it). Closing the window asks before discarding.
    bool modified = false;
    // The send command is running: set when it starts, cleared when it ends whichever way. Meanwhile
    // the preview follows the body whatever its mode, and the limit leaves the signature out.
    bool sendBusy = false;
    // The running send writes to the account's drafts: set and cleared around it by "草稿に保存(&S)".
    bool draftMode = false;
    // Mails go out in vertical writing: toggled by the vertical-writing button `Command7`.
    bool verticalMode = false;
    // The send appends the signature: set and cleared by the signature button, shown by `Label3[1]`,
    // saved as `Ssyo`.
    bool signatureOn = false;
    // The emoji inserted so far (menu, check, registry window): grown by each insertion, pruned by the send
    // to those still in the body (it warns about them), cleared by a new mail and by "置換(&T)" and
    // "絵文字消去(&D)".
    std::u16string usedEmoji;
    // The checked entry of `OutAdr`, the mail's sender: set by choosing an own address and by an
    // account change that carries the address along; saved as `Myad`.
    int senderIndex = 0;
    // The entry of `Combo2` to select, mirrored from each account pick so it can be saved as `Acnt`;
    // start-up selects it. A Becky! 2 set-up resets it to 0.
    int accountIndex = 0;
    // What choosing an account does to the own address (the checked entry of `OutAdrChg`: 0 nothing,
    // 1 follow, 2 ask): set by choosing an entry; saved as `AcOp`.
    int accountChangeMode = 0;
    // The Becky! address group shown last; saved as `addr`.
    int lastGroupIndex = 0;
    // A limit taken without asking the next time "文字制限" is checked, then reset to 0; put here by
    // the stored settings at start-up and by switching the i-mode setting on (250).
    int presetLimit = 0;

    // Answers about the chosen account and addresses, for every subsystem that asks.
    // The AccountNo of the selected account entry; nullopt when none is selected.
    std::optional<int> selectedAccountNo() const;
    // The name of the selected account entry, or the box's edit text when none is selected.
    std::u16string selectedAccountName() const;
    // The caption of own address entry `senderIndex`; empty when there is no such entry.
    std::u16string senderAddress() const;
    // The own address belonging to account entry `accountIndex`; empty when there is none.
    std::u16string accountOwnAddress() const;
};

} // namespace core
