// Writes the built-in pictures as labelled contact sheets, at 1x and at 2x:
// schematics.png, schematics@2x.png, setups.png, setups@2x.png.

#include "resources/pictures.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace
{

constexpr int kColumns = 4;
constexpr int kMargin = 12;
constexpr int kCaption = 18;

QImage contactSheet(const QStringList &names, qreal ratio)
{
    const QSize cell = kvadra::pictureSize(names.first());
    const int rows = (int(names.size()) + kColumns - 1) / kColumns;
    const QSize logical(kColumns * (cell.width() + kMargin) + kMargin,
                        rows * (cell.height() + kCaption + kMargin) + kMargin);
    QImage sheet(logical * ratio, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio);
    sheet.fill(QColor(232, 232, 232));
    QPainter p(&sheet);
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    p.setFont(font);
    for (int i = 0; i < names.size(); ++i) {
        const QPoint at(kMargin + (i % kColumns) * (cell.width() + kMargin),
                        kMargin + (i / kColumns) * (cell.height() + kCaption + kMargin));
        p.drawPixmap(at, kvadra::picture(names[i], ratio));
        p.setPen(QColor(160, 160, 160));
        p.drawRect(QRectF(at.x() - 0.5, at.y() - 0.5, cell.width() + 1, cell.height() + 1));
        p.setPen(Qt::black);
        p.drawText(QRect(at.x(), at.y() + cell.height() + 2, cell.width(), kCaption - 2),
                   Qt::AlignHCenter | Qt::AlignTop, names[i]);
    }
    return sheet;
}

} // namespace

int main(int argc, char **argv)
{
    // A renderer needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const QString dir =
        app.arguments().size() > 1 ? app.arguments().at(1) : QStringLiteral(KVADRA_PICTURES_DIR);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir));
        return 1;
    }

    QStringList schematics, setups;
    for (const QString &name : kvadra::pictureNames())
        (name.startsWith(QLatin1String("TEST")) ? schematics : setups) << name;

    int failures = 0;
    for (const auto &[names, base] : {std::pair{schematics, QStringLiteral("schematics")},
                                      std::pair{setups, QStringLiteral("setups")}}) {
        for (const auto &[ratio, suffix] :
             {std::pair{1.0, QString()}, std::pair{2.0, QStringLiteral("@2x")}}) {
            const QString path = QDir(dir).filePath(base + suffix + QStringLiteral(".png"));
            if (contactSheet(names, ratio).save(path)) {
                std::printf("%s\n", qPrintable(path));
            } else {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
