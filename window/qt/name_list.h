#pragma once

// The name list: a single-selection list box whose selection, once made,
// stays on an entry: a selection left empty (an accessibility client's
// clear, a program's clearSelection) goes back to that entry once the
// program is idle again. It tells of every choice of an entry: each change of
// selection (mouse, keyboard, typing a first letter, an accessibility
// client) and each click on the entry that is already selected. When the list
// takes the focus, its cursor (Qt's current item) is on the selected entry
// and assistive technology is told that entry has the focus, so a screen
// reader reads it and its place in the list.

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
    // A choice of an entry.
    void entryChosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    void followSelection();
    void cursorToSelection();
    void keepEntryIfStillEmpty();
    void announceCurrentEntry();

    int keptRow_ = -1;  // the entry last selected
    bool emptyCheckPending_ = false;
};
