#pragma once

#include <QPlainTextDocumentLayout>
#include <QTextBlock>

#include <functional>

namespace ui {

// The layout of a text box's document. Each line keeps the glyphs it was laid out with until it
// is painted: Qt's own layout drops them and shapes the line again to paint it and to place the
// caret, which costs every keystroke more than the edit itself.
// Given `shown`, a box whose text follows edits made elsewhere lays a line edited off the screen
// out when it shows, as lines never shown are; laying it out at once (and asking the box where
// it stands) would cost every keystroke as much as the typed line's own layout.
class LineLayout : public QPlainTextDocumentLayout {
public:
    explicit LineLayout(QTextDocument* document, std::function<bool(const QTextBlock&)> shown = {});

    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    std::function<bool(const QTextBlock&)> m_shown;
    int m_blocks = 0; // the document's blocks when the last change was laid out
};

} // namespace ui
