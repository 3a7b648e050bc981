// The conformance suite's driver for the Qt front end: the real Kalvetor
// window in this process, worked with Qt Test's mouse and key events, which
// go through Qt's own event handling as a user's do. On the offscreen
// platform colours are read from the window's own rendering; on a real X
// display, from the screen.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "window/conformance/driver.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/startup.h"
#include "window/qt/tests/test_window.h"

namespace conformance {
namespace {

using definition::Control;

PixelRect toPixelRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

Qt::KeyboardModifiers qtModifiers(Modifier modifier) {
    switch (modifier) {
        case Modifier::None: return Qt::NoModifier;
        case Modifier::Shift: return Qt::ShiftModifier;
        case Modifier::Control: return Qt::ControlModifier;
    }
    return Qt::NoModifier;
}

class QtDriver final : public Driver {
public:
    QtDriver() : application_(argc_, argv_) { startup::configureApplication(); }

    void start() override {
        window_.reset();
        window_ = std::make_unique<TestWindow>();
        list_ = window_->list();
        box_ = window_->box();
        label_ = window_->label();
    }

    int dpi() override { return definition::kStandardDpi; }  // Qt lays out in pixels at 96 dpi
    PixelRect clientSize() override { return {0, 0, window_->width(), window_->height()}; }
    PixelRect frameOnScreen() override { return toPixelRect(window_->frameGeometry()); }
    PixelRect workArea() override { return toPixelRect(window_->screen()->availableGeometry()); }

    Frame frame() override {
        const Qt::WindowFlags flags = window_->windowFlags();
        return {.resizable = window_->minimumSize() != window_->maximumSize(),
                .minimiseButton = flags.testFlag(Qt::WindowMinimizeButtonHint),
                .maximiseButton = flags.testFlag(Qt::WindowMaximizeButtonHint),
                .systemMenu = flags.testFlag(Qt::WindowSystemMenuHint),
                .closeButton = flags.testFlag(Qt::WindowCloseButtonHint)};
    }

    std::u16string caption() override { return window_->windowTitle().toStdU16String(); }

    std::optional<PixelRect> controlRect(const Control& control) override {
        const QWidget* widget = widgetOf(control);
        if (widget == nullptr || !widget->isVisible()) {
            return std::nullopt;
        }
        return toPixelRect(widget->geometry());
    }

    Rgb colourAt(int x, int y) override { return coloursIn({x, y, 1, 1}).front(); }

    std::vector<Rgb> coloursIn(const PixelRect& area) override {
        QImage image;
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            const QImage whole = window_->grab().toImage();
            const qreal ratio = whole.devicePixelRatio();
            image = whole.copy(qRound(area.left * ratio), qRound(area.top * ratio),
                               qRound(area.width * ratio), qRound(area.height * ratio));
        } else {
            // What the display shows, once everything pending is drawn.
            QApplication::processEvents();
            const QPoint global = window_->mapToGlobal(QPoint(area.left, area.top));
            image =
                window_->screen()->grabWindow(0, global.x(), global.y(), area.width, area.height).toImage();
        }
        // One pixel of the image for each pixel of the layout, when scaled.
        if (image.size() != QSize(area.width, area.height)) {
            image = image.scaled(area.width, area.height);
        }
        std::vector<Rgb> colours;
        for (int y = 0; y < area.height; ++y) {
            for (int x = 0; x < area.width; ++x) {
                const QColor colour = image.pixelColor(x, y);
                colours.push_back({colour.red(), colour.green(), colour.blue()});
            }
        }
        return colours;
    }

    Rgb standardBoxBackground() override {
        const QColor colour = QApplication::palette(box_).color(QPalette::Active, QPalette::Base);
        return {colour.red(), colour.green(), colour.blue()};
    }

    FontInUse fontOf(const Control& control) override {
        const QWidget* widget = widgetOf(control);
        const QFont font = widget->font();
        const QFontInfo resolved(font);
        return {.family = resolved.family().toStdString(),
                .pixelHeight = resolved.pixelSize(),
                .weight = resolved.weight(),
                .italic = resolved.italic(),
                .underline = font.underline(),
                .strikeOut = font.strikeOut()};
    }

    std::u16string labelText() override { return label_->text().toStdU16String(); }

    const Control* focused() override {
        const QWidget* focus = QApplication::focusWidget();
        for (const Control& control : definition::kControls) {
            if (focus != nullptr && focus == widgetOf(control)) {
                return &control;
            }
        }
        return nullptr;
    }

