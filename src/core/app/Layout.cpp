// The main window's arrangement: body, lists and preview follow the window's size.
#include "core/app/Editor.h"

namespace core {

namespace {

constexpr int PreviewGap = 60;
constexpr int StatusBarBorder = 60; // the status bar's sunken edge, both sides
constexpr int FilterFrameCollapsed = 255;
constexpr int FilterFrameExpanded = 2655;

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
    setIfValid(s.Label1.rect.left, s.Picture1.rect.width - s.Label1.rect.width - 100);
    setIfValid(s.Label6.rect.left, s.Label1.rect.left - s.Label6.rect.width - 200);
    setIfValid(s.Label5.rect.width, s.Picture1.rect.width - StatusBarBorder);

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

void Editor::frameClicked() {
    int& height = s.Frame1.rect.height;
    height = height == FilterFrameExpanded ? FilterFrameCollapsed : FilterFrameExpanded;
}

void Editor::fontSizeChosen(int i) {
    if (i >= 0 && i < 3)
        s.Text1.fontSize = 9 + 3 * i;
}

} // namespace core
