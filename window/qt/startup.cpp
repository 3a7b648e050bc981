#include "window/qt/startup.h"

#include <QApplication>
#include <QDebug>
#include <QLibraryInfo>
#include <QPointer>
#include <QString>
#include <QTranslator>
#include <QtGlobal>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "resources/identity.h"
#include "window/qt/accessibility.h"
#include "window/qt/qt_definition.h"

namespace startup {
namespace {

QtMessageHandler passOn = nullptr;
QPointer<QTranslator> installedTranslation;
std::vector<std::pair<QtMsgType, QString>> heldBack;

QString environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? QString::fromLocal8Bit(value) : QString();
}

QString whyNoWindow() {
    const QString platform = environment("QT_QPA_PLATFORM");
    if (!platform.isEmpty()) {
        return QStringLiteral("the window system \"%1\" named by QT_QPA_PLATFORM could not be started")
            .arg(platform);
    }
    const QString display = environment("DISPLAY");
    const QString wayland = environment("WAYLAND_DISPLAY");
    if (display.isEmpty() && wayland.isEmpty()) {
        return QStringLiteral("no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)");
    }
    return QStringLiteral("the display %1 could not be reached").arg(display.isEmpty() ? wayland : display);
}

void holdOrFail(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "kalvetor: cannot open the window: %s\n", qPrintable(whyNoWindow()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    heldBack.emplace_back(type, message);
}

}  // namespace

void useUtf8InTheCLocale() {
    // A locale the environment names but the system lacks fails as a whole:
    // Qt's warning then says what the user may want to know.
    if (std::setlocale(LC_ALL, "") == nullptr) {
        return;
    }
    const char* characterType = std::setlocale(LC_CTYPE, nullptr);
    if (std::strcmp(characterType, "C") != 0 && std::strcmp(characterType, "POSIX") != 0) {
        return;
    }
    // LC_ALL, where set, overrides every category.
    qputenv(qEnvironmentVariableIsEmpty("LC_ALL") ? "LC_CTYPE" : "LC_ALL", "C.UTF-8");
    std::setlocale(LC_ALL, "");
}

void expectDisplay() {
    passOn = qInstallMessageHandler(holdOrFail);
}

void displayReached() {
    qInstallMessageHandler(passOn);
    for (const auto& [type, message] : heldBack) {
        passOn(type, QMessageLogContext(), message);
    }
    heldBack.clear();
}

QLocale programLocale() {
    return QLocale(QLocale::Bulgarian, QLocale::Bulgaria);
}

bool installQtTranslation(const QString& directory) {
    // One translation of Qt's texts at a time: the one from this directory,
    // or none.
    if (installedTranslation) {
        QCoreApplication::removeTranslator(installedTranslation);
        delete installedTranslation;
    }
    auto* translation = new QTranslator(QCoreApplication::instance());
    // Tries qtbase_bg_BG.qm, then qtbase_bg.qm.
    if (!translation->load(programLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), directory)) {
        delete translation;
        qWarning().noquote() << QStringLiteral(
                                    "Kalvetor: no qtbase_%1.qm in %2: Qt's own menus stay in English")
                                    .arg(QLocale::languageToCode(programLocale().language()), directory);
        return false;
    }
    QCoreApplication::installTranslator(translation);
    installedTranslation = translation;
    return true;
}

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral(KALVETOR_APPLICATION_NAME));
    QApplication::setApplicationVersion(QStringLiteral(KALVETOR_DISPLAY_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KALVETOR_APP_ID));
    // Every control uses the window's font: made the application's font
    // before any widget exists, Qt never resolves a default font of its own.
    QApplication::setFont(windowFont());
    // Widgets take the default locale when they are made, and the
    // accessibility bridge reports it as the application's locale, so a
    // screen reader can pick a Bulgarian voice whatever LANG says.
    QLocale::setDefault(programLocale());
    installQtTranslation(QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    accessibility::install();
}

}  // namespace startup
