#pragma once

#include <array>
#include <string>
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
    std::u16string tag = u"0";
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
};

struct ListEntry {
    std::u16string text;
    int data = 0; // AccountNo, model index or ScreenCode, by list
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
    int listIndex = -1;
    std::vector<int> tabStops;
    int horizontalExtent = 0; // pixels
};

struct MenuItem {
    std::u16string caption;
    std::u16string tag = u"0";
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
    bool visible = false;
    bool minimized = false;
};

struct ModelEntry {
    std::u16string name;
    int screenCode = 0; // columns * 100 + rows
};

struct MainState {
    MainState(); // design-time captions, tags and geometry

    WindowState window;

    // Button bar and filters.
    Control Frame1; // caption "制限"; height 255 collapsed, 2655 expanded
    std::array<CheckBox, 9> Check1;
    Control Frame2;
    Button Command2, Command7, Command3;
    std::array<Button, 2> Command4;
    Button Command1;
    CheckBox Check2;
    ComboBox Combo2; // accounts, data = AccountNo; tag = AccountIndex

    ListBox List1;

    // Status bar.
    Control Picture1;
    Control Label5; // warning banner, hidden until needed
    Control Label6, Label1, Label2;
    std::array<Control, 2> Label3;

    Button Command6;
    ComboBox Combo1; // destination; items = ToAddressList, data = model index
    TextBox Text2;   // title
    TextBox Text1;   // body; tag = Modified

    // Preview frame.
    Control Frame3;
    ComboBox Combo3; // models, data = ScreenCode
    CheckBox Check3;
    Button Command5;
    TextBox Text3;
    Control Label4;

    // Menus.
    MenuItem Mnufile, openfile, newfile, TotyuuSave, Mnuexit;
    std::array<MenuItem, 2> ReadingBecky;
    MenuItem mainmnu, mojisize, Cmero;
    std::array<MenuItem, 3> CopyDisp, SizeFontChg;
    std::array<MenuItem, 9> nuki;
    MenuItem Mnucode, mojio, EmojiChk, Aouttikan;
    std::array<MenuItem, 2> MnuTouroku;
    std::vector<MenuItem> PutChar; // PutChar[0] tag = UsedEmoji
    MenuItem imenu, IOutNO, IOutput, IOutEnd, OutBcc, OutAccuntChg;
    std::array<MenuItem, 3> OutAdrChg; // OutAdrChg[0] tag = AccountChangeMode
    std::vector<MenuItem> OutAdr;      // OutAdr[0] tag = SenderIndex
    MenuItem MnuWindow, YokoPre, MnuTATE;
    std::array<MenuItem, 3> ViewPre;
    std::array<MenuItem, 2> PreTate;
    MenuItem MnuHelp, kotori, ReadMe, ReSetSave, MnuOpenHelp;
};

} // namespace core
