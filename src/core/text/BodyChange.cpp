// The body's edits and the handling that follows every one of them.
#include "core/app/Editor.h"

#include "core/text/TextEdit.h"
#include "core/text/WeightedCount.h"
#include "platform/Cp932.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace core {

namespace {

int clampTo(int value, std::size_t size) {
    return std::clamp(value, 0, static_cast<int>(size));
}

// Where two texts differ, as the edit that turns the first into the second; a CR LF or a
// surrogate pair is never split.
TextEdit differingSpan(std::u16string_view from, std::u16string_view to) {
    std::size_t head = 0;
    while (head < from.size() && head < to.size() && from[head] == to[head])
        ++head;
    while (head > 0 && (to[head - 1] == u'\r' || (to[head - 1] >= 0xD800 && to[head - 1] < 0xDC00)))
        --head;
    std::size_t tail = 0;
    while (tail < from.size() - head && tail < to.size() - head &&
           from[from.size() - 1 - tail] == to[to.size() - 1 - tail])
        ++tail;
    while (tail > 0 &&
           (to[to.size() - tail] == u'\n' || (to[to.size() - tail] >= 0xDC00 && to[to.size() - tail] < 0xE000)))
        --tail;
    return {static_cast<int>(head), static_cast<int>(from.size() - head - tail),
            static_cast<int>(to.size() - head - tail)};
}

} // namespace

void Editor::bodyEdited(int pos, int removed, std::u16string_view added) {
    editBody(pos, removed, added, pos + static_cast<int>(added.size()), true);
}

void Editor::replaceBody(int pos, int removed, std::u16string_view text) {
    editBody(pos, removed, text, pos + static_cast<int>(text.size()), false);
}

void Editor::setBody(std::u16string_view text) {
    editBody(0, static_cast<int>(s.Text1.text.size()), text, 0, false);
}

void Editor::editBody(int pos, int removed, std::u16string_view text, int caret, bool fromUser) {
    std::u16string& body = s.Text1.text;
    std::u16string own;
    std::less<const char16_t*> before;
    if (!before(text.data(), body.data()) && before(text.data(), body.data() + body.size())) {
        own = text; // a piece of the body itself: keep it past the change
        text = own;
    }
    std::size_t at = std::min(static_cast<std::size_t>(std::max(pos, 0)), body.size());
    std::size_t cut = std::min(static_cast<std::size_t>(std::max(removed, 0)), body.size() - at);
    body.replace(at, cut, text);
    bodyEditDone(at, cut, text.size(), caret, fromUser);
}

void Editor::bodyEditDone(std::size_t at, std::size_t cut, std::size_t added, int caret, bool fromUser) {
    std::u16string& body = s.Text1.text;
    // What the phone's code page lacks becomes what it carries, within this same edit.
    // An edit that brings none into a body that holds none leaves nothing to find.
    std::optional<BodyAmendment> fix = m_keepsForms && !m_formless ? std::nullopt : amendForPhone(at, at + added);
    if (fix) {
        m_deltaKnown = false; // a command's own byte count no longer fits its edit
        std::size_t end = std::max(at + added, fix->pos + fix->rawLength);
        cut += (at - fix->pos) + (end - (at + added));
        added = end - fix->pos + fix->length - fix->rawLength;
        at = fix->pos;
        std::size_t fixEnd = fix->pos + fix->rawLength;
        if (caret >= static_cast<int>(fixEnd))
            caret += static_cast<int>(fix->length) - static_cast<int>(fix->rawLength);
        else if (caret > static_cast<int>(fix->pos))
            caret = static_cast<int>(fix->pos + fix->length);
    }
    int pos = static_cast<int>(at);
    int removed = static_cast<int>(cut);
    std::u16string_view edited = std::u16string_view(body).substr(at, added);
    s.Text1.selStart = clampTo(caret, body.size());
    s.Text1.selLength = 0;
    m_editPos = pos;
    m_editRemoved = removed;
    m_editAdded = static_cast<int>(added);
    m_editKnown = true;
    ++m_editSerial;
    if (!fromUser)
        view().bodyReplaced(pos, removed, edited);
    else if (fix) // the box shows what the user entered: it becomes part of that edit
        view().bodyAmended(static_cast<int>(fix->pos), static_cast<int>(fix->rawLength),
                           std::u16string_view(body).substr(fix->pos, fix->length));
    onBodyChanged();
}

void Editor::replaceBodyWith(std::u16string&& newBody) {
    TextEdit e = smallestEdit(s.Text1.text, newBody);
    if (e.removed == 0 && e.added == 0) {
        m_spareBody.swap(newBody); // its storage serves the next command
        return;
    }
    // The new body takes the old one's place whole: a command's edit often spans nearly all of
    // it, and copying that span in would cost as much again.
    s.Text1.text.swap(newBody);
    m_spareBody.swap(newBody); // the old body's storage, for the next command's result
    bodyEditDone(static_cast<std::size_t>(e.pos), static_cast<std::size_t>(e.removed),
                 static_cast<std::size_t>(e.added), e.pos + e.added, false);
}

