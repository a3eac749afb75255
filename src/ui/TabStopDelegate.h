#pragma once

#include <QStyledItemDelegate>

#include <vector>

namespace ui {

// Draws list rows whose columns are separated by TAB at fixed tab stops, given in dialog units
// (a quarter of the font's average Latin letter width), and makes rows at least `extent` pixels
// wide so that the list scrolls sideways.
class TabStopDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setTabStops(std::vector<int> stops) { m_stops = std::move(stops); }
    const std::vector<int>& tabStops() const { return m_stops; }
    void setExtent(int pixels) { m_extent = pixels; }
    int extent() const { return m_extent; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Pixels in four dialog units of the font.
    static int baseUnit(const QFontMetrics& metrics);
    // Left edge of each column of the text in pixels, for the given font metrics.
    std::vector<int> columnStarts(const QString& text, const QFontMetrics& metrics) const;

private:
    std::vector<int> m_stops;
    int m_extent = 0;
};

} // namespace ui
