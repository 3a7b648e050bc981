#include "window/kalvetor.h"

#include "catalogue/catalogue.h"
#include "catalogue/selection.h"
#include "resources/identity.h"
#include "ui_kalvetor.h"
#include "window/catalogue_text.h"
#include "window/window_controls.h"

#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QtDebug>

Kalvetor::Kalvetor(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::Kalvetor>()) {
    ui_->setupUi(this);
    setFixedFrameCentredOnScreen();
    fillFromCatalogue();
    ui_->List1->trimToWholeRows();

    controls_ = std::make_unique<WindowControls>(*ui_->List1, descriptionStore_, *ui_->Text1);
    connect(ui_->List1, &NameList::entryChosen, this, &Kalvetor::showSelectedDescription);

    // First in the tab order: the box has the focus when the window opens.
    ui_->Text1->setFocus();
}

Kalvetor::~Kalvetor() = default;

void Kalvetor::fillFromCatalogue() {
    const QString title = decoded(catalogue::kTitle);
    setWindowTitle(QStringLiteral(KALVETOR_WEB_ADDRESS "  ") + title);
    ui_->Label1->setText(title);

    QStringList names;
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        names.append(decoded(catalogue::kNames[static_cast<std::size_t>(i)]));
        descriptionStore_.push_back(catalogue::decodeCp1251(catalogue::kDescriptions[static_cast<std::size_t>(i)]));
    }
    ui_->List1->addItems(names);
    ui_->Text1->setPlainText(decoded(catalogue::kIntroduction));
}

// What the window definition cannot say: the title-bar buttons (system menu
// and close, no minimise or maximise), the icon, and the place on the screen.
void Kalvetor::setFixedFrameCentredOnScreen() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    // Naming the format spares Qt loading every image plugin to identify it.
    QImageReader icon(QStringLiteral(":/kalvetor/icon.png"), "png");
    icon.setAutoDetectImageFormat(false);
    setWindowIcon(QIcon(QPixmap::fromImage(icon.read())));
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
}

void Kalvetor::showSelectedDescription() {
    const catalogue::SelectionOutcome outcome = catalogue::ShowSelectedDescription(*controls_, catalogue::kNameList);
    if (outcome != catalogue::SelectionOutcome::Shown) {
        const std::string_view why = catalogue::describe(outcome);
        qWarning().noquote() << "Kalvetor: the selected description was not shown:"
                             << QString::fromUtf8(why.data(), static_cast<qsizetype>(why.size()));
    }
}
