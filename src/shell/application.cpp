#include "shell/application.h"

#include "resources/pictures.h"
#include "version.h"

#include <QApplication>
#include <QFont>

namespace kvadra
{

QString applicationTitle()
{
    return QStringLiteral("Kvadra");
}

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QString::fromLatin1(versionString));
    // Arial metrics come closest to the classic dialog face the layout figures were made for;
    // where Liberation Sans is missing, the style hint picks the system sans-serif.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    app.setWindowIcon(programIcon());
}

} // namespace kvadra
