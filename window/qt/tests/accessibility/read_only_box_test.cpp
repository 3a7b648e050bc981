// The description box is read-only on every path a text can come in by:
// the keyboard, paste, whatever its context menu offers, drag and drop, an
// input method, middle-click paste of the X selection, and accessibility
// clients through its accessible interface. Each path is tried on the real
// window's box, first with the introduction and then with a description,
// and the box must show what it showed before.

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <memory>

#include "window/conformance/shown_text.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/tests/test_window.h"

namespace {

const QString kForeign = QStringLiteral("ВМЪКНАТ ТЕКСТ");

}  // namespace

class ReadOnlyBoxTest : public WindowTest {
    Q_OBJECT

private slots:
    void keysChangeNothing();
    void pasteChangesNothing();
    void contextMenuChangesNothing();
    void dropIsRefused();
    void inputMethodIsRefused();
    void middleClickPastesNothing();
    void accessibilityOffersNoEditing();
    void accessibilityReadsTheText();

private:
    // Runs the check once over the introduction and once over a description.
    template <typename Attempt>
    void tryOnBothTexts(Attempt attempt);

    // Each check starts with the focus in the box.
    void opened() override;
};

void ReadOnlyBoxTest::opened() {
    box()->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return box()->hasFocus(); }, 10'000));
}

template <typename Attempt>
void ReadOnlyBoxTest::tryOnBothTexts(Attempt attempt) {
    QCOMPARE(box()->toPlainText(), toQString(conformance::introductionAsShown()));
    attempt();
    QCOMPARE(box()->toPlainText(), toQString(conformance::introductionAsShown()));

    list()->setCurrentRow(7);
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(7)));
    box()->setFocus();
    attempt();
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(7)));
}

