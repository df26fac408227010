#include "shell/application.h"

#include "resources/pictures.h"
#include "shell/cachingstyle.h"
#include "version.h"

#include <QApplication>
#include <QFont>
#include <QPixmapCache>

#include <algorithm>

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
    QApplication::setStyle(new CachingStyle);
    // The style's looks live in the pixmap cache; on a denser screen each takes the square of
    // the ratio more memory, and a cache that cannot hold one window's looks draws them anew.
    const qreal ratio = app.devicePixelRatio();
    QPixmapCache::setCacheLimit(int(QPixmapCache::cacheLimit() * std::max(1.0, ratio * ratio)));
    // Arial metrics come closest to the classic dialog face the layout figures were made for;
    // where Liberation Sans is missing, the style hint picks the system sans-serif.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    app.setWindowIcon(programIcon());
}

} // namespace kvadra
