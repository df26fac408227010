#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kvadra
{

// The built-in pictures, drawn with QPainter whenever they are asked for: the fourteen schematics
// "TESTG1" ... "TESTR3", "TESTNONE" (145 x 88), named after the catalogue, and the sixteen
// measurement set-ups "LABZ11" ... "LABD" (240 x 120), named after the lab helper's parameters.
// Asking for any other name is a programming error.

// Every picture name, schematics first, in catalogue order, then the set-ups in the lab
// helper's order.
QStringList pictureNames();

// The logical size of the named picture.
QSize pictureSize(const QString &name);

// The named picture drawn for the given device pixel ratio: the pixmap has
// pictureSize(name) * ratio device pixels and carries that ratio, so it is sharp on any screen.
QPixmap picture(const QString &name, qreal devicePixelRatio = 1.0);

// What the picture is, for screen readers: "Schematic G1G2", "Set-up for h21".
QString pictureDescription(const QString &name);
// What the picture shows, in words: the elements and where each sits, or the instruments at
// each port and the direction of each measured current.
QString pictureDetails(const QString &name);

} // namespace kvadra
