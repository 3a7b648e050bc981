#include "window/qt/main_window.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSize>
#include <QStyle>
#include <algorithm>
#include <vector>

#include "catalogue/catalogue.h"
#include "window/caption.h"
#include "window/colours.h"
#include "window/definition.h"
#include "window/qt/name_list.h"
#include "window/qt/qt_controls.h"
#include "window/qt/qt_definition.h"
#include "window/qt/read_only_text_box.h"

namespace {

using definition::Control;

frontend::ColourPair pairOf(const QPalette& palette, QPalette::ColorRole background,
                            QPalette::ColorRole text) {
    return {fromQColor(palette.color(QPalette::Active, background)),
            fromQColor(palette.color(QPalette::Active, text))};
}

// The widget's background (painted where it fills its background) and the
// text it draws on it.
void paintIn(QWidget& widget, const frontend::ColourPair& colours) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, toQColor(colours.background));
    palette.setColor(QPalette::WindowText, toQColor(colours.text));
    widget.setPalette(palette);
}

Qt::Alignment alignmentOf(const Control& control) {
    switch (control.alignment) {
        case definition::Alignment::Left: return Qt::AlignLeft;
        case definition::Alignment::Centre: return Qt::AlignHCenter;
        case definition::Alignment::Right: return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

// What every kind of control shares: name, place, visibility, focus, a
// background of its own filled where it has one (its colour is set with
// the window's), what a screen reader says of it.
void applyCommon(QWidget& widget, const Control& control) {
    widget.setObjectName(widgetName(control));
    widget.setGeometry(logicalRect(control.rect));
    widget.setVisible(control.visible);
    if (!control.takesFocus) {
        widget.setFocusPolicy(Qt::NoFocus);
    }
    if (control.background) {
        widget.setAutoFillBackground(control.opaque);
    }
    if (!control.accessibleName.empty()) {
        widget.setAccessibleName(toQString(control.accessibleName));
    }
    widget.setAccessibleDescription(toQString(control.accessibleDescription));
}

}  // namespace

Kalvetor::Kalvetor(QWidget* parent) : QWidget(parent) {
    setUpWindow();
    createControls();
    applyColours();
    controls_ = std::make_unique<QtControls>(descriptionStore_, *nameList_, *descriptionBox_);
    connect(nameList_, &NameList::entryChosen, this, &Kalvetor::showSelectedDescription);
}

Kalvetor::~Kalvetor() = default;

// The window's own properties, and what the definition cannot say in data:
// Qt's window flags for the title-bar buttons and the icon.
void Kalvetor::setUpWindow() {
    const definition::Window& window = definition::kWindow;
    setObjectName(QString::fromLatin1(window.name.data(), static_cast<qsizetype>(window.name.size())));
    setWindowTitle(toQString(frontend::caption()));
    setFont(windowFont());

    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags.setFlag(Qt::WindowSystemMenuHint, window.systemMenu);
    flags.setFlag(Qt::WindowCloseButtonHint, window.closeButton);
    flags.setFlag(Qt::WindowMinimizeButtonHint, window.minimiseButton);
    flags.setFlag(Qt::WindowMaximizeButtonHint, window.maximiseButton);
    setWindowFlags(flags);

    const QSize client(logicalPixels(window.clientWidth), logicalPixels(window.clientHeight));
    if (window.resizable) {
        resize(client);
    } else {
        setFixedSize(client);
    }

    // Naming the format spares Qt loading every image plugin to identify it.
    QImageReader icon(QStringLiteral(":/kalvetor/icon.png"), "png");
    icon.setAutoDetectImageFormat(false);
    setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));

    // No owner: the centre of the screen. The frame is not known before the
    // window is shown, so the client area is what is centred.
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
}

void Kalvetor::createControls() {
    // Qt stacks siblings in the order they are created.
    std::vector<QWidget*> tabOrder(definition::kControls.size() + 1, nullptr);
    for (const Control* stacked : definition::stackingOrder()) {
        const Control& control = *stacked;
        QWidget* widget = nullptr;
        switch (control.content) {
            case definition::Content::Descriptions:
                // The store is the window's plain list, not a widget.
                continue;
            case definition::Content::Names: {
                nameList_ = new NameList(this);
                nameList_->setSortingEnabled(control.sorted);
                nameList_->setSelectionMode(control.selection == definition::SelectionMode::Single
                                                ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::NoSelection);
                nameList_->setVerticalScrollBarPolicy(control.scrollBars == definition::ScrollBars::Vertical
                                                          ? Qt::ScrollBarAsNeeded
                                                          : Qt::ScrollBarAlwaysOff);
                nameList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                nameList_->setUniformItemSizes(true);
                widget = nameList_;
                break;
            }
            case definition::Content::Introduction: {
                // Read-only on every path a text can come in by, accessibility
                // clients included.
                descriptionBox_ = control.readOnly ? new ReadOnlyTextBox(this) : new QPlainTextEdit(this);
                descriptionBox_->setLineWrapMode(control.wordWrap ? QPlainTextEdit::WidgetWidth
                                                                  : QPlainTextEdit::NoWrap);
                descriptionBox_->setVerticalScrollBarPolicy(
                    control.scrollBars == definition::ScrollBars::Vertical ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAlwaysOff);
                descriptionBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                // Tab leaves the box, as it leaves a native text box.
                descriptionBox_->setTabChangesFocus(true);
                widget = descriptionBox_;
                break;
            }
            case definition::Content::Title: {
                label_ = new QLabel(this);
                label_->setAlignment(alignmentOf(control) | Qt::AlignTop);
                label_->setFrameShape(control.border ? QFrame::Box : QFrame::NoFrame);
                widget = label_;
                break;
            }
        }
        applyCommon(*widget, control);
        tabOrder[static_cast<std::size_t>(control.tabPlace)] = widget;
    }
    fillFromCatalogue();
    if (definition::kNameList.wholeRows) {
        nameList_->trimToWholeRows();
    }

    tabOrder.erase(std::remove(tabOrder.begin(), tabOrder.end(), nullptr), tabOrder.end());
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    // First in the tab order: it has the focus when the window opens.
    tabOrder.front()->setFocus();
}

// After the controls have their sizes, so the box lays its text out once,
// at its own width.
void Kalvetor::fillFromCatalogue() {
    label_->setText(decoded(catalogue::kTitle));
    QStringList names;
    for (const std::string_view name : catalogue::kNames) {
        names.append(decoded(name));
    }
    nameList_->addItems(names);
    descriptionBox_->setPlainText(decoded(catalogue::kIntroduction));
}

// Qt offers no high-contrast setting of its own before 6.10: a high-contrast
// palette counts as any other, by whether its text reads on the designed
// colours. The name list and the box keep the palette's own colours.
void Kalvetor::applyColours() {
    const QPalette system = QApplication::palette();
    const frontend::WindowColours shown =
        frontend::windowColours({.window = pairOf(system, QPalette::Window, QPalette::WindowText),
                                 .button = pairOf(system, QPalette::Button, QPalette::ButtonText),
                                 .highContrast = false});
    paintIn(*this, shown.window);
    paintIn(*label_, shown.label);
}

// The desktop's palette changed (its theme turned dark, say), or the program
// set another. Qt passes this event to no changeEvent().
bool Kalvetor::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::ApplicationPaletteChange) {
        applyColours();
    }
    return handled;
}

void Kalvetor::showSelectedDescription() {
    controls_->showSelectedDescription(catalogue::kNameList);
}