void ReadOnlyBoxTest::keysChangeNothing() {
    tryOnBothTexts([this] {
        QTest::keyClick(box(), Qt::Key_End, Qt::ControlModifier);
        for (const QChar c : QStringLiteral("abc абв")) {
            // QTest::keyClicks takes Latin-1 only.
            QTest::sendKeyEvent(QTest::Press, box(), Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Backspace, Qt::Key_Delete}) {
            QTest::keyClick(box(), key);
        }
        QTest::keyClick(box(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(box(), Qt::Key_Delete);
        QTest::keyClick(box(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box(), Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(box(), Qt::Key_Delete, Qt::ShiftModifier);
        QTest::keyClick(box(), Qt::Key_Backspace);
        QTest::keyClick(box(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(box(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(box(), Qt::Key_Y, Qt::ControlModifier);
    });
}

void ReadOnlyBoxTest::pasteChangesNothing() {
    QApplication::clipboard()->setText(kForeign);
    tryOnBothTexts([this] {
        QTest::keyClick(box(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box(), Qt::Key_Insert, Qt::ShiftModifier);
        QTest::keyClick(box(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box(), Qt::Key_V, Qt::ControlModifier);
        box()->paste();
    });
}

// Whatever the context menu offers (copy, select all), none of it edits.
void ReadOnlyBoxTest::contextMenuChangesNothing() {
    QApplication::clipboard()->setText(kForeign);
    tryOnBothTexts([this] {
        box()->selectAll();
        const std::unique_ptr<QMenu> menu(box()->createStandardContextMenu());
        QVERIFY(!menu->actions().isEmpty());
        for (QAction* action : menu->actions()) {
            action->trigger();
        }
    });
}

void ReadOnlyBoxTest::dropIsRefused() {
    // Qt delivers a drag only to a widget that accepts drops.
    QVERIFY(!box()->acceptDrops());
    QVERIFY(!box()->viewport()->acceptDrops());
    tryOnBothTexts([this] {
        QMimeData data;
        data.setText(kForeign);
        const QPointF at = box()->viewport()->rect().center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(box()->viewport(), &enter);
        QVERIFY(!enter.isAccepted());
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(box()->viewport(), &move);
        QVERIFY(!move.isAccepted());
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box()->viewport(), &drop);
        QVERIFY(!drop.isAccepted());
    });
}

void ReadOnlyBoxTest::inputMethodIsRefused() {
    // No input method is attached to the box...
    QVERIFY(!box()->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(!box()->inputMethodQuery(Qt::ImEnabled).toBool());
    // ...and what one would commit is not taken.
    tryOnBothTexts([this] {
        QInputMethodEvent preedit(QStringLiteral("пред"), {});
        QApplication::sendEvent(box(), &preedit);
        QInputMethodEvent commit;
        commit.setCommitString(kForeign);
        QApplication::sendEvent(box(), &commit);
        QInputMethodEvent replace;
        replace.setCommitString(kForeign, -3, 6);
        QApplication::sendEvent(box(), &replace);
    });
}

// X11's selection is pasted with the middle button; a window system
// without one has no such path.
void ReadOnlyBoxTest::middleClickPastesNothing() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard->supportsSelection()) {
        QSKIP("this window system has no selection to paste with the middle button");
    }
    clipboard->setText(kForeign, QClipboard::Selection);
    QVERIFY(QTest::qWaitFor([&] { return clipboard->text(QClipboard::Selection) == kForeign; }, 10'000));
    tryOnBothTexts([this] {
        const QPoint at = box()->viewport()->rect().center();
        QTest::mouseClick(box()->viewport(), Qt::MiddleButton, {}, at);
        QTest::mouseClick(box()->viewport(), Qt::MiddleButton, Qt::ShiftModifier, at);
    });
}

void ReadOnlyBoxTest::accessibilityOffersNoEditing() {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box());
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->editableTextInterface(), nullptr);
    QVERIFY(accessible->state().readOnly);
    QVERIFY(!accessible->state().editable);
    tryOnBothTexts([accessible] {
        // What Qt's AT-SPI bridge does for insertText, deleteText and
        // setTextContents on a text that offers no EditableText interface.
        accessible->setText(QAccessible::Value, kForeign);
        accessible->setText(QAccessible::Name, kForeign);
    });
}

// What a screen reader reads of the box is the text it shows, with a caret
// and a selection it can move, in Bulgarian.
void ReadOnlyBoxTest::accessibilityReadsTheText() {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(box());
    QAccessibleTextInterface* text = accessible->textInterface();
    QVERIFY(text != nullptr);
    // Asked to show the last character of the introduction, longer than
    // the box, the box scrolls it into view and leaves the caret where it was.
    const QString introduction = toQString(conformance::introductionAsShown());
    const auto lastShown = [this, &introduction] {
        QTextCursor last(box()->document());
        last.setPosition(static_cast<int>(introduction.size()) - 1);
        return box()->viewport()->rect().contains(box()->cursorRect(last).center());
    };
    QVERIFY2(!lastShown(), "the introduction fits the box: nothing to scroll");
    const int caret = text->cursorPosition();
    text->scrollToSubstring(static_cast<int>(introduction.size()) - 1, static_cast<int>(introduction.size()));
    QVERIFY(lastShown());
    QCOMPARE(text->cursorPosition(), caret);

    list()->setCurrentRow(3);
    const QString shown = toQString(conformance::descriptionAt(3));
    QCOMPARE(text->characterCount(), shown.size());
    QCOMPARE(text->text(0, text->characterCount()), shown);
    QCOMPARE(accessible->text(QAccessible::Value), shown);
    QCOMPARE(text->text(5, 12), shown.mid(5, 7));

    text->setSelection(0, 2, 9);
    QCOMPARE(box()->textCursor().selectedText(), shown.mid(2, 7));
    QCOMPARE(text->selectionCount(), 1);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    QCOMPARE(start, 2);
    QCOMPARE(end, 9);
    text->removeSelection(0);
    QCOMPARE(text->selectionCount(), 0);
    text->setCursorPosition(4);
    QCOMPARE(box()->textCursor().position(), 4);
    QCOMPARE(text->cursorPosition(), 4);
    QCOMPARE(box()->toPlainText(), shown);

    // The character under a point is the one whose box holds that point.
    const QRect character = text->characterRect(6);
    QVERIFY(character.isValid());
    QCOMPARE(text->offsetAtPoint(character.center()), 6);

    int runStart = -1;
    int runEnd = -1;
    const QString attributes = text->attributes(10, &runStart, &runEnd);
    QVERIFY2(attributes.contains(QStringLiteral("language:bg-BG;")), qPrintable(attributes));
    QCOMPARE(runStart, 0);
    QCOMPARE(runEnd, shown.size());
}

QTEST_MAIN(ReadOnlyBoxTest)
#include "read_only_box_test.moc"