void Editor::setPreviewText(std::u16string_view text, bool wraps) {
    int old = static_cast<int>(s.Text3.text.size());
    s.Text3.text = text;
    s.Text3.wraps = wraps;
    m_rowsShown = false;
    view().previewReplaced(0, old, text);
}

void Editor::bodySelectionChanged(int start, int length) {
    s.Text1.selStart = start;
    s.Text1.selLength = length;
}

double Editor::bodyCount() {
    const std::u16string& body = s.Text1.text;
    TextEdit e{m_editPos, m_editRemoved, m_editAdded};
    if (m_countValid && m_editKnown && sameAround(m_countedBody, body, e, 64)) {
        auto at = static_cast<std::size_t>(e.pos);
        std::u16string_view added = std::u16string_view(body).substr(at, static_cast<std::size_t>(e.added));
        if (m_deltaKnown) {
            m_countedBytes = static_cast<std::size_t>(static_cast<long long>(m_countedBytes) + m_byteDelta);
        } else if (static_cast<std::size_t>(e.removed + e.added) < body.size()) {
            std::u16string_view removed = m_countedBody.view(at, static_cast<std::size_t>(e.removed));
            m_countedBytes = m_countedBytes - platform::sjisLength(removed) + platform::sjisLength(added);
        } else {
            m_countedBytes = platform::sjisLength(body);
        }
        m_countedBody.replace(at, static_cast<std::size_t>(e.removed), added);
    } else if (!m_countValid || !m_countedBody.equals(body)) {
        m_countedBytes = platform::sjisLength(body);
        m_countedBody.replace(0, m_countedBody.size(), body);
    }
    m_countValid = true;
    m_deltaKnown = false;
    return static_cast<double>(m_countedBytes) / 2;
}

void Editor::onBodyChanged() {
    double count = bodyCount();
    std::size_t length = s.Text1.text.size();
    unsigned serial = m_editSerial;
    limitTest(count, length);
    if (serial != m_editSerial) {
        // The excess was cut, and that edit has been handled whole already, its preview (and
        // any question that asked) included; only the count shows this edit's own state.
        s.Label1.caption = countDisplay(bodyCount(), s.Text1.text.size(), s.Check2.checked);
        layoutStatusBar();
        markExcess();
        return;
    }
    s.modified = true;
    updatePreview(); // marks the excess in the body and the preview as well
    m_editKnown = false;
    s.Label1.caption = countDisplay(count, length, s.Check2.checked);
    layoutStatusBar();
}

void Editor::showPreviewAgain() {
    if (s.Check3.checked)
        updatePreview();
}

void Editor::updatePreview() {
    const std::u16string& body = s.Text1.text;
    if (!s.Check3.checked || s.sendBusy) {
        // The rows the chosen phone shows, as the send image lays them out; only the lines an
        // edit touched are laid out again.
        const int width = 2 * screenColumns();
        const bool current = m_rowsShown && m_rows.width() == width;
        const auto removed = static_cast<std::size_t>(m_editRemoved), added = static_cast<std::size_t>(m_editAdded);
        if (current && m_rowsSerial == m_editSerial && m_rowsBodySize == body.size()) {
            // shown already
        } else if (current && m_editKnown && m_rowsSerial + 1 == m_editSerial &&
                   m_rowsBodySize + added == body.size() + removed) {
            PreviewRows::Change c = m_rows.update(body, static_cast<std::size_t>(m_editPos), removed, added);
            const TextEdit e = differingSpan(std::u16string_view(s.Text3.text).substr(c.pos, c.removed), c.text);
            const std::size_t at = c.pos + static_cast<std::size_t>(e.pos);
            const auto newRows = static_cast<std::size_t>(e.added);
            const std::size_t kept = s.Text3.text.size() - c.pos - c.removed; // the rows after the change
            if (c.pos == 0 && kept < c.text.size()) {
                // Rows laid out from the start of the body are taken, not copied, with the few
                // after them added on.
                c.text.append(s.Text3.text, c.removed, kept);
                s.Text3.text.swap(c.text);
            } else {
                s.Text3.text.replace(at, static_cast<std::size_t>(e.removed), c.text, static_cast<std::size_t>(e.pos),
                                     newRows);
            }
            view().previewReplaced(static_cast<int>(at), e.removed,
                                   std::u16string_view(s.Text3.text).substr(at, newRows));
            m_rows.recycle(std::move(c.text));
        } else {
            setPreviewText(m_rows.build(body, width), false);
            m_rowsShown = true;
        }
        m_rowsBodySize = body.size();
        m_rowsSerial = m_editSerial;
        s.Text3.selStart =
            clampTo(static_cast<int>(m_rows.previewPosition(static_cast<std::size_t>(std::max(s.Text1.selStart, 0)))),
                    s.Text3.text.size());
        s.Text3.selLength = 0;
        s.Text3.wraps = width < 2; // without a model the box wraps the body itself
    } else if (m_questionsHeld) {
        m_previewPending = true; // its budget question comes over the edit as it shows
    } else {
        convertToVertical(0, true);
        s.Text3.selStart = static_cast<int>(s.Text3.text.size());
        s.Text3.selLength = 0;
    }
    markExcess();
}

} // namespace core
