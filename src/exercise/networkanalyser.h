#pragma once

#include "circuit/loader.h"

#include <QObject>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace kvadra
{

// Works out a network's formulas on a thread of its own, one job at a time: a newer job cancels
// the one under way, and only the newest one's analysis is handed back. A job the GUI thread
// cancelled by taking the engine lock comes back empty; its owner starts it again.
class NetworkAnalyser : public QObject
{
    Q_OBJECT
public:
    explicit NetworkAnalyser(QObject *parent = nullptr);
    ~NetworkAnalyser() override;

    void start(const circuit::Engine *engine, const circuit::Request &request);
    // Drops the job under way and any job waiting.
    void cancel();
    bool busy() const { return m_busy; }

signals:
    // The newest job's analysis, or nothing where it was cancelled.
    void finished(kvadra::circuit::AnalysisPtr analysis);

private:
    struct Job {
        quint64 generation;
        const circuit::Engine *engine;
        circuit::Request request;
    };
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<Job> m_next;
    std::shared_ptr<std::atomic<bool>> m_running; // the cancel flag of the job under way
    quint64 m_generation = 0;
    bool m_stop = false;
    bool m_busy = false; // GUI thread's view: a job was started and has not come back
    std::thread m_thread;
};

} // namespace kvadra
