#include "exercise/startingpoints.h"

#include "circuit/loader.h"
#include "twoport/catalogue.h"

namespace kvadra
{

QList<StartingPoint> startingPoints(const circuit::Engine &engine)
{
    QList<StartingPoint> out;
    for (const Schematic &s : catalogue()) {
        const circuit::EngineLock lock;
        out.append({QStringLiteral("Schematic ") + QLatin1String(s.name),
                    engine.schematicNetlist(s.number)});
    }
    out.append({QStringLiteral("Bridged T"), QStringLiteral("* A T with R4 across its top\n"
                                                            "P1 1 0\n"
                                                            "P2 3 0\n"
                                                            "R1 1 2\n"
                                                            "R2 2 0\n"
                                                            "R3 2 3\n"
                                                            "R4 1 3\n")});
    out.append(
        {QStringLiteral("Lattice"),
         QStringLiteral("* Ports with no common node: series arms Ra, Rb; cross arms Rc, Rd\n"
                        "P1 1 2\n"
                        "P2 3 4\n"
                        "Ra 1 3\n"
                        "Rb 2 4\n"
                        "Rc 1 4\n"
                        "Rd 2 3\n")});
    out.append({QStringLiteral("Ladder"), QStringLiteral("* Three L sections\n"
                                                         "P1 1 0\n"
                                                         "R1 1 2\n"
                                                         "R2 2 0\n"
                                                         "R3 2 3\n"
                                                         "R4 3 0\n"
                                                         "R5 3 4\n"
                                                         "R6 4 0\n"
                                                         "P2 4 0\n")});
    out.append({QStringLiteral("Transistor h-model"),
                QStringLiteral("* h11 in series, h12*V2 and h21*I1 as controlled sources, 1/h22 "
                               "across port 2\n"
                               "* Vs senses I1 for the current source\n"
                               "P1 b e\n"
                               "Vs b b1 0\n"
                               "Rh11 b1 x h11\n"
                               "Eh12 x e c e2 h12\n"
                               "Fh21 c e2 Vs h21\n"
                               "Rh22 c e2 h22 S\n"
                               "P2 c e2\n")});
    return out;
}

} // namespace kvadra
