#include "window/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>

#include "window/qt/main_window.h"
#include "window/qt/read_only_text_box.h"

namespace accessibility {
namespace {

// The read-only box as assistive technology sees it: a text it can read by
// character, word, line or all at once, with a caret and a selection it can
// move, and no EditableText interface, so the AT-SPI bridge refuses every
// insertText, deleteText, cutText, pasteText and setTextContents. Qt's own
// interface for a plain text edit offers editing even when it is read-only.
class ReadOnlyTextAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadOnlyTextAccessible(QPlainTextEdit* box)
        : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.editable = false;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) {
            return text(0, characterCount());
        }
        return QAccessibleWidget::text(kind);
    }

    // Qt's bridge falls back on this to edit a text that offers no
    // EditableText interface: nothing an accessibility client sends changes
    // the text.
    void setText(QAccessible::Text, const QString&) override {}

    // QAccessibleTextInterface
    QString text(int startOffset, int endOffset) const override {
        QTextCursor cursor(box()->document());
        cursor.setPosition(clamped(startOffset));
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        // A text cursor separates paragraphs with U+2029; readers expect \n.
        return cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    }

    int characterCount() const override {
        // The document counts one more: the separator after the last block.
        return box()->document()->characterCount() - 1;
    }

    int cursorPosition() const override { return box()->textCursor().position(); }

    void setCursorPosition(int position) override {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(position));
        box()->setTextCursor(cursor);
    }

    int selectionCount() const override { return box()->textCursor().hasSelection() ? 1 : 0; }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const QTextCursor cursor = box()->textCursor();
        if (selectionIndex == 0 && cursor.hasSelection()) {
            *startOffset = cursor.selectionStart();
            *endOffset = cursor.selectionEnd();
        } else {
            *startOffset = 0;
            *endOffset = 0;
        }
    }

    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }

    void removeSelection(int selectionIndex) override {
        if (selectionIndex != 0) {
            return;
        }
        QTextCursor cursor = box()->textCursor();
        cursor.clearSelection();
        box()->setTextCursor(cursor);
    }

    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex != 0) {
            return;
        }
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(clamped(startOffset));
        cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }

    QRect characterRect(int offset) const override {
        QTextCursor cursor(box()->document());
        cursor.setPosition(clamped(offset));
        QRect rect = box()->cursorRect(cursor);
        const QString character = text(offset, offset + 1);
        rect.setWidth(std::max(1, QFontMetrics(box()->font()).horizontalAdvance(character)));
        return rect.translated(box()->viewport()->mapToGlobal(QPoint(0, 0)));
    }

    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inViewport = box()->viewport()->mapFromGlobal(point);
        if (!box()->viewport()->rect().contains(inViewport)) {
            return -1;
        }
        return box()->cursorForPosition(inViewport).position();
    }

    // Scrolls so that the start of the range is in view, without moving the
    // caret: the vertical scroll bar of a plain text edit counts lines.
    void scrollToSubstring(int startIndex, int) override {
        const int position = clamped(startIndex);
        const QTextBlock target = box()->document()->findBlock(position);
        int line = 0;
        for (QTextBlock block = box()->document()->begin(); block.isValid() && block != target;
             block = block.next()) {
            line += block.lineCount();
        }
        if (const QTextLayout* layout = target.layout(); layout != nullptr && layout->lineCount() > 0) {
            line += std::max(0, layout->lineForTextPosition(position - target.position()).lineNumber());
        }
        QScrollBar* bar = box()->verticalScrollBar();
        const int firstShown = bar->value();
        const int shown = bar->pageStep();
        if (line < firstShown || line >= firstShown + shown) {
            bar->setValue(line);
        }
    }

    // The whole text is one run: the box's font, in the box's language, so
    // a screen reader can speak it with a Bulgarian voice.
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        const int count = characterCount();
        if (offset < 0 || offset > count) {
            *startOffset = -1;
            *endOffset = -1;
            return {};
        }
        *startOffset = 0;
        *endOffset = count;
        const QFontInfo font(box()->font());
        // Qt's bridge takes IAccessible2's names and gives AT-SPI's:
        // font-family becomes family-name, font-size size.
        return QStringLiteral("language:%1;font-family:\"%2\";font-size:%3pt;")
            .arg(box()->locale().name().replace(QLatin1Char('_'), QLatin1Char('-')), font.family())
            .arg(font.pointSize());
    }

private:
    QPlainTextEdit* box() const { return static_cast<QPlainTextEdit*>(widget()); }
    int clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
};

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String(Kalvetor::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    if (className == QLatin1String(ReadOnlyTextBox::staticMetaObject.className())) {
        return new ReadOnlyTextAccessible(static_cast<QPlainTextEdit*>(object));
    }
    return nullptr;
}

}  // namespace

void install() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

}  // namespace accessibility
