// A Qt generic plugin that ends the program it is loaded into once the first
// frame of a top-level window is drawn. It then prints
//   first-frame-ns <CLOCK_MONOTONIC nanoseconds>
// on stdout and exits at once with status 0, so a run lasts exactly from
// exec to the first frame and its peak memory is that of start-up.
// Loaded with QT_QPA_GENERIC_PLUGINS=firstframe and QT_PLUGIN_PATH naming the
// directory that holds generic/.

#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

[[noreturn]] void reportAndExit() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("first-frame-ns %lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
    std::fflush(stdout);
    std::_Exit(0);
}

class FirstFrameWatch final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QWidget* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Paint && widget != nullptr && widget->isWindow()) {
            QCoreApplication::instance()->removeEventFilter(this);
            // The paint event starts the frame; the zero timer fires once the
            // whole window is painted and handed to the display server.
            QTimer::singleShot(0, this, reportAndExit);
        }
        return false;
    }
};

}  // namespace

class FirstFramePlugin final : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "first_frame_probe.json")

public:
    QObject* create(const QString& key, const QString&) override {
        if (key != QLatin1String("firstframe")) {
            return nullptr;
        }
        auto* watch = new FirstFrameWatch;
        QCoreApplication::instance()->installEventFilter(watch);
        return watch;
    }
};

#include "first_frame_probe.moc"
