#include "window/qt/name_list.h"

#include <QKeyEvent>
#include <QMouseEvent>

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

}  // namespace

NameList::NameList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemSelectionChanged, this, &NameList::entryChosen);
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
    QListWidget::keyPressEvent(event);
    // Taking the focus puts the cursor on the first entry without selecting
    // it, and a key that keeps the cursor there (Home, Up) would then select
    // nothing; a navigation key always selects the entry it lands on.
    if (selectedRow() == -1 && currentIndex().isValid() && isNavigationKey(event->key())) {
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
    }
}

QItemSelectionModel::SelectionFlags NameList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    // Ctrl+click, Ctrl+Space or a click beside the entries would leave nothing
    // selected; the list keeps its entry instead.
    if (!index.isValid() || command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
        return QItemSelectionModel::NoUpdate;
    }
    return command;
}
