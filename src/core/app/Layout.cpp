// The main window's arrangement: body, lists and preview follow the window's size.
#include "core/app/Editor.h"

#include "platform/Cp932.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

constexpr int PreviewGap = 60;
constexpr int StatusBarBorder = 60; // the status bar's sunken edge, both sides
constexpr int FilterFrameCollapsed = 255;
constexpr int FilterFrameExpanded = 2655;
constexpr int FilterFrameLeft = 4200;
// Expanded, the frame is as wide as its two columns of check boxes.
constexpr int FilterFrameCollapsedWidth = 2080;
constexpr int FilterFrameExpandedWidth = 3990;
constexpr int StatusGap = 150;
constexpr int SignatureLabelLeft = 2040;
constexpr double SmallestStatusFont = 7.5;

// The window's texts are in a fixed-pitch face at 9 points: a character takes 90 twips for
// each byte of its Shift_JIS form.
int textWidth(std::u16string_view text) {
    return static_cast<int>(platform::sjisLength(text)) * 90;
}

// A step whose value the window would refuse (below zero) is left out; the others still run.
void setIfValid(int& field, int value) {
    if (value >= 0)
        field = value;
}

} // namespace

void Editor::relayout() {
    const int w = s.window.innerWidth;
    const int h = s.window.innerHeight;
    const int w3 = s.Frame3.visible ? s.Frame3.rect.width + PreviewGap : 0;

    setIfValid(s.Text1.rect.height, h - 1980);
    setIfValid(s.Picture1.rect.top, h - 385);
    setIfValid(s.Frame2.rect.width, w);
    setIfValid(s.Text2.rect.width, w - 1080 - w3);
    setIfValid(s.Combo1.rect.width, s.Text2.rect.width);
    setIfValid(s.Text1.rect.width, w - w3);
    setIfValid(s.Picture1.rect.width, w);
    layoutStatusBar();
    setIfValid(s.Label5.rect.width, s.Picture1.rect.width - StatusBarBorder);
    placeFilterFrame();

    if (s.List1.visible) {
        // The list takes about a third of the body's height, just below it.
        setIfValid(s.List1.rect.height, s.Text1.rect.height / 3 - 30);
        setIfValid(s.Text1.rect.height, s.Text1.rect.height - s.List1.rect.height - 40);
        setIfValid(s.List1.rect.top, s.Text1.rect.top + s.Text1.rect.height + 60);
        setIfValid(s.List1.rect.width, s.Text1.rect.width);
    }
    if (w3 != 0) {
        setIfValid(s.Frame3.rect.left, s.Text1.rect.width + PreviewGap);
        setIfValid(s.Frame3.rect.height, h - s.Picture1.rect.height - 670);
        setIfValid(s.Label4.rect.height, s.Frame3.rect.height - s.Label4.rect.top - 100);
    }
}

void Editor::windowResized(int outerWidth, int outerHeight, int innerWidth, int innerHeight) {
    WindowState& win = s.window;
    win.outerWidth = outerWidth;
    win.outerHeight = outerHeight;
    win.innerWidth = innerWidth;
    win.innerHeight = innerHeight;
    win.frameWidth = outerWidth - innerWidth;
    win.frameHeight = outerHeight - innerHeight;
    relayout();
}

// Each label as wide as its text, with a gap to the next: the counter at the right end, the
// list counts before it, the limits and the signature from the left. Only the limits give way
// (the window shows them cut with "…") when the bar is too narrow for all four even at the
// smallest size.
void Editor::layoutStatusBar() {
    Control &counter = s.Label1, &lists = s.Label6, &limits = s.Label3[0], &signature = s.Label3[1];
    const int counterText = std::max(textWidth(counter.caption), textWidth(u"\\≒0.0円 000.0文字 (000)"));
    // A bar too narrow for the four whole texts shows them smaller, down to a size still easily
    // read, before the limits are cut.
    const int texts = textWidth(limits.caption) + textWidth(signature.caption) + textWidth(lists.caption) + counterText;
    const int room = s.Picture1.rect.width - (limits.rect.left + 2 * StatusGap + 200 + 100);
    double size = 9;
    if (texts > room && texts > 0)
        size = std::max(SmallestStatusFont, std::floor(9.0 * std::max(room, 0) / texts * 4) / 4);
    s.statusFontSize = size;
    const auto width = [size](int at9) { return static_cast<int>(std::ceil(at9 * size / 9)); };
    counter.rect.width = width(counterText);
    setIfValid(counter.rect.left, s.Picture1.rect.width - counter.rect.width - 100);
    lists.rect.width = width(textWidth(lists.caption));
    setIfValid(lists.rect.left, counter.rect.left - lists.rect.width - 200);
    signature.rect.width = width(textWidth(signature.caption));
    const int afterLimits = limits.rect.left + width(textWidth(limits.caption)) + StatusGap;
    const int beforeLists = lists.rect.left - StatusGap - signature.rect.width;
    signature.rect.left = std::max(0, std::min(std::max(afterLimits, SignatureLabelLeft), beforeLists));
    limits.rect.width = std::max(0, signature.rect.left - StatusGap - limits.rect.left);
}

// The filter frame keeps inside the window, the wider expanded frame too.
void Editor::placeFilterFrame() {
    s.Frame1.rect.left = std::max(0, std::min(FilterFrameLeft, s.window.innerWidth - s.Frame1.rect.width));
}

void Editor::frameClicked() {
    Rect& frame = s.Frame1.rect;
    const bool expand = frame.height != FilterFrameExpanded;
    frame.height = expand ? FilterFrameExpanded : FilterFrameCollapsed;
    frame.width = expand ? FilterFrameExpandedWidth : FilterFrameCollapsedWidth;
    placeFilterFrame();
}

void Editor::fontSizeChosen(int i) {
    if (i >= 0 && i < 3)
        s.Text1.fontSize = 9 + 3 * i;
    markFontSize();
}

void Editor::markFontSize() {
    for (std::size_t i = 0; i < s.SizeFontChg.size(); ++i)
        s.SizeFontChg[i].checked = s.Text1.fontSize == static_cast<double>(9 + 3 * i);
}

} // namespace core
