// Messages Qt logs while the program waits to reach the display are held
// back, and passed on, in their order, once it is reached; a program started
// in the C locale runs in C.UTF-8.

#include <langinfo.h>
#include <QTest>
#include <QtGlobal>
#include <clocale>

#include "window/qt/startup.h"

namespace {

QStringList received;

const char* const kLocaleVariables[] = {"LANG", "LC_ALL", "LC_CTYPE"};

// The locale variables as "LANG=… LC_ALL=… LC_CTYPE=…", unset ones left out.
QString localeEnvironment() {
    QStringList set;
    for (const char* name : kLocaleVariables) {
        if (qEnvironmentVariableIsSet(name)) {
            set.append(QStringLiteral("%1=%2").arg(QLatin1String(name), qEnvironmentVariable(name)));
        }
    }
    return set.join(QLatin1Char(' '));
}

void setLocaleEnvironment(const QString& variables) {
    for (const char* name : kLocaleVariables) {
        qunsetenv(name);
    }
    for (const QString& variable : variables.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        qputenv(variable.section(QLatin1Char('='), 0, 0).toLatin1(),
                variable.section(QLatin1Char('='), 1).toLatin1());
    }
}

void capture(QtMsgType, const QMessageLogContext&, const QString& message) {
    received.append(message);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { environmentBefore_ = localeEnvironment(); }
    void cleanup() {
        setLocaleEnvironment(environmentBefore_);
        std::setlocale(LC_ALL, "");
    }

    void usesUtf8InTheCLocale_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("inUtf8");
        QTest::addRow("no locale") << QString() << QStringLiteral("LC_CTYPE=C.UTF-8") << true;
        QTest::addRow("LANG=C") << QStringLiteral("LANG=C") << QStringLiteral("LANG=C LC_CTYPE=C.UTF-8")
                                << true;
        QTest::addRow("LC_ALL=POSIX") << QStringLiteral("LANG=C.UTF-8 LC_ALL=POSIX")
                                      << QStringLiteral("LANG=C.UTF-8 LC_ALL=C.UTF-8") << true;
        QTest::addRow("LC_CTYPE=C") << QStringLiteral("LANG=C.UTF-8 LC_CTYPE=C")
                                    << QStringLiteral("LANG=C.UTF-8 LC_CTYPE=C.UTF-8") << true;
        QTest::addRow("C.UTF-8 already")
            << QStringLiteral("LANG=C.UTF-8") << QStringLiteral("LANG=C.UTF-8") << true;
        // Left to Qt, which says that it is missing.
        QTest::addRow("a missing locale")
            << QStringLiteral("LANG=xx_XX") << QStringLiteral("LANG=xx_XX") << false;
    }
    void usesUtf8InTheCLocale() {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, inUtf8);
        setLocaleEnvironment(before);
        std::setlocale(LC_ALL, "C");  // as every program starts
        startup::useUtf8InTheCLocale();
        QCOMPARE(localeEnvironment(), after);
        if (inUtf8) {
            QCOMPARE(QByteArray(nl_langinfo(CODESET)), QByteArray("UTF-8"));
        }
    }

    void passesOnTheMessagesHeldBackAtStart() {
        const QtMessageHandler before = qInstallMessageHandler(capture);
        startup::expectDisplay();
        qWarning("first held back");
        qInfo("second held back");
        const QStringList whileWaiting = received;
        startup::displayReached();
        qWarning("after the display");
        qInstallMessageHandler(before);

        QVERIFY(whileWaiting.isEmpty());
        QCOMPARE(received, QStringList({QStringLiteral("first held back"), QStringLiteral("second held back"),
                                        QStringLiteral("after the display")}));
    }

private:
    QString environmentBefore_;
};

QTEST_GUILESS_MAIN(StartupTest)
#include "startup_test.moc"
