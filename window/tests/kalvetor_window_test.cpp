// The main window as a pupil meets it: geometry, colours and font, the state
// at start, choosing names with the mouse and the keyboard, the read-only
// description box, the tab order, and closing.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRawFont>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "catalogue/catalogue.h"
#include "window/kalvetor.h"
#include "window/name_list.h"
#include "window/tests/shown_text.h"

class KalvetorWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hasAFixedClientAreaAndTitleBar();
    void placesEachControl_data();
    void placesEachControl();
    void paintsTheColoursAndUsesOneFont();
    void fontDrawsEveryCatalogueCharacter();
    void holdsTheCatalogueWithTheStoreNeverShown();
    void keepsEveryControlWholeAtThisScale();
    void namesAndDescribesEachControlForScreenReaders_data();
    void namesAndDescribesEachControlForScreenReaders();
    void opensWithTheIntroductionAndNothingSelected();

    void showsTheDescriptionOfTheClickedName_data();
    void showsTheDescriptionOfTheClickedName();
    void showsTheDescriptionAsTheKeyboardMovesTheSelection();
    void showsTheDescriptionOfANameFoundByItsFirstLetter();
    void clickOnTheSelectedNameShowsItAgainFromTheTop();
    void keepsTheSelectionOnCtrlClick();
    void logsAFailedSelectionAndKeepsTheBox();

    void descriptionBoxIsReadOnlyButCopyable();
    void tabMovesBetweenTheBoxAndTheListOnly();
    void closingEndsTheProgramWithStatusZero();

private:
    template <typename T>
    T* child(const char* name) {
        T* found = window_->findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no child %s", name);
        }
        return found;
    }
    NameList* list() { return child<NameList>("List1"); }
    QPlainTextEdit* box() { return child<QPlainTextEdit>("Text1"); }
    QLabel* label() { return child<QLabel>("Label1"); }

    void clickEntry(int row, Qt::KeyboardModifiers modifiers = {});
    void expectShown(int row);

    std::unique_ptr<Kalvetor> window_;
};

void KalvetorWindowTest::init() {
    window_ = std::make_unique<Kalvetor>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void KalvetorWindowTest::cleanup() {
    window_.reset();
}

void KalvetorWindowTest::clickEntry(int row, Qt::KeyboardModifiers modifiers) {
    QListWidgetItem* item = list()->item(row);
    list()->scrollToItem(item);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, modifiers, list()->visualItemRect(item).center());
}

void KalvetorWindowTest::expectShown(int row) {
    QCOMPARE(list()->selectedRow(), row);
    QCOMPARE(box()->toPlainText(), descriptionAt(row));
    QCOMPARE(box()->textCursor().position(), 0);
    QCOMPARE(box()->verticalScrollBar()->value(), 0);
}

void KalvetorWindowTest::hasAFixedClientAreaAndTitleBar() {
    QCOMPARE(window_->size(), QSize(441, 362));
    QCOMPARE(window_->minimumSize(), QSize(441, 362));
    QCOMPARE(window_->maximumSize(), QSize(441, 362));

    const Qt::WindowFlags flags = window_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));

    QCOMPARE(window_->windowTitle(), QStringLiteral("https://kalvetor.bg  Калветор"));
    QVERIFY(!window_->windowIcon().isNull());

    const QRect screen = window_->screen()->availableGeometry();
    QVERIFY(qAbs(window_->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(window_->geometry().center().y() - screen.center().y()) <= 1);
}

void KalvetorWindowTest::placesEachControl_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::newRow("title label") << "Label1" << QRect(96, 0, 265, 25);
    QTest::newRow("name list") << "List1" << QRect(96, 24, 265, 156);
    QTest::newRow("description box") << "Text1" << QRect(8, 184, 425, 169);
}

void KalvetorWindowTest::placesEachControl() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QWidget* control = window_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QVERIFY(control->isVisible());
    if (control != list()) {
        QCOMPARE(control->geometry(), geometry);
        return;
    }
    // The list keeps its place and width and loses the part of a row that
    // would not fit, so only whole rows show.
    QCOMPARE(control->geometry().topLeft(), geometry.topLeft());
    QCOMPARE(control->width(), geometry.width());
    const int rowHeight = list()->sizeHintForRow(0);
    const int rowsArea = control->height() - 2 * list()->frameWidth();
    QCOMPARE(rowsArea % rowHeight, 0);
    QVERIFY(control->height() <= geometry.height());
    QVERIFY(control->height() > geometry.height() - rowHeight);
    QCOMPARE(list()->viewport()->height(), rowsArea);
    QVERIFY(list()->verticalScrollBar()->isVisible());
}

