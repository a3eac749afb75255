#include "ui/TabStopDelegate.h"

#include <QApplication>
#include <QPainter>

namespace ui {

namespace {

// More characters than the widest row shows: a long body is not laid out whole on every paint.
constexpr qsizetype ShownCharacters = 1024;

// Line breaks inside a column show as spaces: a row is one line. (The item view hands the
// text over with its LF as a line separator.)
QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QLatin1Char(' '));
    return text;
}

} // namespace

int TabStopDelegate::baseUnit(const QFontMetrics& metrics) {
    // As Windows measures a list box's font for its tab stops: the mean width of the Latin letters.
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
}

std::vector<int> TabStopDelegate::columnStarts(const QString& text, const QFontMetrics& metrics) const {
    std::vector<int> starts{0};
    const QStringList columns = text.split(QLatin1Char('\t'));
    const int unit = baseUnit(metrics);
    int x = 0;
    for (qsizetype i = 0; i + 1 < columns.size(); ++i) {
        x += metrics.horizontalAdvance(oneLine(columns[i]));
        // The next stop to the right of the text; past the last stop, every 8 characters.
        int next = -1;
        for (int stop : m_stops) {
            int px = stop * unit / 4;
            if (px > x) {
                next = px;
                break;
            }
        }
        if (next < 0) {
            int step = 8 * unit;
            next = (x / step + 1) * step;
        }
        x = next;
        starts.push_back(x);
    }
    return starts;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QStringList columns = text.split(QLatin1Char('\t'));
    const std::vector<int> starts = columnStarts(text, opt.fontMetrics);
    painter->save();
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    QRect r = opt.rect.adjusted(2, 0, 0, 0);
    for (qsizetype i = 0; i < columns.size(); ++i)
        painter->drawText(r.adjusted(starts[std::size_t(i)], 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          oneLine(columns[i].left(ShownCharacters)));
    painter->restore();
}

QSize TabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text = oneLine(text); // one line high, whatever the body holds
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), opt.widget);
    const std::vector<int> starts = columnStarts(text, option.fontMetrics);
    int width = starts.back() + option.fontMetrics.horizontalAdvance(oneLine(text.section(QLatin1Char('\t'), -1))) + 4;
    size.setWidth(std::max(width, m_extent));
    return size;
}

} // namespace ui
