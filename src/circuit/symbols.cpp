#include "circuit/symbols.h"

#include <ginac/ginac.h>

#include <algorithm>
#include <numeric>
#include <sstream>

namespace kvadra::circuit
{

QString latexName(const QString &name)
{
    static const QStringList greek = {
        QStringLiteral("alpha"),   QStringLiteral("beta"),    QStringLiteral("gamma"),
        QStringLiteral("delta"),   QStringLiteral("epsilon"), QStringLiteral("zeta"),
        QStringLiteral("eta"),     QStringLiteral("theta"),   QStringLiteral("iota"),
        QStringLiteral("kappa"),   QStringLiteral("lambda"),  QStringLiteral("mu"),
        QStringLiteral("nu"),      QStringLiteral("xi"),      QStringLiteral("pi"),
        QStringLiteral("rho"),     QStringLiteral("sigma"),   QStringLiteral("tau"),
        QStringLiteral("upsilon"), QStringLiteral("phi"),     QStringLiteral("chi"),
        QStringLiteral("psi"),     QStringLiteral("omega")};
    // Capitals LaTeX has letters of its own for.
    static const QStringList capitals = {
        QStringLiteral("Gamma"),  QStringLiteral("Delta"),   QStringLiteral("Theta"),
        QStringLiteral("Lambda"), QStringLiteral("Xi"),      QStringLiteral("Pi"),
        QStringLiteral("Sigma"),  QStringLiteral("Upsilon"), QStringLiteral("Phi"),
        QStringLiteral("Psi"),    QStringLiteral("Omega")};
    if (name.isEmpty())
        return name;
    QString base = name.left(1);
    QString rest = name.mid(1);
    for (const QStringList *list : {&greek, &capitals})
        for (const QString &letter : *list)
            if (name.startsWith(letter) &&
                (name.size() == letter.size() || name[letter.size()].isDigit() ||
                 name[letter.size()] == QLatin1Char('_'))) {
                base = QLatin1Char('\\') + letter;
                rest = name.mid(letter.size());
            }
    if (base == QLatin1String("_"))
        base = QStringLiteral("\\_");
    if (rest.startsWith(QLatin1Char('_')))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return base;
    rest.replace(QLatin1Char('_'), QStringLiteral("\\_"));
    return base + QStringLiteral("_{") + rest + QLatin1Char('}');
}

GiNaC::symbol SymbolTable::symbol(const QString &name)
{
    if (const auto it = m_symbols.constFind(name); it != m_symbols.constEnd())
        return *it;
    GiNaC::symbol s(name.toStdString(), latexName(name).toStdString());
    m_symbols.insert(name, s);
    m_names.append(name);
    m_order.push_back(s);
    return s;
}

GiNaC::symbol SymbolTable::conductanceOf(const QString &name)
{
    if (const auto it = m_conductances.constFind(name); it != m_conductances.constEnd())
        return *it;
    const GiNaC::symbol r = symbol(name);
    // Never written: every formula has it replaced by 1/R before it is shown.
    GiNaC::symbol g(("1/" + name).toStdString());
    m_conductances.insert(name, g);
    m_toResistances[g] = 1 / GiNaC::ex(r);
    return g;
}

GiNaC::ex SymbolTable::resistances(const GiNaC::ex &e) const
{
    return m_toResistances.empty() ? e : e.subs(m_toResistances);
}

GiNaC::ex SymbolTable::quotientInResistances(const GiNaC::ex &numerator,
                                             const GiNaC::ex &denominator) const
{
    GiNaC::ex multiplier = 1;
    for (auto it = m_conductances.constBegin(); it != m_conductances.constEnd(); ++it) {
        const int power = std::max(numerator.degree(*it), denominator.degree(*it));
        if (power > 0)
            multiplier *= GiNaC::pow(m_symbols.value(it.key()), power);
    }
    const GiNaC::ex n = (resistances(numerator) * multiplier).expand();
    const GiNaC::ex d = (resistances(denominator) * multiplier).expand();
    GiNaC::ex top, bottom;
    GiNaC::gcd(n, d, &top, &bottom);
    return top / bottom;
}

namespace
{
QString text(const GiNaC::numeric &n)
{
    std::ostringstream out;
    out << n;
    return QString::fromStdString(out.str());
}

GiNaC::numeric roundHalfEven(const GiNaC::numeric &x) // x >= 0
{
    const GiNaC::numeric down = GiNaC::iquo(x.numer(), x.denom());
    const GiNaC::numeric rest = x - down;
    const GiNaC::numeric half(1, 2);
    if (rest > half || (rest == half && GiNaC::irem(down, 2) != 0))
        return down + 1;
    return down;
}
} // namespace

QString exactText(const GiNaC::numeric &value)
{
    return text(value);
}

QString exactLatex(const GiNaC::numeric &value)
{
    if (value.is_integer())
        return text(value);
    return (value.is_negative() ? QStringLiteral("-") : QString()) + QStringLiteral("\\frac{") +
           text(GiNaC::abs(value.numer())) + QStringLiteral("}{") + text(value.denom()) +
           QLatin1Char('}');
}

QString decimalText(const GiNaC::numeric &value, int digits)
{
    if (value.is_zero())
        return QStringLiteral("0");
    const GiNaC::numeric x = GiNaC::abs(value);
    const GiNaC::numeric ten(10);
    // The power of ten of the leading digit, from the double's guess, then made exact.
    int e = int(std::floor(std::log10(x.to_double())));
    while (x >= ten.power(e + 1))
        ++e;
    while (x < ten.power(e))
        --e;
    GiNaC::numeric n = roundHalfEven(x / ten.power(e - digits + 1));
    if (n >= ten.power(digits)) {
        n = n / 10;
        ++e;
    }
    QString all = text(n);
    while (all.size() > 1 && all.endsWith(QLatin1Char('0')))
        all.chop(1);
    QString out;
    if (e < -4 || e >= digits) {
        out = all.left(1);
        if (all.size() > 1)
            out += QLatin1Char('.') + all.mid(1);
        out += QStringLiteral("e%1%2")
                   .arg(e < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                   .arg(std::abs(e), 2, 10, QLatin1Char('0'));
    } else if (e < 0) {
        out = QStringLiteral("0.") + QString(-e - 1, QLatin1Char('0')) + all;
    } else if (all.size() <= e + 1) {
        out = all + QString(e + 1 - int(all.size()), QLatin1Char('0'));
    } else {
        out = all.left(e + 1) + QLatin1Char('.') + all.mid(e + 1);
    }
    return (value.is_negative() ? QStringLiteral("-") : QString()) + out;
}

std::pair<GiNaC::ex, GiNaC::ex> fraction(const GiNaC::ex &e)
{
    // Simplifying again would repeat the greatest common divisors already taken.
    GiNaC::ex numerator = 1, denominator = 1;
    auto take = [&](const GiNaC::ex &f) {
        if (GiNaC::is_a<GiNaC::numeric>(f)) {
            const GiNaC::numeric &c = GiNaC::ex_to<GiNaC::numeric>(f);
            if (!c.is_rational())
                return false;
            numerator *= c.numer();
            denominator *= c.denom();
            return true;
        }
        if (GiNaC::is_a<GiNaC::power>(f)) {
            if (!GiNaC::is_a<GiNaC::numeric>(f.op(1)) ||
                !GiNaC::ex_to<GiNaC::numeric>(f.op(1)).is_integer())
                return false;
            const int k = GiNaC::ex_to<GiNaC::numeric>(f.op(1)).to_int();
            if (k < 0)
                denominator *= GiNaC::pow(f.op(0), -k);
            else
                numerator *= f;
            return true;
        }
        if (GiNaC::is_a<GiNaC::add>(f) || GiNaC::is_a<GiNaC::symbol>(f)) {
            numerator *= f;
            return true;
        }
        return false;
    };
    bool ok = true;
    if (GiNaC::is_a<GiNaC::mul>(e))
        for (size_t k = 0; k < e.nops() && ok; ++k)
            ok = take(e.op(k));
    else
        ok = take(e);
    if (!ok) {
        const GiNaC::ex nd = GiNaC::normal(e).numer_denom();
        return {nd.op(0), nd.op(1)};
    }
    return {numerator.expand(), denominator.expand()};
}

std::vector<FormulaWriter::Term> FormulaWriter::termsOf(const GiNaC::ex &polynomial, bool *ok) const
{
    const std::vector<GiNaC::ex> &order = m_table.order();
    auto indexOf = [&order](const GiNaC::ex &s) {
        for (size_t i = 0; i < order.size(); ++i)
            if (order[i].is_equal(s))
                return int(i);
        return -1;
    };
    std::vector<Term> terms;
    const GiNaC::ex p = polynomial.expand();
    if (p.is_zero())
        return terms;
    auto addFactor = [&](Term &t, const GiNaC::ex &f) {
        if (GiNaC::is_a<GiNaC::numeric>(f)) {
            t.coefficient *= GiNaC::ex_to<GiNaC::numeric>(f);
            return;
        }
        GiNaC::ex base = f;
        int power = 1;
        if (GiNaC::is_a<GiNaC::power>(f) && GiNaC::is_a<GiNaC::numeric>(f.op(1)) &&
            GiNaC::ex_to<GiNaC::numeric>(f.op(1)).is_pos_integer()) {
            base = f.op(0);
            power = GiNaC::ex_to<GiNaC::numeric>(f.op(1)).to_int();
        }
        const int index = GiNaC::is_a<GiNaC::symbol>(base) ? indexOf(base) : -1;
        if (index < 0)
            *ok = false;
        else
            t.powers[size_t(index)] += power;
    };
    auto addTerm = [&](const GiNaC::ex &term) {
        Term t{1, std::vector<int>(order.size(), 0)};
        if (GiNaC::is_a<GiNaC::mul>(term))
            for (size_t k = 0; k < term.nops(); ++k)
                addFactor(t, term.op(k));
        else
            addFactor(t, term);
        terms.push_back(t);
    };
    if (GiNaC::is_a<GiNaC::add>(p))
        for (size_t k = 0; k < p.nops(); ++k)
            addTerm(p.op(k));
    else
        addTerm(p);
    // Higher degree first, then by the symbols in their written order.
    std::sort(terms.begin(), terms.end(), [](const Term &a, const Term &b) {
        const int da = std::accumulate(a.powers.begin(), a.powers.end(), 0);
        const int db = std::accumulate(b.powers.begin(), b.powers.end(), 0);
        if (da != db)
            return da > db;
        return a.powers > b.powers;
    });
    return terms;
}

FormulaWriter::Parts FormulaWriter::parts(const GiNaC::ex &e) const
{
    Parts p;
    const auto [numerator, denominator] = fraction(e);
    p.numerator = termsOf(numerator, &p.ok);
    p.denominator = termsOf(denominator, &p.ok);
    if (!p.denominator.empty() && p.denominator.front().coefficient.is_negative()) {
        for (Term &t : p.numerator)
            t.coefficient = -t.coefficient;
        for (Term &t : p.denominator)
            t.coefficient = -t.coefficient;
    }
    // A leading minus goes in front of the whole: -(R1*R2 - R3*R4)/R5.
    p.negative = !p.numerator.empty() && p.numerator.front().coefficient.is_negative();
    if (p.negative)
        for (Term &t : p.numerator)
            t.coefficient = -t.coefficient;
    return p;
}

QString FormulaWriter::monomial(const Term &t, Style style,
                                const QHash<QString, QString> *values) const
{
    const QStringList &names = m_table.names();
    QStringList factors;
    for (size_t i = 0; i < t.powers.size(); ++i) {
        if (t.powers[i] == 0)
            continue;
        const QString &name = names[qsizetype(i)];
        QString f = style == Style::Latex ? latexName(name) : name;
        if (style == Style::Values && values->contains(name)) {
            f = values->value(name);
            if (f.startsWith(QLatin1Char('-')) || f.contains(QLatin1Char('/')))
                f = QLatin1Char('(') + f + QLatin1Char(')');
        }
        if (t.powers[i] > 1)
            f += style == Style::Latex ? QStringLiteral("^{%1}").arg(t.powers[i])
                                       : QStringLiteral("^%1").arg(t.powers[i]);
        factors.append(f);
    }
    const QString product =
        factors.join(style == Style::Latex ? QStringLiteral(" ") : QStringLiteral("*"));
    const GiNaC::numeric c = GiNaC::abs(t.coefficient);
    const QString number = style == Style::Latex ? exactLatex(c) : exactText(c);
    if (product.isEmpty())
        return number;
    if (c == 1)
        return product;
    return number + (style == Style::Latex ? QStringLiteral(" ") : QStringLiteral("*")) + product;
}

QString FormulaWriter::sum(const std::vector<Term> &terms, Style style,
                           const QHash<QString, QString> *values) const
{
    if (terms.empty())
        return QStringLiteral("0");
    QString out;
    for (size_t i = 0; i < terms.size(); ++i) {
        const bool negative = terms[i].coefficient.is_negative();
        if (i == 0)
            out += negative ? QStringLiteral("-") : QString();
        else
            out += negative ? QStringLiteral(" - ") : QStringLiteral(" + ");
        out += monomial(terms[i], style, values);
    }
    return out;
}

QString FormulaWriter::written(const GiNaC::ex &e, Style style,
                               const QHash<QString, QString> *values) const
{
    const Parts p = parts(e);
    if (!p.ok) {
        std::ostringstream out;
        if (style == Style::Latex)
            out << GiNaC::latex;
        out << GiNaC::normal(e);
        return QString::fromStdString(out.str());
    }
    const QString sign = p.negative ? QStringLiteral("-") : QString();
    const bool whole = p.denominator.size() == 1 && p.denominator[0].coefficient == 1 &&
                       std::all_of(p.denominator[0].powers.begin(), p.denominator[0].powers.end(),
                                   [](int k) { return k == 0; });
    QString numerator = sum(p.numerator, style, values);
    if (whole) {
        if (p.negative && p.numerator.size() > 1)
            return sign + QLatin1Char('(') + numerator + QLatin1Char(')');
        return sign + numerator;
    }
    const QString denominator = sum(p.denominator, style, values);
    if (style == Style::Latex)
        return sign + QStringLiteral("\\frac{") + numerator + QStringLiteral("}{") + denominator +
               QLatin1Char('}');
    if (p.numerator.size() > 1)
        numerator = QLatin1Char('(') + numerator + QLatin1Char(')');
    // A single symbol, a power of one or a whole number needs no parentheses after "/".
    const Term &d = p.denominator[0];
    const int factors =
        int(std::count_if(d.powers.begin(), d.powers.end(), [](int k) { return k != 0; }));
    const bool bare =
        p.denominator.size() == 1 &&
        ((d.coefficient == 1 && factors == 1) || (factors == 0 && d.coefficient.is_integer())) &&
        !(style == Style::Values && factors == 1);
    return sign + numerator + QLatin1Char('/') +
           (bare ? denominator : QLatin1Char('(') + denominator + QLatin1Char(')'));
}

QString FormulaWriter::plain(const GiNaC::ex &e) const
{
    return written(e, Style::Plain, nullptr);
}

QString FormulaWriter::latex(const GiNaC::ex &e) const
{
    return written(e, Style::Latex, nullptr);
}

QString FormulaWriter::withValues(const GiNaC::ex &e, const QHash<QString, QString> &values) const
{
    return written(e, Style::Values, &values);
}

int FormulaWriter::terms(const GiNaC::ex &e) const
{
    const auto [numerator, denominator] = fraction(e);
    auto count = [](const GiNaC::ex &x) {
        return x.is_zero() ? 0 : GiNaC::is_a<GiNaC::add>(x) ? int(x.nops()) : 1;
    };
    return count(numerator) + count(denominator);
}

} // namespace kvadra::circuit
