// The filtered count: how much of the body counts when the ticked kinds of characters are left out.
#include "core/app/Editor.h"

#include "core/app/Strings.h"
#include "core/text/NumberFormat.h"
#include "core/text/WeightedCount.h"

#include <algorithm>

namespace core {

namespace {

bool isBracket(char16_t c) {
    switch (c) {
    case u'「':
    case u'」':
    case u'[':
    case u']':
    case u'（':
    case u'(':
    case u'）':
    case u')':
    case u'｛':
    case u'｝':
    case u'{':
    case u'}':
        return true;
    default:
        return false;
    }
}

} // namespace

void Editor::countRun() {
    if (!s.Command1.enabled)
        return; // a run is going on (an Enter typed while it yields must not start another)
    s.Command1.enabled = false;
    // Edits made while the run yields to the window do not disturb it: it measures this copy.
    const std::u16string body = s.Text1.text;
    const std::size_t n = body.size();
    const auto& box = s.Check1;
    const bool silent = box[8].checked;
    double count = 0;
    bool inTag = false;
    int shown = -1;
    for (std::size_t i = 0; i < n; ++i) {
        view().processEvents();
        char16_t c = body[i];
        if (inTag) {
            if (c == u'>')
                inTag = false;
        } else if (box[1].checked && (c == u'\r' || c == u'\n')) {
        } else if (box[0].checked && (c == u'\t' || c == u' ' || c == u'\u3000')) {
        } else if (box[2].checked && (c == u'.' || c == u',' || c == u'、' || c == u'。')) {
        } else if (box[3].checked && isBracket(c)) {
        } else if (box[4].checked && c == u'<') {
            inTag = true;
        } else if (box[5].checked && std::u16string_view(body).substr(i, 3) == u"ことり") {
            i += 2;
        } else {
            count += box[7].checked ? unitWeight(c) : 1.0;
        }
        CountProgress = percentHalfEven(static_cast<long long>(std::min(i + 1, n)), static_cast<long long>(n));
        if (!silent && CountProgress != shown) {
            showProgress();
            view().refresh();
            shown = CountProgress;
        }
    }
    CountProgress = -1;
    if (!silent) {
        showProgress();
        prompts().message(AppTitle,
                          u"大きさは、" + decimal(static_cast<long long>(n)) + u"です。\r\n制限付き文字数は、" +
                              plainDecimal(count) + u"文字です。",
                          Icon::Information);
    }
    CountProgress = 0;
    s.Label1.caption = plainDecimal(count) + u"文字 (" + decimal(static_cast<long long>(n)) + u")";
    layoutStatusBar();
    s.Command1.enabled = true;
}

void Editor::showProgress() {
    if (CountProgress == -1) { // done: the run sets it back to 0 itself
        s.Command1.caption = u"実行";
        s.window.caption = u"ことり便";
        return;
    }
    std::u16string text = decimal(CountProgress) + u"%完了";
    if (s.window.minimized)
        s.window.caption = text;
    else
        s.Command1.caption = text;
}

} // namespace core
