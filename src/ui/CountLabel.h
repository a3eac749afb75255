#pragma once

#include <QFont>
#include <QHash>
#include <QLabel>
#include <QRegion>

#include <vector>

namespace ui {

// A one-line label whose text changes a few characters at a time, as the count does at every
// keystroke: when the text keeps its length and each changed character its advance, only the
// changed characters are painted again, not the whole label.
class CountLabel : public QLabel {
public:
    using QLabel::QLabel;

    void setTextInPlace(const QString& text);
    // The sum of the characters' own advances in the label's font: close to the text's width.
    qreal roughWidth(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Characters to paint again, [from, to) of the text, from x past the line's start.
    struct Piece {
        qsizetype from, to;
        int x;
    };

    // A character in the label's font: its own advance, and whether the font holds it (else
    // another font draws it, whose line may be taller).
    struct Glyph {
        qreal advance = 0;
        bool held = false;
    };

    void measureIn(const QFont& font);
    Glyph glyph(QChar c);
    qreal advance(QChar c) { return glyph(c).advance; }

    QFont m_measured;                // the font the glyphs below are of
    QHash<char16_t, Glyph> m_glyphs; // far cheaper kept than asked
    std::vector<Piece> m_pieces;     // what the next painting needs, when it is no more
    QRegion m_piecesArea;            // where those pieces stand
};

} // namespace ui
