// Prints, as one JSON object on standard output, what a screen reader
// should read of the window, taken from where each fact lives: the
// catalogue's texts as the window shows them and each control's accessible
// name and description from the window definition. check_screen_reader.py
// compares the window it reads through AT-SPI with this.

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

#include "catalogue/catalogue.h"
#include "window/caption.h"
#include "window/conformance/shown_text.h"
#include "window/definition.h"
#include "window/qt/qt_definition.h"

namespace {

QJsonObject control(const definition::Control& control, const QString& shownText) {
    // An empty accessible name: the control's own text names it.
    const QString name = control.accessibleName.empty() ? shownText : toQString(control.accessibleName);
    return {{QStringLiteral("name"), name},
            {QStringLiteral("description"), toQString(control.accessibleDescription)}};
}

}  // namespace

int main() {
    QJsonArray names;
    QJsonArray descriptions;
    for (int i = 0; i < catalogue::kEntryCount; ++i) {
        names.append(toQString(conformance::nameAt(i)));
        descriptions.append(toQString(conformance::descriptionAt(i)));
    }
    const QJsonObject expected{
        {QStringLiteral("caption"), toQString(frontend::caption())},
        {QStringLiteral("title"), control(definition::kTitleLabel, decoded(catalogue::kTitle))},
        {QStringLiteral("list"), control(definition::kNameList, QString())},
        {QStringLiteral("box"), control(definition::kDescriptionBox, QString())},
        {QStringLiteral("names"), names},
        {QStringLiteral("descriptions"), descriptions},
        {QStringLiteral("introduction"), toQString(conformance::introductionAsShown())},
    };
    const QByteArray json = QJsonDocument(expected).toJson(QJsonDocument::Compact);
    std::fwrite(json.constData(), 1, static_cast<std::size_t>(json.size()), stdout);
    std::fputc('\n', stdout);
    return std::ferror(stdout) != 0 ? 1 : 0;
}
