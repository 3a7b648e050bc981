// What only the Qt front end has, beside the conformance suite that every
// front end passes: the layout scaled as a whole by Qt's scale factor, the
// font's coverage of the catalogue, the names QAccessible gives screen
// readers, the list's own keeping of its selection, even when cleared, and a
// failed selection going to Qt's message log.

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "catalogue/catalogue.h"
#include "window/conformance/shown_text.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/tests/test_window.h"

class KalvetorWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void keepsEveryControlWholeAtThisScale();
    void fontDrawsEveryCatalogueCharacter();
    void namesAndDescribesEachControlForScreenReaders_data();
    void namesAndDescribesEachControlForScreenReaders();
    void keepsTheSelectionOnCtrlClick();
    void logsAFailedSelectionAndKeepsTheBox();
    void keepsItsEntryWhenTheSelectionIsCleared();
    void showsTheProgramsIcon();

private:
    void clickEntry(int row, Qt::KeyboardModifiers modifiers = {});
};

void KalvetorWindowTest::clickEntry(int row, Qt::KeyboardModifiers modifiers) {
    QListWidgetItem* item = list()->item(row);
    list()->scrollToItem(item);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, list()->visualItemRect(item).center());
}

// The title bar and the task bar show the program's icon, pixel for pixel.
void KalvetorWindowTest::showsTheProgramsIcon() {
    const QImage expected =
        QImage(QStringLiteral(":/kalvetor/icon.png")).convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!expected.isNull());
    const QIcon icon = window().windowIcon();
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32), expected);
}

// Run also with QT_SCALE_FACTOR set: the layout scales as a whole, and no
// control is clipped or loses its whole rows.
void KalvetorWindowTest::keepsEveryControlWholeAtThisScale() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    if (!factor.isEmpty()) {
        QCOMPARE(window().devicePixelRatioF(), factor.toDouble());
    }
    const QRect client = window().rect();
    for (QWidget* control :
         {static_cast<QWidget*>(label()), static_cast<QWidget*>(list()), static_cast<QWidget*>(box())}) {
        QVERIFY2(client.contains(control->geometry()), qPrintable(control->objectName()));
    }
    const QFontMetrics metrics(label()->font());
    QVERIFY(metrics.horizontalAdvance(label()->text()) <= label()->contentsRect().width());
    QVERIFY(metrics.height() <= label()->contentsRect().height());

    const int rowHeight = list()->sizeHintForRow(0);
    QCOMPARE(list()->viewport()->height() % rowHeight, 0);
    const int lastRow = catalogue::kEntryCount - 1;
    list()->scrollToItem(list()->item(lastRow));
    QCOMPARE(list()->visualItemRect(list()->item(lastRow)).bottom(), list()->viewport()->rect().bottom());

    QCOMPARE(box()->horizontalScrollBar()->maximum(), 0);  // the text wraps, nothing runs off the side
}

void KalvetorWindowTest::fontDrawsEveryCatalogueCharacter() {
    const QRawFont raw = QRawFont::fromFont(window().font());
    QString all = decoded(catalogue::kTitle) + decoded(catalogue::kIntroduction);
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        all += toQString(conformance::nameAt(i)) + toQString(conformance::descriptionAt(i));
    }
    for (const QChar c : std::as_const(all)) {
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            QVERIFY2(raw.supportsCharacter(c),
                     qPrintable(QStringLiteral("no glyph for U+%1").arg(c.unicode(), 4, 16)));
        }
    }
}

void KalvetorWindowTest::namesAndDescribesEachControlForScreenReaders_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("descriptionStart");
    QTest::newRow("title label") << "Label1"
                                 << "Калветор"
                                 << "Заглавие на програмата";
    QTest::newRow("name list") << "List1"
                               << "Народни будители"
                               << "Списък с имената на народните будители.";
    QTest::newRow("description box") << "Text1"
                                     << "Описание"
                                     << "Животът и делото на избрания будител";
}

void KalvetorWindowTest::namesAndDescribesEachControlForScreenReaders() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, descriptionStart);
    QAccessibleInterface* accessible =
        QAccessible::queryAccessibleInterface(window().findChild<QWidget*>(control));
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QVERIFY2(accessible->text(QAccessible::Description).startsWith(descriptionStart),
             qPrintable(accessible->text(QAccessible::Description)));
}

// A native single-selection list box never loses its selection to Ctrl+click
// or Ctrl+Space, which in Qt would otherwise clear it.
void KalvetorWindowTest::keepsTheSelectionOnCtrlClick() {
    clickEntry(3);
    clickEntry(3, Qt::ControlModifier);
    QCOMPARE(list()->selectedRow(), 3);
    QTest::keyClick(list(), Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(list()->selectedRow(), 3);
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(3)));
}

void KalvetorWindowTest::logsAFailedSelectionAndKeepsTheBox() {
    // A choice with nothing selected, as before any entry is picked, has no
    // description to show.
    const QString introduction = box()->toPlainText();
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("not shown: no description at the selected position")));
    emit list()->entryChosen();
    QCOMPARE(box()->toPlainText(), introduction);
    QVERIFY(window().isVisible());
}

// An accessibility client selects an entry through the list's selection
// model: Qt clears the selection, then selects the new entry. That passing
// moment with nothing selected is no failed selection. A selection left
// empty (a client's clear, a program's clearSelection) goes back to the
// entry the box still shows, which is no new choice either.
void KalvetorWindowTest::keepsItsEntryWhenTheSelectionIsCleared() {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list());
    QVERIFY(accessible != nullptr && accessible->tableInterface() != nullptr);
    WarningLog log;

    QVERIFY(accessible->tableInterface()->selectRow(4));
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(4)));
    QVERIFY(accessible->tableInterface()->selectRow(9));
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(9)));
    QAccessibleInterface* entry = accessible->child(2);
    QVERIFY(entry != nullptr && entry->actionInterface() != nullptr);
    entry->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(list()->selectedRow(), 2);
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(2)));
    // Toggling the one selected entry would leave nothing selected: refused.
    entry->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(list()->selectedRow(), 2);

    QSignalSpy chosen(list(), &NameList::entryChosen);
    list()->clearSelection();
    QCOMPARE(list()->selectedRow(), -1);
    // Checks of the passing moments above were queued before this one.
    QVERIFY(QTest::qWaitFor([&] { return list()->selectedRow() == 2; }, 10'000));
    QVERIFY(entry->state().selected);
    QCOMPARE(chosen.count(), 0);
    QCOMPARE(WarningLog::lines().filter(QStringLiteral("the selected description was not shown")),
             QStringList());
    QCOMPARE(box()->toPlainText(), toQString(conformance::descriptionAt(2)));
}

QTEST_MAIN(KalvetorWindowTest)
#include "kalvetor_window_test.moc"
