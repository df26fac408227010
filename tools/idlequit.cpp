// Linked into a program whose main() stays untouched, this ends it the first time its event
// loop is about to wait with a top-level window painted: the moment the program is ready for
// the student. It prints that moment (CLOCK_MONOTONIC, ns) for the start-up benchmark, then
// quits as a user would.
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace
{
bool painted = false;

class PaintWatch : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            auto *w = qobject_cast<QWidget *>(watched);
            if (w && w->isWindow())
                painted = true;
        }
        return false;
    }
};

void quitWhenIdle()
{
    QCoreApplication *app = QCoreApplication::instance();
    app->installEventFilter(new PaintWatch(app));
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     app, [] {
                         static bool done = false;
                         if (!painted || done)
                             return;
                         done = true;
                         timespec now{};
                         clock_gettime(CLOCK_MONOTONIC, &now);
                         std::printf("idle %lld\n", now.tv_sec * 1000000000LL + now.tv_nsec);
                         std::fflush(stdout);
                         QCoreApplication::quit();
                     });
    // A window that never shows must not hang the benchmark.
    QTimer::singleShot(30000, app, [] {
        std::fputs("no window painted within 30 s\n", stderr);
        QCoreApplication::exit(3);
    });
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(quitWhenIdle)
