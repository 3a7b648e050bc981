// Messages Qt logs while the program waits to reach the display are held
// back, and passed on, in their order, once it is reached.

#include <QTest>
#include <QtGlobal>

#include "window/qt/startup.h"

namespace {

QStringList received;

void capture(QtMsgType, const QMessageLogContext&, const QString& message) {
    received.append(message);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
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
};

QTEST_GUILESS_MAIN(StartupTest)
#include "startup_test.moc"
