#include "exercise/networkanalyser.h"

#include <QMetaObject>

namespace kvadra
{

NetworkAnalyser::NetworkAnalyser(QObject *parent) : QObject(parent)
{
    m_thread = std::thread([this] { run(); });
}

NetworkAnalyser::~NetworkAnalyser()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        m_next.reset();
        if (m_running)
            m_running->store(true);
    }
    m_wake.notify_all();
    m_thread.join();
}

void NetworkAnalyser::start(const circuit::Engine *engine, const circuit::Request &request)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        ++m_generation;
        if (m_running)
            m_running->store(true);
        m_next = Job{m_generation, engine, request};
    }
    m_busy = true;
    m_wake.notify_all();
}

void NetworkAnalyser::cancel()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    ++m_generation;
    m_next.reset();
    if (m_running)
        m_running->store(true);
    m_busy = false;
}

void NetworkAnalyser::run()
{
    for (;;) {
        Job job{};
        auto cancel = std::make_shared<std::atomic<bool>>(false);
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_next; });
            if (m_stop)
                return;
            job = std::move(*m_next);
            m_next.reset();
            m_running = cancel;
        }
        circuit::AnalysisPtr analysis =
            circuit::analyseLocked(*job.engine, job.request, cancel.get());
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_running.reset();
            if (m_stop || job.generation != m_generation)
                continue;
        }
        // Handed to the GUI thread; dropped there if a newer job started meanwhile.
        const quint64 generation = job.generation;
        QMetaObject::invokeMethod(
            this,
            [this, analysis, generation] {
                {
                    const std::lock_guard<std::mutex> lock(m_mutex);
                    if (generation != m_generation)
                        return;
                }
                m_busy = false;
                emit finished(analysis);
            },
            Qt::QueuedConnection);
    }
}

} // namespace kvadra
