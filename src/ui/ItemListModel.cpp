#include "ui/ItemListModel.h"

#include <utility>

namespace ui {

void ItemListModel::setTexts(std::vector<std::u16string> texts) {
    beginResetModel();
    m_texts = std::move(texts);
    endResetModel();
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_texts.size());
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= static_cast<int>(m_texts.size()) ||
        (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return QString::fromStdU16String(m_texts[static_cast<std::size_t>(index.row())]);
}

} // namespace ui
