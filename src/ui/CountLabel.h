#pragma once

#include <QFont>
#include <QHash>
#include <QLabel>

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

private:
    void measureIn(const QFont& font);
    qreal advance(QChar c);

    QFont m_measured;                  // the font the advances below are of
    QHash<char16_t, qreal> m_advances; // the characters' own advances: far cheaper kept than asked
};

} // namespace ui
