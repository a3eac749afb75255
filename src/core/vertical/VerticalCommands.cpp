// The editor's vertical layout commands: conversion of the body and the forced layouts.
#include "core/app/Editor.h"

#include "core/vertical/HorizontalLayout.h"
#include "core/vertical/VerticalConversion.h"

namespace core {

void Editor::convertToVertical(int mode, bool quiet) {
    const VerticalMode how = mode == 2   ? VerticalMode::TextView
                             : mode == 1 ? VerticalMode::Send
                                         : VerticalMode::Preview;
    const std::u16string body = s.Text1.text;
    VerticalResult result = toVertical(body, {screenColumns(), screenRows()}, how, prompts());
    switch (result.outcome) {
    case VerticalResult::Declined:
        return;
    case VerticalResult::CannotLayOut:
        if (!quiet)
            prompts().message(AppTitle, CannotLayOutText, Icon::Exclamation);
        // The body stays as it is; the preview shows it unlaid rather than a stale layout.
        if (how == VerticalMode::Preview)
            result.text = body;
        else
            return;
        break;
    case VerticalResult::Converted:
        break;
    }
    if (how == VerticalMode::Preview) {
        setPreviewText(result.text, result.outcome != VerticalResult::Converted);
        s.Text3.selStart = static_cast<int>(s.Text3.text.size());
        s.Text3.selLength = 0;
        markExcess();
        view().refresh();
    } else {
        setBody(result.text);
    }
}

void Editor::preTate(int i) {
    convertToVertical(i == 0 ? 2 : 1);
}

void Editor::yokoPre() {
    auto horizontal = toHorizontal(s.Text1.text, {screenColumns(), screenRows()});
    if (!horizontal) {
        prompts().message(AppTitle, CannotReadBackText, Icon::Exclamation);
        return;
    }
    setBody(*horizontal);
}

} // namespace core