    void press(Key key, Modifier modifier) override {
        static const struct {
            Key key;
            Qt::Key qt;
            Qt::KeyboardModifiers modifiers;
        } keys[] = {
            {Key::Up, Qt::Key_Up, {}},
            {Key::Down, Qt::Key_Down, {}},
            {Key::Left, Qt::Key_Left, {}},
            {Key::Right, Qt::Key_Right, {}},
            {Key::Home, Qt::Key_Home, {}},
            {Key::End, Qt::Key_End, {}},
            {Key::PageUp, Qt::Key_PageUp, {}},
            {Key::PageDown, Qt::Key_PageDown, {}},
            {Key::Tab, Qt::Key_Tab, {}},
            {Key::ShiftTab, Qt::Key_Backtab, Qt::ShiftModifier},
            {Key::Delete, Qt::Key_Delete, {}},
            {Key::Backspace, Qt::Key_Backspace, {}},
            {Key::Return, Qt::Key_Return, {}},
            {Key::Space, Qt::Key_Space, {}},
            {Key::SelectAll, Qt::Key_A, Qt::ControlModifier},
            {Key::Copy, Qt::Key_C, Qt::ControlModifier},
            {Key::Paste, Qt::Key_V, Qt::ControlModifier},
            {Key::Cut, Qt::Key_X, Qt::ControlModifier},
        };
        for (const auto& entry : keys) {
            if (entry.key == key) {
                QTest::keyClick(focusOrWindow(), entry.qt, entry.modifiers | qtModifiers(modifier));
                return;
            }
        }
    }

    void type(std::u16string_view text) override {
        for (const char16_t c : text) {
            const QString character(QChar{c});
            const QChar upper = character.at(0).toUpper();
            const auto key = upper.unicode() < 0x80 ? Qt::Key(upper.unicode()) : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Press, focusOrWindow(), key, character, Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, focusOrWindow(), key, character, Qt::NoModifier);
        }
    }

    std::u16string listItem(int row) override { return list_->item(row)->text().toStdU16String(); }
    int listCount() override { return list_->count(); }
    int selectedEntry() override { return list_->selectedRow(); }
    int listRowHeight() override { return list_->sizeHintForRow(0); }
    int listInnerHeight() override { return list_->viewport()->height(); }
    bool listSorted() override { return list_->isSortingEnabled(); }

    void clickEntry(int row) override {
        QListWidgetItem* item = list_->item(row);
        list_->scrollToItem(item);
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, list_->visualItemRect(item).center());
    }

    std::u16string boxText() override { return box_->toPlainText().toStdU16String(); }
    int boxFirstVisibleLine() override { return box_->verticalScrollBar()->value(); }
    void scrollBoxToEnd() override {
        box_->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    }
    bool boxHasTextSelected() override { return box_->textCursor().hasSelection(); }
    int boxCaretPosition() override { return box_->textCursor().position(); }

    // Qt Test hands mouse events to the widget given, so each goes to the
    // one under the point, as the window would route it; a drag's moves and
    // release to the one pressed, which holds the mouse until released.
    void clickAt(int x, int y, Modifier modifier) override {
        QWidget* target = widgetAt(x, y);
        QTest::mouseClick(target, Qt::LeftButton, qtModifiers(modifier), pointIn(target, x, y));
    }

    void doubleClickAt(int x, int y) override {
        QWidget* target = widgetAt(x, y);
        QTest::mouseDClick(target, Qt::LeftButton, {}, pointIn(target, x, y));
    }

    void drag(int fromX, int fromY, int toX, int toY) override {
        QWidget* target = widgetAt(fromX, fromY);
        const QPoint to = pointIn(target, toX, toY);
        QTest::mousePress(target, Qt::LeftButton, {}, pointIn(target, fromX, fromY));
        QTest::mouseMove(target, to);
        QTest::mouseRelease(target, Qt::LeftButton, {}, to);
    }

    void turnWheelAt(int x, int y, int notches) override {
        QWidget* target = widgetAt(x, y);
        const QPoint at = pointIn(target, x, y);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(),
                          QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    void setClipboard(std::u16string_view text) override {
        QApplication::clipboard()->setText(toQString(text));
    }
    std::u16string clipboard() override { return QApplication::clipboard()->text().toStdU16String(); }

    int closeAndWaitForExit() override {
        QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
        const int status = QApplication::exec();
        window_.reset();
        return status;
    }

    int monkeyActions() override { return 20'000; }

private:
    QWidget* widgetAt(int x, int y) {
        QWidget* child = window_->childAt(x, y);
        return child != nullptr ? child : window_.get();
    }

    // A point of the client area in the target's own coordinates.
    QPoint pointIn(QWidget* target, int x, int y) { return target->mapFrom(window_.get(), QPoint(x, y)); }

    QWidget* widgetOf(const Control& control) {
        if (&control == &definition::kDescriptionStore) {
            // Any item view other than the name list would be the store shown.
            for (QAbstractItemView* view : window_->findChildren<QAbstractItemView*>()) {
                if (view != list_) {
                    return view;
                }
            }
            return nullptr;
        }
        if (&control == &definition::kNameList) {
            return list_;
        }
        return window_->findChild<QWidget*>(widgetName(control));
    }

    QWidget* focusOrWindow() {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus : window_.get();
    }

    static inline int argc_ = 1;
    static inline char programName_[] = "qt_conformance_test";
    static inline char* argv_[] = {programName_, nullptr};
    QApplication application_;
    std::unique_ptr<TestWindow> window_;
    NameList* list_ = nullptr;
    QPlainTextEdit* box_ = nullptr;
    QLabel* label_ = nullptr;
};

}  // namespace

std::unique_ptr<Driver> makeDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace conformance
