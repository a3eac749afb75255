#pragma once

#include <QPlainTextEdit>
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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<QTextCursor> m_marks;
    QColor m_back;
};

} // namespace ui
