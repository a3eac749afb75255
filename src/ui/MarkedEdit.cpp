#include "ui/MarkedEdit.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace ui {

void MarkedEdit::setMarks(const std::vector<std::pair<int, int>>& ranges, const QColor& back) {
    if (ranges == marks() && back == m_back)
        return;
    m_marks.clear();
    for (const auto& [start, end] : ranges) {
        QTextCursor c(document());
        c.setPosition(start);
        c.setPosition(end, QTextCursor::KeepAnchor);
        m_marks.push_back(c);
    }
    m_back = back;
    viewport()->update();
}

std::vector<std::pair<int, int>> MarkedEdit::marks() const {
    std::vector<std::pair<int, int>> ranges;
    for (const QTextCursor& c : m_marks)
        if (c.hasSelection())
            ranges.emplace_back(c.selectionStart(), c.selectionEnd());
    return ranges;
}

void MarkedEdit::paintEvent(QPaintEvent* event) {
    if (!m_marks.empty()) {
        QPainter painter(viewport());
        painter.setClipRect(event->rect());
        const QPointF offset = contentOffset();
        const int bottom = std::min(viewport()->height(), event->rect().bottom() + 1);
        for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
            const QRectF box = blockBoundingGeometry(block).translated(offset);
            if (box.top() > bottom)
                break;
            if (!box.intersects(event->rect()))
                continue; // only what is repainted
            const int from = block.position(), to = from + block.length();
            QTextLayout* layout = block.layout();
            for (const QTextCursor& c : m_marks) {
                const int start = std::max(c.selectionStart(), from), end = std::min(c.selectionEnd(), to);
                if (start >= end || !layout)
                    continue;
                for (int i = 0; i < layout->lineCount(); ++i) {
                    const QTextLine line = layout->lineAt(i);
                    const int lineStart = from + line.textStart(), lineEnd = lineStart + line.textLength();
                    const int a = std::max(start, lineStart), b = std::min(end, lineEnd);
                    if (a >= b)
                        continue;
                    // A whole line needs no measuring within it.
                    const bool whole = a == lineStart && b == lineEnd;
                    const qreal x1 = whole ? line.x() : line.cursorToX(a - from);
                    const qreal x2 = whole ? line.x() + line.naturalTextWidth() : line.cursorToX(b - from);
                    painter.fillRect(
                        QRectF(box.left() + std::min(x1, x2), box.top() + line.y(), std::abs(x2 - x1), line.height()),
                        m_back);
                }
            }
        }
    }
    QPlainTextEdit::paintEvent(event);
}

} // namespace ui
