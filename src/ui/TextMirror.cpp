#include "ui/TextMirror.h"

#include "ui/Convert.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace ui {

namespace {

bool isBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// True when i falls between the CR and the LF of one line break.
bool splitsPair(std::u16string_view s, std::size_t i) {
    return i > 0 && i < s.size() && s[i - 1] == u'\r' && s[i] == u'\n';
}

struct Trim {
    std::size_t prefix = 0, suffix = 0;
};

// Common prefix and suffix of a and b, never cutting a CR LF pair in either.
Trim trim(std::u16string_view a, std::u16string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    std::size_t p = 0;
    while (p < n && a[p] == b[p])
        ++p;
    while (p > 0 && (splitsPair(a, p) || splitsPair(b, p)))
        --p;
    std::size_t q = 0;
    while (q < n - p && a[a.size() - 1 - q] == b[b.size() - 1 - q])
        ++q;
    while (q > 0 && (splitsPair(a, a.size() - q) || splitsPair(b, b.size() - q)))
        --q;
    return {p, q};
}

bool hasLoneBreak(std::u16string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n')
            ++i;
        else if (isBreak(s[i]))
            return true;
    }
    return false;
}

} // namespace

QString documentText(std::u16string_view text) {
    QString out;
    out.reserve(qsizetype(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        out.append(isBreak(c) ? QChar(QChar::ParagraphSeparator) : QChar(c));
    }
    return out;
}

std::u16string coreText(QStringView text) {
    std::u16string out;
    out.reserve(std::size_t(text.size()));
    for (QChar c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n' || c == u'\r')
            out += u"\r\n";
        else
            out += char16_t(c.unicode());
    }
    return out;
}

int TextMirror::toCore(int docPos) const {
    if (docPos <= 0)
        return 0;
    if (m_crlfOnly) {
        QTextBlock block = m_edit->document()->findBlock(docPos);
        return std::min<int>(docPos + (block.isValid() ? block.blockNumber() : 0), int(m_text.size()));
    }
    std::size_t i = 0;
    for (int k = 0; k < docPos && i < m_text.size(); ++k)
        i += (m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n') ? 2 : 1;
    return int(i);
}

int TextMirror::toDocument(int corePos) const {
    corePos = std::clamp(corePos, 0, int(m_text.size()));
    QTextDocument* doc = m_edit->document();
    if (corePos == int(m_text.size()))
        return doc->characterCount() - 1; // the end, where an excess runs to, needs no search
    if (m_crlfOnly && corePos <= 4096) {
        // Near the start (where the excess of a limit begins), counting the line breaks before
        // the position costs less than finding its block; one cut in half ends its line.
        const auto breaks = static_cast<int>(m_text.count(u'\n', 0, std::size_t(corePos)));
        return corePos - breaks - (corePos > 0 && m_text[std::size_t(corePos) - 1] == u'\r' ? 1 : 0);
    }
    if (m_crlfOnly) {
        // Block b starts at core position (document position + b): find the last block starting
        // at or before corePos. Edits come one after another at much the same place: the block
        // found last time is tried first.
        if (QTextBlock block = doc->findBlockByNumber(m_lastBlock);
            block.isValid() && block.position() + m_lastBlock <= corePos) {
            const QTextBlock next = block.next();
            if (!next.isValid() || next.position() + m_lastBlock + 1 > corePos)
                return std::min(corePos - m_lastBlock, block.position() + block.length() - 1);
        }
        int lo = 0, hi = doc->blockCount() - 1;
        while (lo < hi) {
            int mid = (lo + hi + 1) / 2;
            if (doc->findBlockByNumber(mid).position() + mid <= corePos)
                lo = mid;
            else
                hi = mid - 1;
        }
        QTextBlock block = doc->findBlockByNumber(lo);
        m_lastBlock = lo;
        return std::min(corePos - lo, block.position() + block.length() - 1);
    }
    int k = 0;
    for (std::size_t i = 0; i < std::size_t(corePos) && i < m_text.size(); ++k) {
        if (m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n') {
            if (i + 2 > std::size_t(corePos))
                break;
            i += 2;
        } else {
            ++i;
        }
    }
    return k;
}

int TextMirror::coreSpan(int corePos, int count) const {
    std::size_t i = std::size_t(corePos);
    for (int k = 0; k < count && i < m_text.size(); ++k)
        i += (m_text[i] == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n') ? 2 : 1;
    return int(i) - corePos;
}

void TextMirror::rescanBreaks() {
    m_crlfOnly = !hasLoneBreak(m_text.whole());
}

std::optional<CoreEdit> TextMirror::documentChanged(int docPos, int docRemoved, int docAdded) {
    QTextDocument* doc = m_edit->document();
    int docLength = doc->characterCount() - 1; // without the closing separator
    docPos = std::clamp(docPos, 0, docLength);
    docAdded = std::clamp(docAdded, 0, docLength - docPos);
    docRemoved = std::max(docRemoved, 0);

    // The text before docPos is unchanged, so the old copy maps it.
    int pos = toCore(docPos);
    int removed = coreSpan(pos, docRemoved);
    QTextCursor cursor(doc);
    cursor.setPosition(docPos);
    cursor.setPosition(docPos + docAdded, QTextCursor::KeepAnchor);
    std::u16string added = coreText(cursor.selectedText());

    Trim t = trim(m_text.view(std::size_t(pos), std::size_t(removed)), added);
    replaceText(std::size_t(pos), std::size_t(removed), added);
    if (!m_crlfOnly)
        rescanBreaks();
    int start = pos + int(t.prefix);
    int cut = removed - int(t.prefix + t.suffix);
    std::size_t length = added.size() - t.prefix - t.suffix;
    if (cut == 0 && length == 0)
        return std::nullopt;
    return CoreEdit{start, cut, added.substr(t.prefix, length)};
}

void TextMirror::apply(int pos, int removed, std::u16string_view text, bool joinPrevious) {
    pos = std::clamp(pos, 0, int(m_text.size()));
    removed = std::clamp(removed, 0, int(m_text.size()) - pos);
    // Trim what the edit leaves as it was, looking only at the edited range.
    Trim t = trim(m_text.view(std::size_t(pos), std::size_t(removed)), text);
    std::size_t start = std::size_t(pos) + t.prefix;
    std::size_t oldEnd = std::size_t(pos + removed) - t.suffix;
    std::u16string segment(text.substr(t.prefix, text.size() - t.prefix - t.suffix));
    // Never cut a CR LF pair at the edges, in the old text or in the new one.
    auto newFirst = [&] {
        return segment.empty() ? (oldEnd < m_text.size() ? m_text[oldEnd] : u'\0') : segment.front();
    };
    auto newLast = [&] { return segment.empty() ? (start > 0 ? m_text[start - 1] : u'\0') : segment.back(); };
    if (start > 0 && m_text[start - 1] == u'\r' &&
        ((start < m_text.size() && m_text[start] == u'\n') || newFirst() == u'\n')) {
        --start;
        segment.insert(segment.begin(), u'\r');
    }
    if (oldEnd < m_text.size() && m_text[oldEnd] == u'\n' &&
        ((oldEnd > 0 && m_text[oldEnd - 1] == u'\r') || newLast() == u'\r')) {
        ++oldEnd;
        segment.push_back(u'\n');
    }
    if (start == oldEnd && segment.empty())
        return;
    replaceRange(int(start), int(oldEnd), segment, joinPrevious);
}

void TextMirror::syncTo(std::u16string_view text) {
    Trim t = trim(m_text.whole(), text);
    std::size_t oldEnd = m_text.size() - t.suffix;
    std::size_t newEnd = text.size() - t.suffix;
    if (t.prefix == oldEnd && t.prefix == newEnd)
        return;
    replaceRange(int(t.prefix), int(oldEnd), text.substr(t.prefix, newEnd - t.prefix));
}

void TextMirror::replaceRange(int start, int oldEnd, std::u16string_view segment, bool joinPrevious) {
    // Map with the old copy, before it changes.
    int docStart = toDocument(start);
    int docEnd = toDocument(oldEnd);
    QTextCursor cursor(m_edit->document());
    if (joinPrevious)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    cursor.setPosition(docStart);
    cursor.setPosition(docEnd, QTextCursor::KeepAnchor);
    if (segment.empty())
        cursor.removeSelectedText();
    else
        cursor.insertText(documentText(segment));
    cursor.endEditBlock();
    replaceText(std::size_t(start), std::size_t(oldEnd - start), segment);
    if (!m_crlfOnly || hasLoneBreak(segment))
        rescanBreaks();
}

void TextMirror::replaceText(std::size_t pos, std::size_t removed, std::u16string_view text) {
    const auto privateUse = [](std::u16string_view units) {
        return static_cast<std::size_t>(
            std::count_if(units.begin(), units.end(), [](char16_t c) { return c >= 0xE000 && c <= 0xF8FF; }));
    };
    m_privateUse -= privateUse(m_text.view(pos, removed));
    m_privateUse += privateUse(text);
    m_text.replace(pos, removed, text);
}

} // namespace ui