void KalvetorWindowTest::paintsTheColoursAndUsesOneFont() {
    const QImage shot = window_->grab().toImage();
    // The grab is in device pixels; scaled runs have more of them.
    const auto at = [&](int x, int y) {
        const qreal ratio = shot.devicePixelRatio();
        return shot.pixelColor(qRound(x * ratio), qRound(y * ratio));
    };
    QCOMPARE(at(4, 4), QColor(192, 192, 255));     // window background
    QCOMPARE(at(400, 100), QColor(192, 192, 255));  // right of the list
    QCOMPARE(at(98, 2), QColor(255, 192, 128));     // title label
    QCOMPARE(at(358, 21), QColor(255, 192, 128));
    QCOMPARE(box()->palette().color(QPalette::Base), QApplication::palette(box()).color(QPalette::Base));
    QCOMPARE(list()->palette().color(QPalette::Base), QApplication::palette(list()).color(QPalette::Base));
    QCOMPARE(label()->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    QCOMPARE(label()->text(), QStringLiteral("Калветор"));

    const QFont font = window_->font();
    QCOMPARE(font.family(), QStringLiteral("Times New Roman"));
    QCOMPARE(font.pointSize(), 12);
    QCOMPARE(font.weight(), QFont::Normal);
    QVERIFY(!font.italic() && !font.underline() && !font.strikeOut());
    for (QWidget* control : {static_cast<QWidget*>(label()), static_cast<QWidget*>(list()),
                             static_cast<QWidget*>(box())}) {
        QCOMPARE(control->font(), font);
    }
}

void KalvetorWindowTest::fontDrawsEveryCatalogueCharacter() {
    const QFontInfo resolved(window_->font());
    QVERIFY2(resolved.family() == QLatin1String("Liberation Serif") || resolved.family() == QLatin1String("Times New Roman"),
             qPrintable(resolved.family()));
    const QRawFont raw = QRawFont::fromFont(window_->font());
    QString all = decoded(catalogue::kTitle) + decoded(catalogue::kIntroduction);
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        all += nameAt(i) + descriptionAt(i);
    }
    for (const QChar c : std::as_const(all)) {
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            QVERIFY2(raw.supportsCharacter(c), qPrintable(QStringLiteral("no glyph for U+%1").arg(c.unicode(), 4, 16)));
        }
    }
}

void KalvetorWindowTest::holdsTheCatalogueWithTheStoreNeverShown() {
    QCOMPARE(list()->count(), catalogue::kEntryCount);
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        QCOMPARE(list()->item(i)->text(), nameAt(i));
    }
    QVERIFY(!list()->isSortingEnabled());
    QCOMPARE(list()->selectionMode(), QAbstractItemView::SingleSelection);
    // The descriptions are kept by the window, not in a second visible view.
    QCOMPARE(window_->findChildren<QAbstractItemView*>().size(), 1);
}

// Run also with QT_SCALE_FACTOR set: the layout scales as a whole.
void KalvetorWindowTest::keepsEveryControlWholeAtThisScale() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    if (!factor.isEmpty()) {
        QCOMPARE(window_->devicePixelRatioF(), factor.toDouble());
    }
    const QRect client = window_->rect();
    for (QWidget* control : {static_cast<QWidget*>(label()), static_cast<QWidget*>(list()),
                             static_cast<QWidget*>(box())}) {
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

void KalvetorWindowTest::namesAndDescribesEachControlForScreenReaders_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("descriptionStart");
    QTest::newRow("title label") << "Label1" << "Калветор" << "Заглавие на програмата";
    QTest::newRow("name list") << "List1" << "Народни будители" << "Списък с имената на народните будители.";
    QTest::newRow("description box") << "Text1" << "Описание" << "Животът и делото на избрания будител";
}

void KalvetorWindowTest::namesAndDescribesEachControlForScreenReaders() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, descriptionStart);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(window_->findChild<QWidget*>(control));
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QVERIFY2(accessible->text(QAccessible::Description).startsWith(descriptionStart),
             qPrintable(accessible->text(QAccessible::Description)));
}

