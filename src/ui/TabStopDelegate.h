#pragma once

#include <QStyledItemDelegate>

#include <vector>

namespace ui {

// The role under which a row gives its columns as a QStringList; a row without it is split at
// each TAB.
inline constexpr int ColumnsRole = Qt::UserRole + 1;

// Draws list rows in columns that start at fixed tab stops, given in dialog units (a quarter of
// the font's average Latin letter width); a column too long for the room before the next stop
// is cut there with "…", so every column lines up. Rows are at least `extent` pixels wide, so
// that the list scrolls sideways.
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
    // Left edge of each of `count` columns in pixels, for the given font metrics.
    std::vector<int> columnStarts(int count, const QFontMetrics& metrics) const;

    // A column as it is drawn: where, how wide, and its text, cut to fit when it must be.
    struct ShownColumn {
        int x = 0, width = 0;
        QString text;
    };
    std::vector<ShownColumn> shownColumns(const QModelIndex& index, const QFontMetrics& metrics, int rowWidth) const;

private:
    std::vector<int> m_stops;
    int m_extent = 0;
};

} // namespace ui
