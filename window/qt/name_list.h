#pragma once

// The name list: a single-selection list box whose selection, once made,
// stays on an entry. It tells of every choice of an entry: each change of
// selection (mouse, keyboard, typing a first letter) and each click on the
// entry that is already selected.

#include <QListWidget>

class NameList : public QListWidget {
    Q_OBJECT

public:
    explicit NameList(QWidget* parent = nullptr);

    // The selected row, or -1 when nothing is selected.
    int selectedRow() const;

    // Makes the list exactly as tall as the whole rows that fit in its
    // current height, keeping its top edge, so no row is cut off.
    void trimToWholeRows();

signals:
    void entryChosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};