void KalvetorWindowTest::opensWithTheIntroductionAndNothingSelected() {
    QCOMPARE(list()->selectedRow(), -1);
    QCOMPARE(box()->toPlainText(), introductionAsShown());
    QCOMPARE(box()->textCursor().position(), 0);
    QCOMPARE(box()->verticalScrollBar()->value(), 0);
    QCOMPARE(QApplication::focusWidget(), box());
    QVERIFY(box()->isReadOnly());
    QCOMPARE(box()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(box()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void KalvetorWindowTest::showsTheDescriptionOfTheClickedName_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        QTest::addRow("%02d %s", i, nameAt(i).toUtf8().constData()) << i;
    }
}

void KalvetorWindowTest::showsTheDescriptionOfTheClickedName() {
    QFETCH(int, row);
    // From a different entry each time, so every click changes the selection.
    clickEntry((row + 7) % catalogue::kEntryCount);
    clickEntry(row);
    expectShown(row);
}

void KalvetorWindowTest::showsTheDescriptionAsTheKeyboardMovesTheSelection() {
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Home);
    expectShown(0);
    for (int row = 1; row < catalogue::kEntryCount; ++row) {
        QTest::keyClick(list(), Qt::Key_Down);
        expectShown(row);
    }
    QTest::keyClick(list(), Qt::Key_PageUp);
    const int afterPageUp = list()->selectedRow();
    QVERIFY(afterPageUp < catalogue::kEntryCount - 1);
    expectShown(afterPageUp);
    QTest::keyClick(list(), Qt::Key_Up);
    expectShown(afterPageUp - 1);
    QTest::keyClick(list(), Qt::Key_PageDown);
    expectShown(list()->selectedRow());
    QTest::keyClick(list(), Qt::Key_End);
    expectShown(catalogue::kEntryCount - 1);
}

void KalvetorWindowTest::showsTheDescriptionOfANameFoundByItsFirstLetter() {
    list()->setFocus();
    QKeyEvent letter(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("Х"));
    QApplication::sendEvent(list(), &letter);
    const int botev = 21;
    QVERIFY(list()->item(botev)->text().startsWith(QStringLiteral("Христо")));
    expectShown(botev);
}

void KalvetorWindowTest::clickOnTheSelectedNameShowsItAgainFromTheTop() {
    const int longest = 21;
    clickEntry(longest);
    QScrollBar* scroll = box()->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    box()->moveCursor(QTextCursor::End);
    scroll->setValue(scroll->maximum());
    QVERIFY(scroll->value() > 0);

    QSignalSpy chosen(list(), &NameList::entryChosen);
    clickEntry(longest);
    QCOMPARE(chosen.count(), 1);
    expectShown(longest);
}

void KalvetorWindowTest::keepsTheSelectionOnCtrlClick() {
    clickEntry(3);
    clickEntry(3, Qt::ControlModifier);
    expectShown(3);
    QTest::keyClick(list(), Qt::Key_Space, Qt::ControlModifier);
    expectShown(3);
}

void KalvetorWindowTest::logsAFailedSelectionAndKeepsTheBox() {
    clickEntry(5);
    // Only a program could clear the selection; the choice it reports then
    // has no description to show.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("not shown: no description at the selected position")));
    list()->clearSelection();
    QCOMPARE(list()->selectedRow(), -1);
    QCOMPARE(box()->toPlainText(), descriptionAt(5));
    QVERIFY(window_->isVisible());
}

void KalvetorWindowTest::descriptionBoxIsReadOnlyButCopyable() {
    clickEntry(2);
    box()->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("вмъкнат текст"));
    QTest::keyClicks(box(), QStringLiteral("abc"));
    QTest::keyClick(box(), Qt::Key_Delete);
    QTest::keyClick(box(), Qt::Key_Backspace);
    QTest::keyClick(box(), Qt::Key_Return);
    QTest::keyClick(box(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box()->toPlainText(), descriptionAt(2));

    QTest::keyClick(box(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), descriptionAt(2));
}

void KalvetorWindowTest::tabMovesBetweenTheBoxAndTheListOnly() {
    QCOMPARE(QApplication::focusWidget(), box());
    QTest::keyClick(box(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list());
    QTest::keyClick(list(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box());
    QTest::keyClick(box(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), list());
    QTest::keyClick(list(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), box());
    // Moving the focus chooses nothing.
    QCOMPARE(list()->selectedRow(), -1);
    QCOMPARE(box()->toPlainText(), introductionAsShown());
}

void KalvetorWindowTest::closingEndsTheProgramWithStatusZero() {
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(lastClosed.count(), 1);
    QVERIFY(!window_->isVisible());
}

QTEST_MAIN(KalvetorWindowTest)
#include "kalvetor_window_test.moc"
