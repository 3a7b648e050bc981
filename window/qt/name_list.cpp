#include "window/qt/name_list.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

namespace {

bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        default: return false;
    }
}

// The native list box moves its selection with Left and Right as with Up
// and Down.
int asVerticalKey(int key) {
    switch (key) {
        case Qt::Key_Left: return Qt::Key_Up;
        case Qt::Key_Right: return Qt::Key_Down;
        default: return key;
    }
}

}  // namespace

NameList::NameList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemSelectionChanged, this, &NameList::followSelection);
}

void NameList::followSelection() {
    const int row = selectedRow();
    if (row == -1) {
        // Selecting through the selection model, as an accessibility client
        // does (a table's addRowSelection, an item's Toggle action), clears
        // the selection and then selects the new entry, both before the
        // program is idle again. Only an empty selection that is still there
        // then is undone.
        if (!emptyCheckPending_) {
            emptyCheckPending_ = true;
            QMetaObject::invokeMethod(this, &NameList::keepEntryIfStillEmpty, Qt::QueuedConnection);
        }
        return;
    }
    keptRow_ = row;
    // An entry selected from outside (an accessibility client) is brought
    // into view, as the mouse and the keyboard bring theirs.
    scrollToItem(item(row));
    if (hasFocus()) {
        cursorToSelection();
    }
    emit entryChosen();
}

// The cursor goes where the selection is, however it got there, so the
// entry a screen reader is told has the focus is the selected one. Only
// while the list has the focus: Qt tells assistive technology of every move
// of the cursor as a move of the focus, wherever the focus really is.
void NameList::cursorToSelection() {
    const int row = selectedRow();
    if (row == -1) {
        return;
    }
    const QModelIndex selected = model()->index(row, 0, rootIndex());
    if (currentIndex() != selected) {
        selectionModel()->setCurrentIndex(selected, QItemSelectionModel::NoUpdate);
    }
}

void NameList::keepEntryIfStillEmpty() {
    emptyCheckPending_ = false;
    if (selectedRow() != -1 || keptRow_ == -1) {
        return;
    }
    // The box still shows this entry: taking it back is no new choice, and
    // the reader keeps its place in the box.
    const QSignalBlocker noChoice(this);
    selectionModel()->select(model()->index(keptRow_, 0, rootIndex()), QItemSelectionModel::ClearAndSelect);
}

void NameList::announceCurrentEntry() {
    if (!hasFocus() || !currentIndex().isValid() || !QAccessible::isActive()) {
        return;
    }
    QAccessibleEvent focus(this, QAccessible::Focus);
    focus.setChild(currentIndex().row());
    QAccessible::updateAccessibility(&focus);
}

int NameList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void NameList::trimToWholeRows() {
    const int rowHeight = sizeHintForRow(0);
    if (rowHeight <= 0) {
        return;
    }
    const int frame = 2 * frameWidth();
    const int rows = (height() - frame) / rowHeight;
    setFixedHeight(frame + rows * rowHeight);
}

void NameList::mousePressEvent(QMouseEvent* event) {
    const int before = selectedRow();
    QListWidget::mousePressEvent(event);
    // A click on the entry already selected changes nothing in the list but
    // is a choice all the same: the reader gets that entry back from its start.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && pressed.isValid() && pressed.row() == before &&
        selectedRow() == before) {
        emit entryChosen();
    }
}

void NameList::keyPressEvent(QKeyEvent* event) {
    if (const int vertical = asVerticalKey(event->key()); vertical != event->key()) {
        QKeyEvent moved(event->type(), vertical, event->modifiers(), event->text(), event->isAutoRepeat(),
                        static_cast<quint16>(event->count()));
        keyPressEvent(&moved);
        event->setAccepted(moved.isAccepted());
        return;
    }
    // Taking the focus puts the cursor on the first entry without selecting
    // it. While nothing is selected, a navigation key selects the entry under
    // the cursor rather than moving from it, as the native list box does. The
    // cursor stays, so Qt tells assistive technology of no move of the focus:
    // the entry is named here, as every later key's entry is.
    if (selectedRow() == -1 && currentIndex().isValid() && isNavigationKey(event->key())) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        announceCurrentEntry();
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void NameList::focusInEvent(QFocusEvent* event) {
    cursorToSelection();
    QListWidget::focusInEvent(event);
    // Qt tells assistive technology that the list has the focus only after
    // this handler returns, and a screen reader then reads the list alone:
    // its name and its number of entries. The entry under the cursor (the
    // selected one, if any) is announced after that, as the focus within it.
    QMetaObject::invokeMethod(this, &NameList::announceCurrentEntry, Qt::QueuedConnection);
}

QItemSelectionModel::SelectionFlags NameList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    // Ctrl+click, Ctrl+Space or a click beside the entries would leave nothing
    // selected; the list keeps its entry instead.
    if (!index.isValid() ||
        command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
        return QItemSelectionModel::NoUpdate;
    }
    return command;
}
