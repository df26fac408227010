#include "circuit/commandline.h"
#include "circuit/analysis.h"
#include "circuit/join.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace kvadra::circuit
{

namespace
{
const QString usage = QStringLiteral(
    "usage: kvadra --parameters FILE|- [--value NAME=VALUE]... [--source ZS --load ZL] "
    "[--join cascade|series|parallel|series-parallel|parallel-series OTHER] [--json]");

constexpr qint64 maxFileSize = 1 << 20;

struct Options {
    QString file, other, source, load;
    std::optional<JoinKind> join;
    QMap<QString, QString> values;
    bool json = false;
};

struct Failure {
    int code;
    QString message;
};

std::variant<Options, Failure> parse(const QStringList &args)
{
    Options o;
    bool parameters = false;
    auto bad = [](const QString &why) { return Failure{2, why + QLatin1Char('\n') + usage}; };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto next = [&](const QString &what) -> std::optional<QString> {
            if (i + 1 >= args.size())
                return std::nullopt;
            Q_UNUSED(what);
            return args[++i];
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h"))
            return Failure{0, usage};
        if (a == QLatin1String("--parameters")) {
            const auto f = next(a);
            if (!f || parameters)
                return bad(
                    f ? QStringLiteral("--parameters given twice")
                      : QStringLiteral("--parameters needs a file, or - for standard input"));
            o.file = *f;
            parameters = true;
        } else if (a == QLatin1String("--json")) {
            o.json = true;
        } else if (a == QLatin1String("--value") || a.startsWith(QLatin1String("--value="))) {
            const auto v = a == QLatin1String("--value") ? next(a) : std::optional(a.mid(8));
            const qsizetype eq = v ? v->indexOf(QLatin1Char('=')) : -1;
            if (eq <= 0)
                return bad(QStringLiteral("--value needs NAME=VALUE"));
            o.values.insert(v->left(eq).trimmed(), v->mid(eq + 1));
        } else if (a == QLatin1String("--source") || a == QLatin1String("--load")) {
            const auto v = next(a);
            if (!v)
                return bad(a + QStringLiteral(" needs a value"));
            (a == QLatin1String("--source") ? o.source : o.load) = *v;
        } else if (a == QLatin1String("--join")) {
            const auto kind = next(a);
            const auto other = next(a);
            if (!kind || !other)
                return bad(QStringLiteral("--join needs a kind and a netlist file"));
            o.join = joinKindNamed(*kind);
            if (!o.join)
                return bad(QStringLiteral("unknown join '%1'").arg(*kind));
            o.other = *other;
        } else {
            return bad(QStringLiteral("unknown argument '%1'").arg(a));
        }
    }
    if (!parameters)
        return bad(QStringLiteral("--parameters FILE is needed"));
    if (o.source.isEmpty() != o.load.isEmpty())
        return bad(QStringLiteral("--source and --load go together"));
    return o;
}

std::optional<QString> readFile(const QString &name, QString *error)
{
    QFile file;
    const bool standardInput = name == QLatin1String("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly)
                                      : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        *error = QStringLiteral("%1: cannot read it: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (bytes.size() > maxFileSize) {
        *error = QStringLiteral("%1: larger than %2 bytes").arg(name).arg(maxFileSize);
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

QString placed(const QString &file, const NetlistError &e)
{
    if (e.at.line <= 0)
        return QStringLiteral("%1: %2").arg(file, e.message);
    return QStringLiteral("%1:%2:%3: %4").arg(file).arg(e.at.line).arg(e.at.column).arg(e.message);
}

QJsonObject entryJson(const Exact &e)
{
    QJsonObject o;
    if (e.known) {
        o.insert(QStringLiteral("exact"), e.exact);
        o.insert(QStringLiteral("decimal"), e.decimalText);
    }
    if (!e.formula.isEmpty()) {
        o.insert(QStringLiteral("formula"), e.formula);
        o.insert(QStringLiteral("latex"), e.formulaLatex);
    } else if (e.known) {
        o.insert(QStringLiteral("latex"), e.exactLatex);
    }
    // A program reading the output can use a formula no student would read.
    if (e.formula.isEmpty() && !e.fullFormula.isEmpty())
        o.insert(QStringLiteral("formula"), e.fullFormula);
    if (e.formulaTooLong)
        o.insert(QStringLiteral("formula_too_long"), true);
    return o;
}

QJsonObject setsJson(const std::array<SetReport, 5> &sets)
{
    QJsonObject all;
    for (ParameterSet set : allParameterSets) {
        const SetReport &r = sets[size_t(set)];
        QJsonObject o;
        if (r.state == SetState::Exists) {
            QJsonObject entries;
            for (int k = 0; k < 4; ++k)
                entries.insert(entryName(set, k), entryJson(r.entries[size_t(k)]));
            o.insert(QStringLiteral("entries"), entries);
        } else {
            o.insert(QStringLiteral("missing"), r.reason);
            if (r.state == SetState::Singular)
                o.insert(QStringLiteral("singular"), true);
        }
        all.insert(setName(set), o);
    }
    return all;
}

QJsonValue optionalBool(const std::optional<bool> &b)
{
    return b ? QJsonValue(*b) : QJsonValue(QJsonValue::Null);
}

QString unitsOf(ParameterSet set)
{
    switch (set) {
    case ParameterSet::Z:
        return QStringLiteral("in ohm");
    case ParameterSet::Y:
        return QStringLiteral("in S");
    case ParameterSet::H:
        return QStringLiteral("h11 in ohm, h22 in S, h12 and h21 ratios");
    case ParameterSet::G:
        return QStringLiteral("g11 in S, g22 in ohm, g12 and g21 ratios");
    case ParameterSet::ABCD:
        break;
    }
    return QStringLiteral("B in ohm, C in S, A and D ratios; B and D take I2 out of port 2");
}

QString entryText(const QString &name, const Exact &e)
{
    QStringList chain{name};
    if (!e.formula.isEmpty())
        chain << e.formula;
    else if (e.formulaTooLong)
        chain << QStringLiteral("(formula too long to show)");
    if (e.known && (chain.size() == 1 || e.exact != chain.last()))
        chain << e.exact;
    QString line = chain.join(QStringLiteral(" = "));
    if (e.known && e.decimalText != e.exact)
        line += QStringLiteral(" ≈ ") + e.decimalText;
    return line;
}

void writeSets(QTextStream &out, const std::array<SetReport, 5> &sets, const QString &indent)
{
    for (ParameterSet set : allParameterSets) {
        const SetReport &r = sets[size_t(set)];
        if (r.state != SetState::Exists) {
            out << indent << r.reason << '\n';
            continue;
        }
        out << indent << setName(set) << QStringLiteral(" parameters (") << unitsOf(set)
            << QStringLiteral(")\n");
        for (int k = 0; k < 4; ++k)
            out << indent << QStringLiteral("  ")
                << entryText(entryName(set, k), r.entries[size_t(k)]) << '\n';
    }
}

QString yesNo(const std::optional<bool> &b)
{
    return !b ? QStringLiteral("cannot tell") : *b ? QStringLiteral("yes") : QStringLiteral("no");
}
} // namespace

int runCommandLine(const Engine &engine, const QStringList &args, QTextStream &out,
                   QTextStream &err)
{
    const auto parsed = parse(args);
    if (const auto *f = std::get_if<Failure>(&parsed)) {
        (f->code == 0 ? out : err) << f->message << '\n';
        return f->code;
    }
    const Options &o = std::get<Options>(parsed);
    QString error;
    const auto text = readFile(o.file, &error);
    if (!text) {
        err << error << '\n';
        return 2;
    }
    const QString shownName = o.file == QLatin1String("-") ? QStringLiteral("<stdin>") : o.file;
    const Report read = engine.read(*text);
    if (read.error) {
        err << placed(shownName, *read.error) << '\n';
        return 2;
    }
    std::optional<QString> otherText;
    QStringList names = read.symbols;
    if (o.join) {
        otherText = readFile(o.other, &error);
        if (!otherText) {
            err << error << '\n';
            return 2;
        }
        const Report other = engine.read(*otherText);
        if (other.error) {
            err << placed(o.other, *other.error) << '\n';
            return 2;
        }
        names += other.symbols;
    }
    for (const QString &t : {o.source, o.load}) {
        ValueError ignored;
        if (const auto v = readValue(t, &ignored); v && v->isSymbol)
            names << v->symbol;
    }
    for (auto it = o.values.constBegin(); it != o.values.constEnd(); ++it) {
        if (!names.contains(it.key())) {
            err << QStringLiteral("--value: no symbol '%1' in the netlist; its symbols: %2\n")
                       .arg(it.key(), names.isEmpty() ? QStringLiteral("none")
                                                      : names.join(QStringLiteral(", ")));
            return 2;
        }
        ValueError problem;
        const auto v = readValue(it.value(), &problem);
        if (!v || v->isSymbol) {
            err << QStringLiteral("--value %1: %2\n")
                       .arg(it.key(),
                            v ? QStringLiteral("a number, not a symbol") : problem.message);
            return 2;
        }
    }
    Request request;
    request.netlist = *text;
    request.values = o.values;
    const auto analysis = engine.analyse(request);
    const Report &report = analysis->report();
    if (report.error) {
        err << placed(shownName, *report.error) << '\n';
        return 2;
    }
    std::optional<Terminated> terminated;
    if (!o.source.isEmpty()) {
        terminated = analysis->terminate(o.source, o.load);
        if (terminated->error) {
            err << QStringLiteral("--source/--load: ") << terminated->error->message << '\n';
            return 2;
        }
    }
    std::optional<Joined> joined;
    if (o.join) {
        Request second = request;
        second.netlist = *otherText;
        joined = engine.join(request, second, *o.join);
        if (joined->error) {
            err << placed(shownName, *joined->error) << '\n';
            return 2;
        }
    }
    if (o.json) {
        QJsonObject root;
        root.insert(QStringLiteral("sets"), setsJson(report.sets));
        root.insert(QStringLiteral("reciprocal"), optionalBool(report.reciprocal));
        root.insert(QStringLiteral("symmetric"), optionalBool(report.symmetric));
        root.insert(QStringLiteral("symbols"), QJsonArray::fromStringList(report.symbols));
        if (terminated) {
            QJsonObject t;
            for (const auto &[name, value] : terminated->quantities)
                t.insert(name, value ? entryJson(*value)
                                     : QJsonObject{{QStringLiteral("missing"),
                                                    terminated->missing.value(name)}});
            root.insert(QStringLiteral("terminated"), t);
        }
        if (joined) {
            QJsonObject j;
            j.insert(QStringLiteral("kind"), joinName(*o.join));
            j.insert(QStringLiteral("rule"),
                     QJsonObject{{QStringLiteral("sets"), setsJson(joined->rule)}});
            j.insert(QStringLiteral("built"),
                     QJsonObject{{QStringLiteral("sets"), setsJson(joined->built)}});
            j.insert(QStringLiteral("rule_holds"), joined->ruleHolds);
            j.insert(QStringLiteral("why"), joined->why);
            j.insert(QStringLiteral("netlist"), joined->netlist);
            root.insert(QStringLiteral("joined"), j);
        }
        out << QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
        return 0;
    }
    out << QStringLiteral("Network %1").arg(shownName);
    if (!report.symbols.isEmpty())
        out << QStringLiteral(", symbols ") << report.symbols.join(QStringLiteral(", "));
    if (!report.unvalued.isEmpty())
        out << QStringLiteral(" (without values: ") << report.unvalued.join(QStringLiteral(", "))
            << ')';
    out << '\n';
    writeSets(out, report.sets, QString());
    out << QStringLiteral("Reciprocal: ") << yesNo(report.reciprocal)
        << QStringLiteral(". Symmetric: ") << yesNo(report.symmetric) << ".\n";
    if (terminated) {
        out << QStringLiteral("Terminated: source impedance Zs = %1 at port 1, load ZL = %2 at "
                              "port 2 (Zin, Zout in ohm, P in W per V² of Vs)\n")
                   .arg(o.source, o.load);
        for (const auto &[name, value] : terminated->quantities)
            out << QStringLiteral("  ")
                << (value ? entryText(name, *value) : terminated->missing.value(name)) << '\n';
    }
    if (joined) {
        out << QStringLiteral("Joined (%1) with %2\n").arg(joinName(*o.join), o.other);
        out << QStringLiteral("  By the rule:\n");
        writeSets(out, joined->rule, QStringLiteral("    "));
        out << QStringLiteral("  The network built:\n");
        writeSets(out, joined->built, QStringLiteral("    "));
        out << QStringLiteral("  The rule holds: ")
            << (joined->ruleHolds ? QStringLiteral("yes") : QStringLiteral("no")) << ".\n";
        if (!joined->why.isEmpty())
            out << QStringLiteral("  ") << joined->why << '\n';
        out << QStringLiteral("  Its netlist:\n");
        for (const QString &line : joined->netlist.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            out << QStringLiteral("    ") << line << '\n';
    }
    return 0;
}

} // namespace kvadra::circuit
