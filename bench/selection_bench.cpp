// ShowSelectedDescription through the real Kalvetor window on each of the 24
// entries, against the least Qt needs for the same visible result: the same
// text set on a bare QPlainTextEdit of the same size, font and properties.
// Each timed step ends with the description box's viewport repainted
// synchronously, so it includes laying out and drawing the text.
//
// The name is selected in the window's list first, untimed and with the
// list's signals blocked, and the list's new highlight is painted; the timed
// step is then the operation on the window's own controls (the name list,
// the description store, the description box) and the box's repaint.
//
// The two alternate entry by entry and swap their order every round, so
// load on the machine and warm caches fall on both alike. Prints per round
//   round <Kalvetor ns> <bare ns>
// each the sum over the 24 entries. Usage: selection_bench [rounds]

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/selection.h"
#include "window/definition.h"
#include "window/qt/main_window.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_controls.h"
#include "window/qt/qt_definition.h"
#include "window/qt/startup.h"
#include "window/window_controls.h"

namespace {

constexpr int kWarmUpRounds = 3;

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "selection_bench: %s\n", why);
    std::exit(1);
}

template <typename Step>
long long nanosecondsTaken(Step step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(end - start).count();
}

void waitUntilExposed(const std::vector<QWidget*>& windows) {
    QElapsedTimer waited;
    waited.start();
    const auto exposed = [](const QWidget* w) {
        return w->windowHandle() != nullptr && w->windowHandle()->isExposed();
    };
    while (!std::all_of(windows.begin(), windows.end(), exposed)) {
        if (waited.elapsed() > 10'000) {
            fail("the windows were not shown within 10 s");
        }
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

// The two timed steps, kept out of line so that a profiler can tell them
// apart by name (see docs/benchmarks.md).
[[gnu::noinline]] void showInKalvetor(QtControls& controls, QPlainTextEdit& text) {
    if (catalogue::ShowSelectedDescription(controls, catalogue::kNameList) !=
        catalogue::SelectionOutcome::Shown) {
        fail("ShowSelectedDescription failed");
    }
    text.viewport()->repaint();
}

[[gnu::noinline]] void setOnBareBox(QPlainTextEdit& box, const QString& text) {
    box.setPlainText(text);
    box.viewport()->repaint();
}

// The description box with the properties Kalvetor gives it, alone in a
// window of the same size and font.
class BareBox {
public:
    BareBox() {
        window_.setFixedSize(logicalPixels(definition::kWindow.clientWidth),
                             logicalPixels(definition::kWindow.clientHeight));
        box_.setGeometry(logicalRect(definition::kDescriptionBox.rect));
        box_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box_.setTabChangesFocus(true);
        box_.setLineWrapMode(QPlainTextEdit::WidgetWidth);
        box_.setReadOnly(true);
        box_.setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        box_.setFocus();
    }

    QWidget& window() { return window_; }
    QPlainTextEdit& box() { return box_; }

private:
    QWidget window_;
    QPlainTextEdit box_{&window_};
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    startup::configureApplication();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 200;
    if (rounds <= 0) {
        fail("the number of rounds must be positive");
    }

    std::vector<QString> descriptions;
    for (const std::string_view description : catalogue::kDescriptions) {
        descriptions.push_back(decoded(description));
    }

    Kalvetor kalvetor;
    auto* list = kalvetor.findChild<NameList*>(widgetName(definition::kNameList));
    auto* text = kalvetor.findChild<QPlainTextEdit*>(widgetName(definition::kDescriptionBox));
    if (list == nullptr || text == nullptr || list->count() != catalogue::kEntryCount) {
        fail("the window has no name list with 24 names or no description box");
    }
    // The window's own controls, over a store of the same kind as its own.
    const frontend::DescriptionStore store;
    QtControls controls(store, *list, *text);
    // Kalvetor top left and on top, the bare box's window bottom right: on
    // a 1024x768 screen they do not overlap, so
    // every pixel either step paints reaches the screen.
    BareBox bare;
    const QRect screen = kalvetor.screen()->availableGeometry();
    bare.window().move(screen.right() + 1 - bare.window().width(),
                       screen.bottom() + 1 - bare.window().height());
    bare.window().show();
    kalvetor.move(screen.topLeft());
    kalvetor.show();
    kalvetor.raise();
    waitUntilExposed({&kalvetor, &bare.window()});

    for (int round = 0; round < kWarmUpRounds + rounds; ++round) {
        long long kalvetorTotal = 0;
        long long bareTotal = 0;
        for (int entry = 0; entry < catalogue::kEntryCount; ++entry) {
            // Select the name and paint the list, untimed.
            QListWidgetItem* item = list->item(entry);
            list->scrollToItem(item);
            {
                const QSignalBlocker quiet(list);
                list->setCurrentItem(item);
            }
            list->repaint();
            QApplication::processEvents();
            const QString& description = descriptions[static_cast<std::size_t>(entry)];
            const auto choose = [&] { showInKalvetor(controls, *text); };
            const auto setBare = [&] { setOnBareBox(bare.box(), description); };
            if ((round + entry) % 2 == 0) {
                kalvetorTotal += nanosecondsTaken(choose);
                bareTotal += nanosecondsTaken(setBare);
            } else {
                bareTotal += nanosecondsTaken(setBare);
                kalvetorTotal += nanosecondsTaken(choose);
            }
            if (text->toPlainText() != description) {
                fail("the operation did not show the selected description");
            }
            // What either window left for later (timers, deferred updates)
            // runs here, outside the timed steps.
            QApplication::processEvents();
        }
        if (round >= kWarmUpRounds) {
            std::printf("round %lld %lld\n", kalvetorTotal, bareTotal);
        }
    }
    return 0;
}
