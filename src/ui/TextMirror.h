#pragma once

#include "core/text/GapText.h"

#include <QPlainTextEdit>

#include <optional>
#include <string>
#include <string_view>

namespace ui {

// An edit in the core's terms: UTF-16 positions where a line break is CR LF (two units).
struct CoreEdit {
    int pos = 0;
    int removed = 0;
    std::u16string text;
    bool joinPrevious = false; // applied as part of the previous undo step
};

// Keeps a text box's document and the core's copy of its text (CR LF line breaks) in step.
// The document holds one separator per line break, so positions differ by the number of line
// breaks before them. The mirror keeps its own copy of the text the document shows, so every
// mapping and every edit stays local to the changed range: the copy keeps its spare room where
// the last edit was, so that a keystroke does not move the rest of a long text.
class TextMirror {
public:
    explicit TextMirror(QPlainTextEdit* edit) : m_edit(edit) {}

    std::size_t size() const { return m_text.size(); }
    bool shows(std::u16string_view text) const { return m_text.equals(text); }
    std::u16string_view text() { return m_text.whole(); } // valid until the next change
    // Whether the text holds a private-use character (an i-mode emoji).
    bool holdsPrivateUse() const { return m_privateUse > 0; }

    // The document changed by itself (the user typed): its edit in core terms, or nothing
    // when the text did not change (format-only updates).
    std::optional<CoreEdit> documentChanged(int docPos, int docRemoved, int docAdded);

    // Applies a core edit to the document as one undo step, or as part of the previous one
    // (joinPrevious); only the changed range is touched.
    void apply(int pos, int removed, std::u16string_view text, bool joinPrevious = false);
    // Brings the document to the given text with one minimal edit.
    void syncTo(std::u16string_view text);

    int toCore(int docPos) const;
    int toDocument(int corePos) const;

private:
    void replaceRange(int start, int oldEnd, std::u16string_view segment, bool joinPrevious = false);
    // Core units covered by `count` document characters from corePos.
    int coreSpan(int corePos, int count) const;
    void rescanBreaks();
    // m_text's [pos, pos + removed) becomes text.
    void replaceText(std::size_t pos, std::size_t removed, std::u16string_view text);

    QPlainTextEdit* m_edit;
    core::GapText m_text;
    bool m_crlfOnly = true;       // every line break is CR LF: mapping by block numbers
    std::size_t m_privateUse = 0; // private-use units in m_text
    mutable int m_lastBlock = 0;  // where the last search by block numbers ended
};

// Document text of a core text: every line break becomes one paragraph separator.
QString documentText(std::u16string_view text);
// Core text of a document range: paragraph and line separators become CR LF.
std::u16string coreText(QStringView text);

} // namespace ui
