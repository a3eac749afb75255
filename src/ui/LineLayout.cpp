#include "ui/LineLayout.h"

#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <utility>

namespace ui {

LineLayout::LineLayout(QTextDocument* document, std::function<bool(const QTextBlock&)> shown)
    : QPlainTextDocumentLayout(document), m_shown(std::move(shown)) {}

QRectF LineLayout::blockBoundingRect(const QTextBlock& block) const {
    // Asked before a line is laid out, whether for an edit or for painting.
    if (block.isValid())
        block.layout()->setCacheEnabled(true);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void LineLayout::documentChanged(int from, int charsRemoved, int charsAdded) {
    QTextDocument* doc = document();
    // Only where the line stays one line whatever its text: no wrapping, no line separator in
    // it, and no line added or taken away, so that nothing below it moves.
    if (m_shown && doc->blockCount() == m_blocks && doc->defaultTextOption().wrapMode() == QTextOption::NoWrap) {
        QTextBlock block = doc->findBlock(from);
        if (block.isValid() && block.isVisible() && block.lineCount() == 1 &&
            block == doc->findBlock(std::max(0, from + charsRemoved + charsAdded - 1)) && !m_shown(block) &&
            !block.text().contains(QChar::LineSeparator)) {
            block.clearLayout();
            return;
        }
    }
    QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
    m_blocks = doc->blockCount();
}

} // namespace ui
