// libFuzzer target for the circuit core. Every input is taken as a netlist (UTF-8):
//  - read() gives either an error at a line from 1 with a message, or the elements;
//  - what is read is analysed, once with a value for every symbol and once without, and ends:
//    the core's limits bound its work. Where every symbol has a value, each set that exists has
//    an exact value in every entry, Z·Y and H·G are the identity, and a set the values make
//    singular exists without them;
//  - the input's first comment line, judged against every entry and as a source and a load,
//    gives a verdict or an error, whatever it holds.
// Any violation aborts, which libFuzzer reports as a crash with the input saved.
#include "circuit/engine.h"

#include <QString>

#include <ginac/ginac.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace kvadra;
using namespace kvadra::circuit;

namespace
{
[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: \"%s\"\n", what, text.toUtf8().constData());
    std::abort();
}

using Matrix = std::array<GiNaC::numeric, 4>;

Matrix numbers(const SetReport &s)
{
    Matrix m;
    for (size_t k = 0; k < 4; ++k)
        m[k] = GiNaC::numeric(s.entries[k].exact.toLatin1().constData());
    return m;
}

bool inverses(const Matrix &a, const Matrix &b)
{
    return a[0] * b[0] + a[1] * b[2] == 1 && a[0] * b[1] + a[1] * b[3] == 0 &&
           a[2] * b[0] + a[3] * b[2] == 0 && a[2] * b[1] + a[3] * b[3] == 1;
}

void checkValued(const Report &r, const Report &symbolic, const QString &text)
{
    for (ParameterSet set : allParameterSets) {
        const SetReport &s = r.sets[size_t(set)];
        if (s.state == SetState::Exists) {
            for (const Exact &e : s.entries)
                if (!e.known || e.exact.isEmpty() || e.decimalText.isEmpty())
                    fail("an entry without its exact value", text);
        } else if (s.reason.isEmpty()) {
            fail("a missing set without a reason", text);
        }
        // Singular for these values means the set exists for others.
        if (s.state == SetState::Singular && !symbolic.error &&
            symbolic.sets[size_t(set)].state == SetState::Missing && !symbolic.symbols.isEmpty())
            fail("singular for values, missing without them", text);
    }
    for (auto [a, b] : {std::pair{ParameterSet::Z, ParameterSet::Y},
                        std::pair{ParameterSet::H, ParameterSet::G}}) {
        const SetReport &x = r.sets[size_t(a)], &y = r.sets[size_t(b)];
        if (x.state == SetState::Exists && y.state == SetState::Exists &&
            !inverses(numbers(x), numbers(y)))
            fail("inverse sets that do not multiply to the identity", text);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const Engine &core = engine();
    const Report read = core.read(text);
    if (read.error) {
        if (read.error->at.line < 1 || read.error->message.isEmpty())
            fail("an error without its line or message", text);
        return 0;
    }
    if (read.elements.isEmpty())
        fail("read nothing, and no error", text);
    Request plain;
    plain.netlist = text;
    const auto symbolic = core.analyse(plain);
    Request valued = plain;
    // Values from the input's own bytes, so they vary with it; zero now and then.
    for (int i = 0; i < read.symbols.size(); ++i)
        valued.values.insert(read.symbols[i], QString::number(int(data[size_t(i) % size]) % 7 - 1) +
                                                  QStringLiteral("k"));
    const auto withValues = core.analyse(valued);
    checkValued(withValues->report(), symbolic->report(), text);
    // A comment line holds what is typed: "* 5/11", "* R1 + R2".
    QString typed = text.section(QLatin1Char('\n'), 0, 0);
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1Char('*'))) {
            typed = line.mid(1);
            break;
        }
    typed.truncate(80);
    for (const auto *a : {symbolic.get(), withValues.get()}) {
        for (ParameterSet set : allParameterSets)
            for (int entry = 0; entry < 4; ++entry)
                if (a->report().sets[size_t(set)].state == SetState::Exists &&
                    !typed.trimmed().isEmpty() &&
                    a->judge(set, entry, typed).kind == Verdict::Empty)
                    fail("judged nothing for a typed text", text);
        a->terminate(QStringLiteral("50"), typed);
        a->terminate(typed, QStringLiteral("1k"));
    }
    return 0;
}
