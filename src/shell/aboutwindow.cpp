#include "shell/aboutwindow.h"

#include "resources/programicon.h"
#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "version.h"

#include <QApplication>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

namespace kvadra
{

namespace
{
QFrame *makeLine(QWidget *parent, const char *name, int x, int y, int w, int h, QColor colour)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(x, y, w, h);
    setBackground(line, colour);
    return line;
}

} // namespace

AboutWindow::AboutWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QLatin1String(Name));
    setUpWindow(this, true, false, true);
    setFixedSize(tw(4410), tw(3090));
    // The window's text colours are fixed (black lines, the red notice), so its background is
    // fixed with them: every colour of the light palette, set one by one so that a palette the
    // desktop hands out later cannot replace it.
    const QPalette light = QApplication::style()->standardPalette();
    QPalette fixed;
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            fixed.setColor(g, r, light.color(g, r));
        }
    setPalette(fixed);

    // The OK button comes first in the tab order, so it is created first.
    auto *ok =
        makeButton(this, "cmdOK", QStringLiteral("OK"), tw(1560), tw(2640), tw(1260), tw(345));
    ok->setDefault(true);

    QLabel *icon = makeLabel(this, "picIcon", QString(), tw(240), tw(120), tw(420), tw(420));
    icon->setPixmap(programIcon().pixmap(QSize(24, 24), devicePixelRatioF()));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    makeLabel(this, "lblTitle", QStringLiteral("Kvadra for Windows"), tw(1080), tw(120), tw(2325),
              tw(240));
    m_version = makeLabel(this, "lblVersion", QString(), tw(1080), tw(360), tw(1725), tw(225));
    QLabel *description = makeLabel(
        this, "lblDescription",
        QStringLiteral("Kvadra for checking the correctness of your computations in related "
                       "exercises, tests and laboratory works."),
        tw(1080), tw(720), tw(3045), tw(645));
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextColour(description, Qt::black);

    QLabel *report = makeLabel(this, "Label2", QStringLiteral("PLEASE REPORT ALL BUGS TO:"),
                               tw(1080), tw(1440), tw(3045), tw(210));
    makeBold(report);
    setTextColour(report, Qt::red);

    QLineEdit *address = makeEdit(this, "Text1", QStringLiteral("bugs@kvadra.example.org"),
                                  tw(1080), tw(1680), tw(3135), tw(285));
    address->setReadOnly(true);
    address->setAccessibleName(QStringLiteral("Bug report address"));

    QLabel *rights =
        makeLabel(this, "Label1", QStringLiteral("Copyright (C) 2026 Kvadra developers"), tw(1080),
                  tw(2160), tw(3045), tw(210));
    setTextColour(rights, Qt::black);

    // The etched separator: a grey line over a white one.
    makeLine(this, "Line1", tw(120), tw(2520), tw(4350) - tw(120), 1, QColor(128, 128, 128));
    makeLine(this, "Line1White", tw(105), tw(2520) + 1, tw(4320) - tw(105), 2, Qt::white);

    connect(ok, &QPushButton::clicked, this, &QWidget::close);
    // OK is both the default and the cancel button.
    for (const QKeySequence &key :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
}

void AboutWindow::load()
{
    setWindowTitle(QStringLiteral("About ") + applicationTitle());
    m_version->setText(QStringLiteral("Version %1.%2.%3")
                           .arg(versionMajor)
                           .arg(versionMinor)
                           .arg(versionRevision));
}

} // namespace kvadra
