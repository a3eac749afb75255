#pragma once

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <utility>
#include <vector>

namespace ui {

// A text box that paints parts of its text on a coloured back, behind the text: no format of
// the document (no undo step) and no format ranges for the text layout to draw, which would cost
// every visible line on every keystroke. The parts follow edits by themselves.
class MarkedEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

    // The parts as document positions [start, end), and their back.
    void setMarks(const std::vector<std::pair<int, int>>& ranges, const QColor& back);
    std::vector<std::pair<int, int>> marks() const;
    QColor markColour() const { return m_back; }

    // Gives the box a layout that keeps each line's glyphs from its layout to its painting;
    // for a box whose text follows edits made elsewhere (WhenShown), a line edited off the
    // screen is laid out when it shows, not at the edit. Call before the box gets its text.
    enum class EditedLines { AtOnce, WhenShown };
    void useLineLayout(EditedLines edited);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool mayShow(const QTextBlock& block) const;

    std::vector<QTextCursor> m_marks;
    QColor m_back;
};

} // namespace ui
