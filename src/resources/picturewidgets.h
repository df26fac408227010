#pragma once

#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QWidget>

namespace kvadra
{

// The named picture as drawn for one device pixel ratio, kept by the widget that shows it: it
// goes with the widget, so a long session keeps no pictures of windows long closed.
class PictureCache
{
public:
    const QPixmap &get(const QString &name, qreal devicePixelRatio);

private:
    QString m_name;
    QPixmap m_pixmap;
};

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
    PictureCache m_cache;
};

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
    PictureCache m_cache;
};

} // namespace kvadra
