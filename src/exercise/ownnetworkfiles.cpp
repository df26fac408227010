#include "exercise/ownnetwork.h"

#include "exercise/circuitikz.h"
#include "exercise/networkrequest.h"
#include "exercise/networktabs.h"
#include "exercise/networkview.h"
#include "exercise/resultcells.h"
#include "shell/messagebox.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QStringDecoder>
#include <QSvgGenerator>
#include <QUndoStack>

namespace kvadra
{

namespace
{
// The netlist may not be longer than the core reads: 10000 lines of 1000 characters.
constexpr qint64 largestFile = 10'010'000;

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}
} // namespace

bool OwnNetwork::openFile(const QString &path)
{
    QFile file(path);
    QString problem;
    QString text;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else if (file.size() > largestFile) {
        problem = QStringLiteral("it is larger than a netlist can be");
    } else {
        const QByteArray bytes = file.readAll();
        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decode(bytes);
        if (decode.hasError() || bytes.contains('\0')) {
            // Where the first byte that is not text stands.
            const QByteArray good = bytes.left(
                bytes.contains('\0')
                    ? bytes.indexOf('\0')
                    : QString(text).section(QChar::ReplacementCharacter, 0, 0).toUtf8().size());
            const int line = int(good.count('\n')) + 1;
            const int column = int(good.size() - good.lastIndexOf('\n'));
            problem = QStringLiteral("line %1, column %2: not UTF-8 text").arg(line).arg(column);
        }
    }
    if (problem.isEmpty()) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const circuit::EngineLock lock;
        const circuit::Report read = m_engine ? m_engine->read(text) : circuit::Report{};
        // Half-made networks open; text that is not a netlist does not.
        if (read.error && read.elements.isEmpty() && read.notes.isEmpty())
            problem = errorText(*read.error);
    }
    if (!problem.isEmpty()) {
        messageBox(this, QStringLiteral("%1 cannot be opened: %2").arg(fileName(path), problem),
                   BoxStyle::OkExclamation);
        return false;
    }
    replaceNetwork(text, QStringLiteral("Open ") + fileName(path));
    m_file = path;
    m_undo->setClean();
    updateTitle();
    return true;
}

bool OwnNetwork::saveTo(const QString &path)
{
    // The drawing's places go with the netlist, so the file opens as drawn.
    const QString drawn = writeDrawing(readNetlistText(netlist()), m_view->drawing());
    if (drawn != netlist())
        setNetlist(drawn, QStringLiteral("Keep the drawing"));
    QSaveFile file(path);
    QByteArray bytes = netlist().toUtf8();
    if (!bytes.endsWith('\n'))
        bytes.append('\n');
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        messageBox(this,
                   QStringLiteral("%1 cannot be saved: %2").arg(fileName(path), file.errorString()),
                   BoxStyle::OkExclamation);
        return false;
    }
    m_file = path;
    m_undo->setClean();
    updateTitle();
    say(QStringLiteral("Saved as %1.").arg(path));
    return true;
}

void OwnNetwork::open()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open a netlist"), QFileInfo(m_file).path(),
        QStringLiteral("Netlists (*.cir);;All files (*)"));
    if (!path.isEmpty())
        openFile(path);
}

bool OwnNetwork::save()
{
    return m_file.isEmpty() ? saveAs() : saveTo(m_file);
}

bool OwnNetwork::saveAs()
{
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save the netlist"),
                                     m_file.isEmpty() ? QStringLiteral("network.cir") : m_file,
                                     QStringLiteral("Netlists (*.cir)"));
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".cir");
    return saveTo(path);
}

bool OwnNetwork::exportSvg(const QString &path)
{
    QSvgGenerator svg;
    svg.setFileName(path);
    const QRectF r = m_view->drawingRect();
    svg.setSize(r.size().toSize());
    svg.setViewBox(QRectF(QPointF(0, 0), r.size()));
    svg.setTitle(QStringLiteral("Own network"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    m_view->paintForExport(painter, QRectF(QPointF(0, 0), r.size()));
    return painter.end();
}

bool OwnNetwork::exportPng(const QString &path)
{
    const QRectF r = m_view->drawingRect();
    // Twice the screen's pixels, so the picture stays sharp in a document.
    QImage image((r.size() * 2).toSize(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    m_view->paintForExport(painter, QRectF(QPointF(0, 0), r.size()));
    painter.end();
    return image.save(path, "PNG");
}

void OwnNetwork::exportDrawing(bool svg)
{
    const QString suffix = svg ? QStringLiteral("svg") : QStringLiteral("png");
    QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export the drawing"),
        (m_file.isEmpty() ? QStringLiteral("network") : QFileInfo(m_file).completeBaseName()) +
            '.' + suffix,
        svg ? QStringLiteral("SVG pictures (*.svg)") : QStringLiteral("PNG pictures (*.png)"));
    if (path.isEmpty())
        return;
    if (!(svg ? exportSvg(path) : exportPng(path)))
        messageBox(this, QStringLiteral("%1 cannot be written.").arg(fileName(path)),
                   BoxStyle::OkExclamation);
}

QString OwnNetwork::drawingLatex() const
{
    return circuitikz(m_view->drawing());
}

QString OwnNetwork::resultsText(bool latex) const
{
    return m_tabs->copy(latex ? CopyFlavour::Latex : CopyFlavour::Text);
}

void OwnNetwork::updateTitle()
{
    const QString name = m_file.isEmpty() ? QString() : QStringLiteral(" — ") + fileName(m_file);
    setWindowTitle(QStringLiteral("Own network") + name +
                   (m_undo->isClean() ? QString() : QStringLiteral(" *")));
}

} // namespace kvadra
