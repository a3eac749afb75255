#include "ui/CountLabel.h"

#include <QFontMetricsF>
#include <QRegion>
#include <QStyle>

namespace ui {

void CountLabel::measureIn(const QFont& font) {
    if (font != m_measured) {
        m_measured = font;
        m_advances.clear();
    }
}

qreal CountLabel::roughWidth(const QString& text) {
    measureIn(font());
    qreal width = 0;
    for (QChar c : text)
        width += advance(c);
    return width;
}

qreal CountLabel::advance(QChar c) {
    auto it = m_advances.constFind(c.unicode());
    if (it == m_advances.constEnd())
        it = m_advances.insert(c.unicode(), QFontMetricsF(m_measured).horizontalAdvance(c));
    return *it;
}

void CountLabel::setTextInPlace(const QString& newText) {
    const QString old = text();
    if (newText == old)
        return;
    // Where the characters that differ stand, as runs from the line's start. The label's font
    // goes unshaped: a line's width is the sum of its characters' advances.
    QRegion changed;
    qreal width = 0;
    if (newText.size() == old.size() && isVisible() && updatesEnabled() && !wordWrap() && indent() <= 0 &&
        textFormat() == Qt::PlainText) {
        measureIn(font());
        const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        for (qsizetype i = 0; i < newText.size();) {
            const QChar c = newText[i];
            if (c.isSurrogate() || c == QLatin1Char('\n') || old[i].isSurrogate()) {
                changed = {};
                break;
            }
            if (c == old[i]) {
                width += advance(c);
                ++i;
                continue;
            }
            const qreal left = width;
            for (; i < newText.size() && newText[i] != old[i]; ++i) {
                const qreal a = advance(newText[i]);
                if (newText[i].isSurrogate() || old[i].isSurrogate() || a != advance(old[i]))
                    break;
                width += a;
            }
            if (i < newText.size() && newText[i] != old[i]) { // a changed character of another width
                changed = {};
                break;
            }
            // A glyph's ink may reach a little past its advance.
            changed += QRect(static_cast<int>(left) - 2, room.top(), static_cast<int>(width - left) + 5, room.height());
        }
        const QRect line = QStyle::alignedRect(layoutDirection(), alignment(),
                                               QSize(static_cast<int>(width + 0.5), room.height()), room);
        changed.translate(line.left(), 0);
    }
    if (changed.isEmpty()) {
        setText(newText);
        return;
    }
    // The label would paint itself whole; the changed characters are enough.
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(newText);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    update(changed);
}

} // namespace ui
