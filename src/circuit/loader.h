#pragma once

// The circuit core for the program, which does not link GiNaC: the core is a module loaded the
// first time it is needed. QtCore only.
//
// One rule for every thread of the program: GiNaC keeps shared reference counts and global
// constants without locks, so no two threads may be inside the core at once. Every call into
// the Engine, every call on an Analysis, and every destruction of an Analysis holds an
// EngineLock; analyses are handed out as AnalysisPtr, whose deleter takes the lock itself.
// The GUI thread never waits behind a long job: when it takes the lock, the job that holds it
// (one that registered its cancel flag) is cancelled, and stops within milliseconds between
// elimination steps. The job's owner runs it again if it still wants the result.

#include "circuit/engine.h"

#include <atomic>
#include <memory>

class QString;

namespace kvadra::circuit
{

class EngineLock
{
public:
    // Waits for the lock. `job`: the cancel flag of the work done under it, which the GUI
    // thread sets when it needs the core. Taken on the GUI thread, it first cancels whatever
    // job holds the lock. Recursive on one thread.
    explicit EngineLock(std::atomic<bool> *job = nullptr);
    ~EngineLock();
    EngineLock(const EngineLock &) = delete;
    EngineLock &operator=(const EngineLock &) = delete;

private:
    std::atomic<bool> *m_previous = nullptr;
};

using AnalysisPtr = std::shared_ptr<const Analysis>;

// engine.analyse under the lock; the analysis it returns is destroyed under the lock too.
// Nothing when `cancel` was set, by its owner or by the GUI thread taking the lock.
AnalysisPtr analyseLocked(const Engine &engine, const Request &request,
                          std::atomic<bool> *cancel = nullptr);

// The core, loaded on the first call and kept: from the file the environment variable
// KVADRA_CIRCUIT_MODULE names (then nowhere else), or else from the running program's directory
// or the installed module directory. Nothing, with the reason in `error`, when it cannot be
// loaded.
const Engine *circuitEngine(QString *error = nullptr);

// `kvadra --parameters ...`: the command line through the loaded core, without any window;
// returns the exit code (1 when the core cannot be loaded).
int runParameters(int argc, char **argv);

} // namespace kvadra::circuit
