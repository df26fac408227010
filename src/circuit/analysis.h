#pragma once

// The Analysis behind engine.h, for the rest of the core (joins, the command line). Internal.

#include "circuit/engine.h"
#include "circuit/judge.h"
#include "circuit/network.h"

#include <mutex>

namespace kvadra::circuit
{

// GiNaC and CLN keep shared state without locks: one thread in them at a time.
std::recursive_mutex &ginacMutex();

// A source impedance or a load as typed: a number, a conductance, a symbol; or open (0 S).
struct Termination {
    bool open = false;
    GiNaC::ex z;                         // with its symbol, where it is one
    std::optional<GiNaC::numeric> value; // where known
    QString symbol;
};

// One quantity of a terminated network in base units, and why it is missing.
struct TerminatedValue {
    QString name;
    Quantity kind = Quantity::None;
    EntryValue value;
    bool exists = false;
    QString missing;
};

class AnalysisImpl : public Analysis
{
public:
    // Throws Cancelled when `cancel` is set during the work.
    AnalysisImpl(const Request &request, const std::atomic<bool> *cancel,
                 std::shared_ptr<SymbolTable> table = nullptr);
    ~AnalysisImpl() override;

    const Report &report() const override { return m_report; }
    Verdict judge(ParameterSet set, int entry, const QString &typed) const override;
    Terminated terminate(const QString &zs, const QString &zl) const override;
    Verdict judgeTerminated(const QString &zs, const QString &zl, const QString &quantity,
                            const QString &typed) const override;

    const Network *network() const { return m_network.get(); }
    const Request &request() const { return m_request; }
    // The terminated quantities in base units, or the error in zs or zl.
    std::vector<TerminatedValue> terminatedValues(const QString &zs, const QString &zl,
                                                  std::optional<NetlistError> *error,
                                                  QStringList *extraSymbols) const;
    // An exact value in base units as the report gives it, in the display unit of `kind`.
    Exact exact(const EntryValue &v, Quantity kind, const QString &name,
                const QString &definition) const;

private:
    void build(const std::atomic<bool> *cancel);
    std::optional<Termination> termination(const QString &text, const QString &what,
                                           std::optional<NetlistError> *error) const;
    JudgeTarget entryTarget(ParameterSet set, int entry) const;
    FormulaContext context(const QStringList &extra = {}) const;
    qint16 power(Quantity kind) const;

    Request m_request;
    std::shared_ptr<SymbolTable> m_table;
    Report m_report;
    std::unique_ptr<Network> m_network;
};

} // namespace kvadra::circuit
