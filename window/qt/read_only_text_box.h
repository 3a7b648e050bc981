#pragma once

// A multi-line text box whose text only the program sets. The user can
// select, copy and scroll it; no text comes in by any path a user or a
// program working for one has: typing, paste (Ctrl+V, Shift+Insert, the
// context menu), middle-click paste, drag and drop, an input method, or an
// accessibility client (its accessible interface offers no editing; see
// accessibility.h).

#include <QPlainTextEdit>

class ReadOnlyTextBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ReadOnlyTextBox(QWidget* parent = nullptr);

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
};
