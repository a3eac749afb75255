#include "ui/CountLabel.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>
#include <utility>

namespace ui {

void CountLabel::measureIn(const QFont& font) {
    if (font != m_measured) {
        m_measured = font;
        m_glyphs.clear();
    }
}

qreal CountLabel::roughWidth(const QString& text) {
    measureIn(font());
    qreal width = 0;
    for (QChar c : text)
        width += advance(c);
    return width;
}

CountLabel::Glyph CountLabel::glyph(QChar c) {
    auto it = m_glyphs.constFind(c.unicode());
    if (it == m_glyphs.constEnd()) {
        const QFontMetricsF metrics(m_measured);
        it = m_glyphs.insert(c.unicode(), {metrics.horizontalAdvance(c), metrics.inFont(c)});
    }
    return *it;
}

void CountLabel::setTextInPlace(const QString& newText) {
    const QString old = text();
    if (newText == old)
        return;
    // Where the characters that differ stand, as runs from the line's start. The label's font
    // goes unshaped: a line's width is the sum of its characters' advances. Each run is painted
    // with a character of each neighbour, whose ink the run's margin covers.
    QRegion changed;
    std::vector<Piece> pieces;
    const bool leftToRight = QStyle::visualAlignment(layoutDirection(), alignment()) & Qt::AlignLeft;
    if (newText.size() == old.size() && isVisible() && updatesEnabled() && !wordWrap() && indent() <= 0 &&
        frameWidth() == 0 && textFormat() == Qt::PlainText && leftToRight) {
        measureIn(font());
        const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
        qreal x = 0, before = 0; // before: where the character before i starts
        for (qsizetype i = 0; i < newText.size();) {
            const QChar c = newText[i];
            if (c.isSurrogate() || c == QLatin1Char('\n') || old[i].isSurrogate() || x != static_cast<int>(x) ||
                !glyph(c).held) {
                changed = {};
                break;
            }
            if (c == old[i]) {
                before = x;
                x += advance(c);
                ++i;
                continue;
            }
            const qsizetype from = i;
            const qreal left = x, start = i > 0 ? before : x;
            for (; i < newText.size() && newText[i] != old[i]; ++i) {
                const qreal a = advance(newText[i]);
                if (newText[i].isSurrogate() || old[i].isSurrogate() || a != advance(old[i]) || !glyph(newText[i]).held)
                    break;
                before = x;
                x += a;
            }
            if (i < newText.size() && newText[i] != old[i]) { // a changed character of another width
                changed = {};
                break;
            }
            // A glyph's ink may reach a little past its advance.
            changed += QRect(room.left() + static_cast<int>(left) - 2, room.top(), static_cast<int>(x - left) + 5,
                             room.height());
            pieces.push_back({std::max<qsizetype>(from - 1, 0), std::min(i + 1, newText.size()),
                              room.left() + static_cast<int>(start)});
        }
    }
    if (changed.isEmpty()) {
        m_pieces.clear(); // painted whole
        m_piecesArea = {};
        setText(newText);
        return;
    }
    // The label would paint itself whole; the changed characters are enough.
    setAttribute(Qt::WA_UpdatesDisabled, true);
    setText(newText);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    m_pieces.insert(m_pieces.end(), pieces.begin(), pieces.end());
    m_piecesArea += changed;
    update(changed);
}

void CountLabel::paintEvent(QPaintEvent* event) {
    std::vector<Piece> pieces;
    pieces.swap(m_pieces);
    const QRegion area = std::exchange(m_piecesArea, QRegion());
    if (pieces.empty() || !(event->region() - area).isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    // A character is painted once: its ink over itself would come out darker.
    std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) { return a.from < b.from; });
    std::vector<Piece> merged;
    for (const Piece& p : pieces) {
        if (!merged.empty() && p.from <= merged.back().to)
            merged.back().to = std::max(merged.back().to, p.to);
        else
            merged.push_back(p);
    }
    // As the label paints its text, piece by piece: the same colour, and the same baseline as a
    // line of the label's own font, which holds every character of the text.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    painter.setPen(QPen(option.palette.brush(foregroundRole()), painter.pen().widthF()));
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QFontMetricsF metrics(font());
    const qreal height = metrics.ascent() + metrics.descent();
    const Qt::Alignment vertical = alignment() & Qt::AlignVertical_Mask;
    const qreal top = vertical & Qt::AlignBottom    ? room.height() - height
                      : vertical & Qt::AlignVCenter ? (room.height() - height) / 2
                                                    : 0;
    const qreal baseline = room.top() + top + metrics.ascent();
    const QString shown = text();
    for (const Piece& p : merged)
        painter.drawText(QPointF(p.x, baseline), shown.mid(p.from, p.to - p.from));
}

} // namespace ui
