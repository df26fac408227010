#include "circuit/loader.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QMutex>
#include <QRecursiveMutex>
#include <QTextStream>
#include <QThread>

namespace kvadra::circuit
{

namespace
{
QString programDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // The command line runs without an application object.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
}

QStringList candidates()
{
    const QString name = QStringLiteral(KVADRA_CIRCUIT_MODULE_NAME);
    const QString chosen = qEnvironmentVariable("KVADRA_CIRCUIT_MODULE");
    if (!chosen.isEmpty())
        return {chosen};
    const QString here = programDirectory();
    // The installed directory as configured, and the same directory relative to the program,
    // for a package installed under another prefix than the build was configured with.
    return {here + QLatin1Char('/') + name,
            QStringLiteral(KVADRA_CIRCUIT_MODULE_DIR) + QLatin1Char('/') + name,
            QFileInfo(here + QStringLiteral("/" KVADRA_CIRCUIT_MODULE_RELATIVE "/") + name)
                .absoluteFilePath()};
}
} // namespace

namespace
{
struct LockState {
    QRecursiveMutex core;
    // Guards the two below, never held while waiting for `core`.
    QMutex guard;
    std::atomic<bool> *job = nullptr; // the cancel flag of the work that holds `core`
    int urgent = 0;                   // GUI-thread callers waiting for `core`
};

LockState &lockState()
{
    static LockState state;
    return state;
}

bool onGuiThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}
} // namespace

EngineLock::EngineLock(std::atomic<bool> *job)
{
    LockState &s = lockState();
    const bool urgent = onGuiThread();
    if (urgent) {
        const QMutexLocker guard(&s.guard);
        ++s.urgent;
        if (s.job)
            s.job->store(true);
    }
    s.core.lock();
    const QMutexLocker guard(&s.guard);
    if (urgent)
        --s.urgent;
    m_previous = s.job;
    if (job) {
        s.job = job;
        // A job that won the lock from a waiting GUI thread gives it straight back.
        if (s.urgent > 0)
            job->store(true);
    }
}

EngineLock::~EngineLock()
{
    LockState &s = lockState();
    {
        const QMutexLocker guard(&s.guard);
        s.job = m_previous;
    }
    s.core.unlock();
}

AnalysisPtr analyseLocked(const Engine &engine, const Request &request, std::atomic<bool> *cancel)
{
    const EngineLock lock(cancel);
    std::unique_ptr<Analysis> made = engine.analyse(request, cancel);
    if (!made)
        return nullptr;
    return AnalysisPtr(made.release(), [](const Analysis *analysis) {
        const EngineLock held;
        delete analysis;
    });
}

const Engine *circuitEngine(QString *error)
{
    static QMutex mutex;
    static const Engine *loaded = nullptr;
    // Never unloaded: the engine's code must outlive every analysis it handed out.
    static QLibrary *library = nullptr;
    static QString failure;
    const QMutexLocker lock(&mutex);
    if (!loaded && failure.isEmpty()) {
        QStringList problems;
        for (const QString &path : candidates()) {
            if (!QFileInfo::exists(path)) {
                problems << path + QStringLiteral(": no such file");
                continue;
            }
            library = new QLibrary(path);
            using Entry = const Engine *(*)();
            const auto entry =
                library->load() ? reinterpret_cast<Entry>(library->resolve("kvadraCircuitEngine"))
                                : nullptr;
            if (entry) {
                loaded = entry();
                break;
            }
            problems << library->errorString();
            delete library;
            library = nullptr;
        }
        if (!loaded)
            failure = QStringLiteral("the circuit core cannot be loaded: ") +
                      problems.join(QStringLiteral("; "));
    }
    if (!loaded && error)
        *error = failure;
    return loaded;
}

int runParameters(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QTextStream out(stdout), err(stderr);
    QString error;
    const Engine *core = circuitEngine(&error);
    if (!core) {
        err << "kvadra: " << error << '\n';
        return 1;
    }
    const EngineLock lock;
    return core->commandLine(args, out, err);
}

} // namespace kvadra::circuit
