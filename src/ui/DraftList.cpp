#include "ui/DraftList.h"

#include "core/mailbox/MailboxReader.h"
#include "ui/Convert.h"
#include "ui/TabStopDelegate.h"

#include <QKeyEvent>

namespace ui {

namespace {

constexpr std::size_t ShownInTip = 1024; // characters of a row its tooltip shows

} // namespace

DraftListModel::DraftListModel(const core::ListBox& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list), m_revision(list.revision - 1) {}

int DraftListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant DraftListModel::data(const QModelIndex& index, int role) const {
    // The editor may have changed the rows since they were last shown; sync() follows.
    if (!index.isValid() || index.row() >= int(m_list.items.size()))
        return {};
    const core::ListEntry& row = m_list.items[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return qs(row.text);
    case ColumnsRole: {
        // A mail's columns where the reader found them, whatever a title or address holds.
        const auto& ends = row.columnEnds;
        if (ends[3] == 0)
            return {};
        const core::mailbox::RowPieces p = core::mailbox::splitRow(row);
        const QString bar = QStringLiteral("|");
        return QStringList{qs(p.title), bar + qs(p.destination), bar + qs(p.dateTime), bar + qs(p.sender),
                           bar + qs(std::u16string_view(p.body).substr(0, ShownInTip))};
    }
    case Qt::ToolTipRole: {
        // The whole row, its columns apart, up to a screenful of its body.
        QString tip = qs(std::u16string_view(row.text).substr(0, ShownInTip));
        tip.replace(QStringLiteral("\t|"), QStringLiteral(" | "));
        if (row.text.size() > ShownInTip)
            tip += QChar(0x2026);
        return tip;
    }
    default:
        return {};
    }
}

void DraftListModel::sync() {
    if (m_revision == m_list.revision && m_rows == int(m_list.items.size()))
        return;
    beginResetModel();
    m_revision = m_list.revision;
    m_rows = int(m_list.items.size());
    endResetModel();
}

DraftListView::DraftListView(QWidget* parent) : QListView(parent) {
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) { emit rowChosen(index.row()); });
}

int DraftListView::currentRow() const {
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void DraftListView::setCurrentRow(int row) {
    if (!model())
        return;
    QModelIndex index = model()->index(row, 0);
    if (index.isValid()) {
        setCurrentIndex(index);
    } else {
        selectionModel()->clear();
    }
}

void DraftListView::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListView::keyPressEvent(event);
    // Moving through the rows chooses each one, as a click does.
    if (currentRow() != before && currentRow() >= 0)
        emit rowChosen(currentRow());
}

} // namespace ui
