#include "ui/MarkedEdit.h"

#include "ui/LineLayout.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <functional>
#include <utility>

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

void MarkedEdit::useLineLayout(EditedLines edited) {
    auto* doc = new QTextDocument(this);
    std::function<bool(const QTextBlock&)> shown;
    if (edited == EditedLines::WhenShown)
        shown = [this](const QTextBlock& block) { return mayShow(block); };
    doc->setDocumentLayout(new LineLayout(doc, std::move(shown)));
    setDocument(doc);
}

bool MarkedEdit::mayShow(const QTextBlock& block) const {
    const int first = firstVisibleBlock().blockNumber();
    const int number = block.blockNumber();
    if (number < first)
        return false;
    // One-line blocks no lower than half the font's height: rather more lines than show count.
    const int least = std::max(1, fontMetrics().height() / 2);
    return number - first <= viewport()->height() / least + 1;
}

void MarkedEdit::paintEvent(QPaintEvent* event) {
    if (!m_marks.empty()) {
        QPainter painter(viewport());
        const QRect area = event->rect();
        painter.setClipRect(area);
        const QPointF offset = contentOffset();
        const qreal bottom = std::min<qreal>(viewport()->height(), area.bottom() + 1);
        // Blocks lie one under the other from the first visible one, each as high as its lines:
        // adding up heights costs far less than asking the box for each block's geometry.
        qreal top = offset.y();
        for (QTextBlock block = firstVisibleBlock(); block.isValid() && top <= bottom; block = block.next()) {
            QTextLayout* layout = block.layout();
            if (!block.isVisible() || !layout)
                continue;
            const qreal height = layout->lineCount() > 0 ? layout->boundingRect().height()
                                                         : blockBoundingGeometry(block).height(); // lays it out
            const qreal blockTop = top;
            top += height;
            if (top < area.top())
                continue; // only what is repainted
            const int from = block.position(), to = from + block.length();
            for (const QTextCursor& c : m_marks) {
                const int start = std::max(c.selectionStart(), from), end = std::min(c.selectionEnd(), to);
                if (start >= end)
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
                        QRectF(offset.x() + std::min(x1, x2), blockTop + line.y(), std::abs(x2 - x1), line.height()),
                        m_back);
                }
            }
        }
    }
    QPlainTextEdit::paintEvent(event);
}

} // namespace ui
