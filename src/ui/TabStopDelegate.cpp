#include "ui/TabStopDelegate.h"

#include <QApplication>
#include <QPainter>

namespace ui {

namespace {

// More characters than the widest row shows: a long body is not laid out whole on every paint.
constexpr qsizetype ShownCharacters = 1024;
// Room left between a cut column and the next.
constexpr int ColumnGap = 4;

// Line breaks inside a column show as spaces: a row is one line. (The item view hands the
// text over with its LF as a line separator.)
QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

QStringList columnsOf(const QModelIndex& index) {
    const QVariant columns = index.data(ColumnsRole);
    if (columns.isValid())
        return columns.toStringList();
    return index.data(Qt::DisplayRole).toString().split(QLatin1Char('\t'));
}

} // namespace

int TabStopDelegate::baseUnit(const QFontMetrics& metrics) {
    // As Windows measures a list box's font for its tab stops: the mean width of the Latin letters.
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

std::vector<int> TabStopDelegate::columnStarts(int count, const QFontMetrics& metrics) const {
    std::vector<int> starts{0};
    const int unit = baseUnit(metrics);
    int x = 0;
    for (int i = 1; i < count; ++i) {
        // The next stop; past the last one, every 8 characters.
        const std::size_t stop = static_cast<std::size_t>(i - 1);
        x = stop < m_stops.size() ? m_stops[stop] * unit / 4 : (x / (8 * unit) + 1) * (8 * unit);
        starts.push_back(x);
    }
    return starts;
}

std::vector<TabStopDelegate::ShownColumn>
TabStopDelegate::shownColumns(const QModelIndex& index, const QFontMetrics& metrics, int rowWidth) const {
    const QStringList columns = columnsOf(index);
    const std::vector<int> starts = columnStarts(static_cast<int>(columns.size()), metrics);
    std::vector<ShownColumn> shown;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        ShownColumn c;
        c.x = starts[std::size_t(i)];
        const bool last = i + 1 == columns.size();
        c.width = std::max(0, (last ? rowWidth : starts[std::size_t(i) + 1] - ColumnGap) - c.x);
        const QString text = oneLine(columns[i].left(ShownCharacters));
        c.text = last ? text : metrics.elidedText(text, Qt::ElideRight, c.width);
        shown.push_back(std::move(c));
    }
    return shown;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    painter->save();
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QRect r = opt.rect.adjusted(2, 0, 0, 0);
    for (const ShownColumn& c : shownColumns(index, opt.fontMetrics, r.width()))
        painter->drawText(QRect(r.x() + c.x, r.y(), c.width, r.height()), Qt::AlignLeft | Qt::AlignVCenter, c.text);
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text = oneLine(opt.text.left(ShownCharacters)); // one line high, whatever the body holds
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), opt.widget);
    const QStringList columns = columnsOf(index);
    const std::vector<int> starts = columnStarts(static_cast<int>(columns.size()), option.fontMetrics);
    const int width =
        starts.back() + option.fontMetrics.horizontalAdvance(oneLine(columns.back().left(ShownCharacters))) + 4;
    size.setWidth(std::max(width, m_extent));
    return size;
}

} // namespace ui
