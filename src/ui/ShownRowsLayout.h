#pragma once

#include <QPlainTextDocumentLayout>
#include <QTextBlock>

#include <functional>

namespace ui {

// The layout of a box whose text follows edits made elsewhere: an edit within one line that is
// off the screen only drops that line's layout, and the line is laid out again when it shows,
// as lines never shown are. Laying it out at once (and asking the box where it stands) would
// cost every keystroke as much as the typed line's own layout.
class ShownRowsLayout : public QPlainTextDocumentLayout {
public:
    ShownRowsLayout(QTextDocument* document, std::function<bool(const QTextBlock&)> shown);

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    std::function<bool(const QTextBlock&)> m_shown;
    int m_blocks = 0; // the document's blocks when the last change was laid out
};

} // namespace ui
