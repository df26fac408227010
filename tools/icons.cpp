// Writes the program icon as the PNGs of a freedesktop icon theme, so the menu entry shows the
// very drawing the windows carry instead of a second copy of the design that could drift:
//   kvadra_icons output-directory [size ...]
// Each size N lands in output-directory/NxN/apps/kvadra.png (default sizes below).
#include "resources/programicon.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    // Runs during the build, where there may be no display at all.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: kvadra_icons output-directory [size ...]\n");
        return 2;
    }
    const QString root = args.takeFirst();
    QList<int> sizes;
    for (const QString &arg : args) {
        bool ok = false;
        const int size = arg.toInt(&ok);
        if (!ok || size < 16 || size > 1024) {
            std::fprintf(stderr, "not an icon size: %s\n", qPrintable(arg));
            return 2;
        }
        sizes << size;
    }
    if (sizes.isEmpty())
        sizes = {16, 22, 24, 32, 48, 64, 128, 256};

    const QIcon icon = kvadra::programIcon();
    int failures = 0;
    for (int size : sizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
        const QString path = dir + QStringLiteral("/kvadra.png");
        // QIcon::pixmap() would multiply by the screen's ratio; the theme wants exact pixels.
        QImage image =
            icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
        image.setDevicePixelRatio(1.0);
        if (image.size() != QSize(size, size)) {
            std::fprintf(stderr, "icon drawn at %dx%d instead of %dx%d\n", image.width(),
                         image.height(), size, size);
            ++failures;
            continue;
        }
        if (!QDir().mkpath(dir) || !image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
            continue;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
