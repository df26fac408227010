#pragma once

#include <QString>
#include <QStringList>
#include <QTest>

#include <initializer_list>

// Table rows as text, in one column "row" whose fields are split at the separator; the text also
// names the row.
inline void addRows(std::initializer_list<const char *> rows)
{
    QTest::addColumn<QString>("row");
    for (const char *row : rows)
        QTest::newRow(row) << QString(row);
}

inline QStringList fields(QChar separator = '|')
{
    QFETCH(QString, row);
    return row.split(separator);
}

// The blank-separated words of a field, none for an empty one.
inline QStringList words(const QString &field)
{
    return field.split(' ', Qt::SkipEmptyParts);
}
