#include "ui/DraftList.h"

#include "ui/Convert.h"

#include <QKeyEvent>

namespace ui {

DraftListModel::DraftListModel(const core::ListBox& list, QObject* parent)
    : QAbstractListModel(parent), m_list(list), m_revision(list.revision - 1) {}

int DraftListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant DraftListModel::data(const QModelIndex& index, int role) const {
    // The editor may have changed the rows since they were last shown; sync() follows.
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(m_list.items.size()))
        return {};
    return qs(m_list.items[std::size_t(index.row())].text);
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
