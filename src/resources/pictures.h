#pragma once

#include <QIcon>
#include <QPixmap>
#include <QPushButton>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace kvadra
{

// The built-in pictures, drawn with QPainter on first use and cached: the fourteen schematics
// "TESTG1" ... "TESTR3", "TESTNONE" (145 x 88) and the sixteen measurement set-ups
// "LABZ11" ... "LABD" (240 x 120). Asking for any other name is a programming error.

// Every picture name, schematics first, in catalogue order, then the set-ups.
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

// The program icon shared by every window, 24 x 24 logical pixels.
QIcon programIcon();

// A picture box: shows one named picture at its natural size, drawn for the device pixel ratio
// of the screen it is on. An empty name shows nothing. Screen readers meet it as an image.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPictureName(const QString &name);
    QString pictureName() const { return m_name; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
};

} // namespace kvadra

namespace kvadra
{

// A command button of picture style: the named picture in the middle of a white face, drawn for
// the device pixel ratio of the screen it is on.
class PictureButton : public QPushButton
{
    Q_OBJECT
public:
    explicit PictureButton(const QString &pictureName, QWidget *parent = nullptr);

    QString pictureName() const { return m_name; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
};

} // namespace kvadra
