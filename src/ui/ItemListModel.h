#pragma once

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace ui {

// The entries of a drop-down list, shown straight from their texts: a list of thousands of
// addresses is put in place at once, with no item object made for each.
class ItemListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    const std::vector<std::u16string>& texts() const { return m_texts; }
    void setTexts(std::vector<std::u16string> texts);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<std::u16string> m_texts;
};

} // namespace ui
