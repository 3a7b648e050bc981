// What the window tells assistive technology and how Qt's own texts read,
// in this process: the window is a frame named by its caption, every widget
// is Bulgarian whatever the locale of the run, Qt's context and scroll bar
// menus are in Bulgarian (and in English, with one line logged, when the
// translation is missing), and the list, when it takes the focus, has its
// cursor on the selected entry, which its accessible interface reports as
// focused. What Qt's AT-SPI bridge makes of all this is checked through the
// real accessibility stack by check_screen_reader.py.

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "window/caption.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/startup.h"
#include "window/qt/tests/test_window.h"

namespace {

// The entries of the menu that a right click on the widget opens, read
// while it is open; the menu is closed again.
QStringList contextMenuOf(QWidget* widget) {
    QStringList entries;
    QTimer poll;
    poll.setInterval(10);
    int polls = 0;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr) {
            for (const QAction* action : menu->actions()) {
                if (!action->isSeparator()) {
                    entries.append(action->text());
                }
            }
            menu->close();
        }
        // Ten seconds at most, then whatever opened is closed unread.
        if (menu != nullptr || ++polls > 1000) {
            poll.stop();
            if (QWidget* popup = QApplication::activePopupWidget()) {
                popup->close();
            }
        }
    });
    poll.start();
    const QPoint at = widget->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    // A scroll bar runs its menu in a loop of its own, a text box pops its
    // menu up and returns: either way the poll reads it, then stops.
    QApplication::sendEvent(widget, &event);
    if (!QTest::qWaitFor([&] { return !poll.isActive(); }, 15'000)) {
        return {};
    }
    return entries;
}

// A menu entry's text without its mnemonic marker and its shortcut.
QString wordsOf(QString entry) {
    entry = entry.section(QLatin1Char('\t'), 0, 0);
    entry.remove(QLatin1Char('&'));
    return entry;
}

bool isBulgarian(const QString& words) {
    static const QRegularExpression latin(QStringLiteral("[A-Za-z]"));
    static const QRegularExpression cyrillic(QStringLiteral("\\p{Cyrillic}"));
    return !words.contains(latin) && words.contains(cyrillic);
}

}  // namespace

class AccessibilityTest : public WindowTest {
    Q_OBJECT

private slots:
    void windowIsAFrameNamedByItsCaption();
    void everyWidgetIsBulgarianWhateverTheLocale();
    void qtMenusAreBulgarian_data();
    void qtMenusAreBulgarian();
    void aMissingTranslationLeavesQtInEnglishWithOneLine();
    void listTakingTheFocusHasItsCursorOnTheSelectedEntry();
    void listWithNothingSelectedTakesTheFocusOnItsFirstEntry();
};

void AccessibilityTest::windowIsAFrameNamedByItsCaption() {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&window());
    QVERIFY(accessible != nullptr);
    // Qt's AT-SPI bridge gives the role Window as "frame".
    QCOMPARE(accessible->role(), QAccessible::Window);
    QCOMPARE(accessible->text(QAccessible::Name), toQString(frontend::caption()));
    QCOMPARE(accessible->childCount(), 3);
}

// Run also with LANG=C: the program is Bulgarian whatever the user's
// locale, and the accessibility bridge reports the default locale as the
// application's.
void AccessibilityTest::everyWidgetIsBulgarianWhateverTheLocale() {
    QCOMPARE(QLocale().language(), QLocale::Bulgarian);
    QCOMPARE(window().locale().language(), QLocale::Bulgarian);
    for (const QWidget* widget : window().findChildren<QWidget*>()) {
        QVERIFY2(widget->locale().language() == QLocale::Bulgarian, qPrintable(widget->objectName()));
    }
}

void AccessibilityTest::qtMenusAreBulgarian_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("description box") << "box";
    QTest::newRow("description box's scroll bar") << "box scroll bar";
    QTest::newRow("name list's scroll bar") << "list scroll bar";
}

void AccessibilityTest::qtMenusAreBulgarian() {
    QFETCH(QString, target);
    QWidget* widget = nullptr;
    if (target == QLatin1String("box")) {
        widget = box()->viewport();
    } else if (target == QLatin1String("box scroll bar")) {
        widget = box()->verticalScrollBar();
    } else {
        widget = list()->verticalScrollBar();
    }
    QVERIFY(widget->isVisible());
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    const QStringList entries = contextMenuOf(widget);
    QVERIFY2(!entries.isEmpty(), "no context menu opened");
    for (const QString& entry : entries) {
        QVERIFY2(isBulgarian(wordsOf(entry)), qPrintable(entry));
    }
}

void AccessibilityTest::aMissingTranslationLeavesQtInEnglishWithOneLine() {
    const QString source = QStringLiteral("Scroll here");
    QVERIFY(isBulgarian(QCoreApplication::translate("QScrollBar", "Scroll here")));
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    {
        WarningLog log;
        QVERIFY(!startup::installQtTranslation(empty.path()));
        QCOMPARE(WarningLog::lines().size(), 1);
        QVERIFY2(WarningLog::lines().first().contains(empty.path()), qPrintable(WarningLog::lines().first()));
    }
    QCOMPARE(QCoreApplication::translate("QScrollBar", "Scroll here"), source);
    QVERIFY(window().isVisible());

    QVERIFY(startup::installQtTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QVERIFY(isBulgarian(QCoreApplication::translate("QScrollBar", "Scroll here")));
}

// However the entry was selected (here as an accessibility client selects:
// through the list's accessible table while the box has the focus), the
// list's cursor is on it once the list has the focus, and the list's
// accessible interface reports that entry as focused and selected.
void AccessibilityTest::listTakingTheFocusHasItsCursorOnTheSelectedEntry() {
    box()->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return box()->hasFocus(); }, 10'000));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list());
    QVERIFY(accessible->tableInterface() != nullptr);
    QVERIFY(accessible->tableInterface()->selectRow(5));
    QCOMPARE(list()->selectedRow(), 5);

    QTest::keyClick(box(), Qt::Key_Tab);  // to the list, next in the tab order
    QVERIFY(QTest::qWaitFor([&] { return list()->hasFocus(); }, 10'000));
    QCOMPARE(list()->currentIndex().row(), 5);
    QAccessibleInterface* entry = accessible->child(5);
    QVERIFY(entry != nullptr);
    QCOMPARE(entry->text(QAccessible::Name), list()->item(5)->text());
    QVERIFY(entry->state().focused);
    QVERIFY(entry->state().selected);
    QCOMPARE(accessible->indexOfChild(entry), 5);
    QCOMPARE(accessible->childCount(), list()->count());

    // The keyboard goes on from the selected entry.
    QTest::keyClick(list(), Qt::Key_Down);
    QCOMPARE(list()->selectedRow(), 6);
}

void AccessibilityTest::listWithNothingSelectedTakesTheFocusOnItsFirstEntry() {
    box()->setFocus();
    QVERIFY(QTest::qWaitFor([&] { return box()->hasFocus(); }, 10'000));
    QTest::keyClick(box(), Qt::Key_Tab);
    QVERIFY(QTest::qWaitFor([&] { return list()->hasFocus(); }, 10'000));
    QCOMPARE(list()->selectedRow(), -1);
    QCOMPARE(list()->currentIndex().row(), 0);
    QVERIFY(QAccessible::queryAccessibleInterface(list())->child(0)->state().focused);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
