#include "circuit/analysis.h"
#include "circuit/commandline.h"
#include "circuit/join.h"
#include "circuit/schematics.h"

namespace kvadra::circuit
{

QString NetlistError::text() const
{
    if (at.line <= 0)
        return message;
    return QStringLiteral("line %1, column %2: %3").arg(at.line).arg(at.column).arg(message);
}

namespace
{
class EngineImpl : public Engine
{
public:
    Report read(const QString &netlist) const override
    {
        const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
        const ReadResult r = readNetlist(netlist);
        Report report;
        report.error = r.error;
        if (!r.error || r.readable) {
            report.elements = r.netlist.infos;
            report.symbols = r.netlist.symbols;
            report.notes = r.netlist.notes;
        }
        return report;
    }

    std::unique_ptr<Analysis> analyse(const Request &request,
                                      const std::atomic<bool> *cancel) const override
    {
        const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
        try {
            return std::make_unique<AnalysisImpl>(request, cancel);
        } catch (const Cancelled &) {
            return nullptr;
        }
    }

    Joined join(const Request &first, const Request &second, JoinKind kind) const override
    {
        return joinNetworks(first, second, kind);
    }

    QString schematicNetlist(int number) const override { return schematicNetlistText(number); }

    int commandLine(const QStringList &args, QTextStream &out, QTextStream &err) const override
    {
        const std::lock_guard<std::recursive_mutex> lock(ginacMutex());
        return runCommandLine(*this, args, out, err);
    }
};
} // namespace

const Engine &engine()
{
    static const EngineImpl instance;
    return instance;
}

} // namespace kvadra::circuit
