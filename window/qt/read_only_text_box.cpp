#include "window/qt/read_only_text_box.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QInputMethodEvent>

ReadOnlyTextBox::ReadOnlyTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    // The keyboard moves a caret through the text to select it, as in a
    // native read-only text box; nothing the keyboard does edits it.
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    // Qt's text control takes an input method's committed text whenever the
    // text is selectable by mouse, read-only or not: no input method here.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    viewport()->setAcceptDrops(false);
    setUndoRedoEnabled(false);
}

bool ReadOnlyTextBox::canInsertFromMimeData(const QMimeData*) const {
    return false;
}

void ReadOnlyTextBox::insertFromMimeData(const QMimeData*) {}

void ReadOnlyTextBox::dragEnterEvent(QDragEnterEvent* event) {
    event->ignore();
}

void ReadOnlyTextBox::dragMoveEvent(QDragMoveEvent* event) {
    event->ignore();
}

void ReadOnlyTextBox::dropEvent(QDropEvent* event) {
    event->ignore();
}

void ReadOnlyTextBox::inputMethodEvent(QInputMethodEvent* event) {
    event->ignore();
}

// A plain text edit tells the input method it takes input even when it is
// read-only; this one does not.
QVariant ReadOnlyTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled) {
        return false;
    }
    return QPlainTextEdit::inputMethodQuery(query);
}
