#pragma once

#include "core/app/MainState.h"

#include <QAbstractListModel>
#include <QListView>

namespace ui {

// The rows of the draft list as the editor holds them, shown without a copy: tens of thousands
// of logged mails list at once.
class DraftListModel : public QAbstractListModel {
    Q_OBJECT
public:
    DraftListModel(const core::ListBox& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // Shows the rows anew when the editor changed them since the last call.
    void sync();

private:
    const core::ListBox& m_list;
    unsigned m_revision = 0;
    int m_rows = 0;
};

// The draft list: rows of one uniform height, chosen by a click or by moving through them
// with the keyboard.
class DraftListView : public QListView {
    Q_OBJECT
public:
    explicit DraftListView(QWidget* parent = nullptr);

    int currentRow() const;
    void setCurrentRow(int row);

signals:
    void rowChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ui
