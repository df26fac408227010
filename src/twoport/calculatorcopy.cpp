#include "twoport/calculatorcopy.h"

#include "twoport/explain.h"

namespace kvadra
{

namespace
{
// Both matrices came from the same values, or only one was computed: one line serves both.
bool oneSetOfValues(const CalculatorResults &r)
{
    return !r.z || !r.y || r.z->elements == r.y->elements;
}
} // namespace

QString calculatorCopy(const CalculatorResults &r, CopyFlavour flavour)
{
    CopyText copy(flavour);
    const QString schematic = QStringLiteral("Schematic ") + QLatin1String(r.schematic->name);
    if (copy.latex()) {
        copy.note(schematic);
        copy.note(QStringLiteral("Needs \\usepackage{amsmath} for its matrices."));
    } else {
        copy.line(schematic);
    }
    auto elements = [&](const ComputedMatrix &m) {
        return elementValueList(*r.schematic, m.elements, r.elementUnit);
    };
    const bool shared = oneSetOfValues(r);
    const std::optional<ComputedMatrix> &any = r.z ? r.z : r.y;
    if (shared && any && !elements(*any).isEmpty())
        copy.values(elements(*any), QStringLiteral(", "));
    for (ParameterSet set : {ParameterSet::Z, ParameterSet::Y}) {
        const bool z = set == ParameterSet::Z;
        const std::optional<ComputedMatrix> &m = z ? r.z : r.y;
        const QString unit = z ? r.zUnit : r.yUnit;
        const QString title = setName(set) + QStringLiteral(" parameters (") + unit + ')';
        if (!(z ? r.schematic->zExists() : r.schematic->yExists())) {
            copy.note(copy.latex() ? setName(set) + QStringLiteral(" does not exist")
                                   : title + QStringLiteral(": does not exist"));
            continue;
        }
        if (!m) {
            copy.note(copy.latex() ? setName(set) + QStringLiteral(" not calculated")
                                   : title + QStringLiteral(": not calculated"));
            continue;
        }
        if (copy.latex()) {
            if (!shared) {
                copy.line(QString());
                copy.values(elements(*m), QString());
            }
        } else {
            copy.line(title +
                      (shared ? QString()
                              : QStringLiteral(", from ") +
                                    copy.valuesInline(elements(*m), QStringLiteral(", "))) +
                      ':');
        }
        copy.matrix(set, m->entries, unit);
    }
    return copy.text();
}

} // namespace kvadra
