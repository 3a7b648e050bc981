// The window under the desktop's palette: under a light, a dark and two
// high-contrast palettes, set before the window is built or while it is
// open, the title, the names and the description each keep WCAG 2's least
// contrast against the background they are drawn on, read from the window's
// own pixels; under a light palette the designed colours hold.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "window/colours.h"
#include "window/definition.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_definition.h"
#include "window/qt/startup.h"
#include "window/qt/tests/test_window.h"
#include "window/tests/legibility.h"

namespace {

// The legibility of the text in an area of the window's picture.
frontend::Legibility legibilityIn(const QImage& image, const QRect& area) {
    std::vector<definition::Colour> pixels;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            pixels.push_back(fromQColor(image.pixelColor(x, y)));
        }
    }
    return frontend::legibility(pixels);
}

QPalette darkPalette() {
    QPalette palette(QColor(53, 53, 53));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Base, QColor(42, 42, 42));
    palette.setColor(QPalette::Text, QColor(230, 230, 230));
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

QPalette highContrastPalette(const QColor& paper, const QColor& ink, const QColor& highlight) {
    QPalette palette(paper);
    for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        palette.setColor(role, paper);
    }
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(role, ink);
    }
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, paper);
    return palette;
}

}  // namespace

class PaletteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void keepsEveryTextReadable_data();
    void keepsEveryTextReadable();
    void followsAPaletteChangeWhileOpen();

private:
    // The title, the names and the description, each against its own
    // background; and whether the window shows its designed colours.
    void expectReadable(TestWindow& window);
    void expectDesignedColours(Kalvetor& window);

    QPalette light_;
};

void PaletteTest::initTestCase() {
    startup::configureApplication();
    light_ = QApplication::palette();
}

void PaletteTest::cleanup() {
    QApplication::setPalette(light_);
}

void PaletteTest::expectReadable(TestWindow& window) {
    const QImage image = window.grab().toImage();
    QCOMPARE(image.size(), window.size());
    const QRect label = logicalRect(definition::kTitleLabel.rect);
    const QRect list = logicalRect(definition::kNameList.rect);
    // The title above the list, which covers the label's bottom row.
    const QRect title(label.left(), label.top(), label.width(), list.top() - label.top());
    const auto inside = [&](const QAbstractScrollArea* area) {
        return QRect(area->viewport()->mapTo(&window, QPoint(0, 0)), area->viewport()->size());
    };
    for (const auto& [what, area] : {std::pair{"title", title}, std::pair{"names", inside(window.list())},
                                     std::pair{"description", inside(window.box())}}) {
        const frontend::Legibility text = legibilityIn(image, area);
        QVERIFY2(text.contrast >= frontend::kLeastTextContrast,
                 qPrintable(QStringLiteral("%1: %2:1 on %3")
                                .arg(QLatin1String(what))
                                .arg(text.contrast, 0, 'f', 2)
                                .arg(toQColor(text.background).name())));
    }
}

void PaletteTest::expectDesignedColours(Kalvetor& window) {
    const QImage image = window.grab().toImage();
    const QRect label = logicalRect(definition::kTitleLabel.rect);
    QCOMPARE(image.pixelColor(4, 4), toQColor(definition::kWindow.background));
    QCOMPARE(image.pixelColor(label.left() + 2, label.top() + 2),
             toQColor(*definition::kTitleLabel.background));
}

void PaletteTest::keepsEveryTextReadable_data() {
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<bool>("designed");
    QTest::newRow("light") << light_ << true;
    QTest::newRow("dark") << darkPalette() << false;
    QTest::newRow("white on black") << highContrastPalette(Qt::black, Qt::white, Qt::yellow) << false;
    // Its black text reads on the designed colours, which therefore hold.
    QTest::newRow("black on white") << highContrastPalette(Qt::white, Qt::black, QColor(0, 0, 160)) << true;
}

void PaletteTest::keepsEveryTextReadable() {
    QFETCH(QPalette, palette);
    QFETCH(bool, designed);
    QApplication::setPalette(palette);
    const auto window = std::make_unique<TestWindow>();
    expectReadable(*window);
    if (designed) {
        expectDesignedColours(*window);
    } else {
        QCOMPARE(window->grab().toImage().pixelColor(4, 4), palette.color(QPalette::Window));
    }
}

// Qt tells the open windows of a new palette by an event it posts.
void PaletteTest::followsAPaletteChangeWhileOpen() {
    const auto window = std::make_unique<TestWindow>();
    const auto corner = [&] { return window->grab().toImage().pixelColor(4, 4); };
    for (const QPalette& palette : {darkPalette(), highContrastPalette(Qt::black, Qt::yellow, Qt::white)}) {
        QApplication::setPalette(palette);
        QVERIFY(QTest::qWaitFor([&] { return corner() == palette.color(QPalette::Window); }, 10'000));
        expectReadable(*window);
    }
    QApplication::setPalette(light_);
    QVERIFY(QTest::qWaitFor([&] { return corner() == toQColor(definition::kWindow.background); }, 10'000));
    expectReadable(*window);
    expectDesignedColours(*window);
}

QTEST_MAIN(PaletteTest)
#include "palette_test.moc"
