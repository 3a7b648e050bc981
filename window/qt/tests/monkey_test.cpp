// Random user actions on the real window, from a fixed and printed seed:
// clicks and drags anywhere in the client area, list and paging keys, Tab
// and Shift+Tab, typing and pasting into the description box, the mouse
// wheel on the list and on the box. After every action the window must be
// consistent: the box shows exactly the description at the selected
// position (the introduction while nothing was ever selected), the selection
// is never lost once made, the names keep their order and the window its size.
//
//   KALVETOR_MONKEY_SEED=<n> KALVETOR_MONKEY_ACTIONS=<n> monkey_test

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <random>
#include <vector>

#include "catalogue/catalogue.h"
#include "window/definition.h"
#include "window/qt/main_window.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/startup.h"
#include "window/qt/tests/shown_text.h"

namespace {

unsigned environmentNumber(const char* name, unsigned fallback) {
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void randomActionsKeepTheWindowConsistent();

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    QPoint anywhere() { return {pick(window_->width()), pick(window_->height())}; }
    Qt::KeyboardModifiers someModifiers() {
        static const Qt::KeyboardModifiers choices[] = {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier,
                                                        Qt::ControlModifier, Qt::ShiftModifier};
        return choices[pick(5)];
    }

    void click();
    void drag();
    void navigationKey();
    void tab();
    void typeIntoTheBox();
    void pasteIntoTheBox();
    void wheel();
    void checkConsistent(int step, const char* action);

    std::mt19937 random_;
    Kalvetor* window_ = nullptr;
    NameList* list_ = nullptr;
    QPlainTextEdit* box_ = nullptr;
    QStringList names_;
    QStringList descriptions_;
    QString introduction_;
    const QSize clientSize_{logicalPixels(definition::kWindow.clientWidth),
                            logicalPixels(definition::kWindow.clientHeight)};
    bool everSelected_ = false;
};

void MonkeyTest::click() {
    const QPoint at = anywhere();
    QWidget* target = window_->childAt(at);
    target = target != nullptr ? target : window_;
    QTest::mouseClick(target, Qt::LeftButton, someModifiers(), target->mapFrom(window_, at));
}

void MonkeyTest::drag() {
    QWidget* viewport = list_->viewport();
    const auto inside = [&] { return QPoint(pick(viewport->width()), pick(viewport->height())); };
    const QPoint from = inside();
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport, inside());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, viewport->rect().contains(from) ? inside() : from);
}

void MonkeyTest::navigationKey() {
    static const Qt::Key keys[] = {Qt::Key_Up,  Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home,
                                   Qt::Key_End, Qt::Key_Left, Qt::Key_Right,  Qt::Key_Space};
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window_, keys[pick(9)], someModifiers());
}

void MonkeyTest::tab() {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window_, pick(2) == 0 ? Qt::Key_Tab : Qt::Key_Backtab);
}

void MonkeyTest::typeIntoTheBox() {
    static const QString letters = QStringLiteral("abc xyzАБВ абвгдя,.-\n");
    QString typed;
    for (int i = 1 + pick(8); i > 0; --i) {
        typed += letters[pick(static_cast<int>(letters.size()))];
    }
    for (const QChar c : std::as_const(typed)) {
        QKeyEvent press(QEvent::KeyPress, c == u'\n' ? Qt::Key_Return : Qt::Key_unknown, Qt::NoModifier, c);
        QApplication::sendEvent(box_, &press);
    }
    QTest::keyClick(box_, pick(2) == 0 ? Qt::Key_Backspace : Qt::Key_Delete);
}

void MonkeyTest::pasteIntoTheBox() {
    QApplication::clipboard()->setText(pick(2) == 0 ? QStringLiteral("поставен текст")
                                                    : names_[pick(catalogue::kEntryCount)]);
    QTest::keyClick(box_, Qt::Key_V, Qt::ControlModifier);
}

void MonkeyTest::wheel() {
    QWidget* viewport = pick(2) == 0 ? list_->viewport() : box_->viewport();
    const QPoint at(pick(viewport->width()), pick(viewport->height()));
    const QPoint delta(0, pick(2) == 0 ? 120 : -120);
    QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &event);
}

void MonkeyTest::checkConsistent(int step, const char* action) {
    const auto where = [&] {
        return QStringLiteral("after action %1 (%2)").arg(step).arg(QLatin1String(action));
    };
    const int selected = list_->selectedRow();
    if (selected >= 0) {
        everSelected_ = true;
    }
    QVERIFY2(!everSelected_ || selected >= 0,
             qPrintable(where() + QStringLiteral(": the selection was lost")));
    const QString expected = everSelected_ ? descriptions_[selected] : introduction_;
    QVERIFY2(box_->toPlainText() == expected,
             qPrintable(where() + QStringLiteral(": the box does not show entry %1").arg(selected)));
    QVERIFY2(window_->size() == clientSize_,
             qPrintable(where() + QStringLiteral(": the window changed size")));
    QVERIFY2(window_->isVisible(), qPrintable(where()));
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        QVERIFY2(list_->item(i)->text() == names_[i],
                 qPrintable(where() + QStringLiteral(": the names moved")));
    }
    // The descriptions live only in the window's store: one item view, the names.
    QVERIFY2(window_->findChildren<QAbstractItemView*>().size() == 1, qPrintable(where()));
}

void MonkeyTest::randomActionsKeepTheWindowConsistent() {
    const unsigned seed = environmentNumber("KALVETOR_MONKEY_SEED", 20261208);
    const int actions = static_cast<int>(environmentNumber("KALVETOR_MONKEY_ACTIONS", 20000));
    qInfo("monkey: seed %u, %d actions (rerun with KALVETOR_MONKEY_SEED=%u)", seed, actions, seed);
    random_.seed(seed);

    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        names_ << nameAt(i);
        descriptions_ << descriptionAt(i);
    }
    introduction_ = introductionAsShown();

    startup::configureApplication();
    Kalvetor window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window_ = &window;
    list_ = window.findChild<NameList*>(QStringLiteral("List1"));
    box_ = window.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
    QVERIFY(list_ != nullptr && box_ != nullptr);

    struct Action {
        const char* name;
        void (MonkeyTest::*run)();
        int weight;
    };
    const std::vector<Action> choices = {
        {"click", &MonkeyTest::click, 6},
        {"drag in the list", &MonkeyTest::drag, 1},
        {"navigation key", &MonkeyTest::navigationKey, 4},
        {"tab", &MonkeyTest::tab, 2},
        {"typing", &MonkeyTest::typeIntoTheBox, 1},
        {"paste", &MonkeyTest::pasteIntoTheBox, 1},
        {"wheel", &MonkeyTest::wheel, 2},
    };
    std::vector<int> weights;
    for (const Action& action : choices) {
        weights.push_back(action.weight);
    }
    std::discrete_distribution<std::size_t> choose(weights.begin(), weights.end());

    checkConsistent(0, "start");
    for (int step = 1; step <= actions; ++step) {
        const Action& action = choices[choose(random_)];
        (this->*action.run)();
        checkConsistent(step, action.name);
        if (QTest::currentTestFailed()) {
            return;
        }
    }
    QVERIFY(everSelected_);
}

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
