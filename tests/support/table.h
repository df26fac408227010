#pragma once

#include <QTest>

// A table's typed columns, named in the same order: columns<QString, int>("schematic", "count").
template <typename... Types, typename... Names> void columns(const Names &...names)
{
    (QTest::addColumn<Types>(names), ...);
}
