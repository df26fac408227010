#include "exercise/ownnetwork.h"

#include "exercise/networkanalyser.h"
#include "exercise/networkrequest.h"
#include "exercise/networktabs.h"
#include "exercise/networkview.h"
#include "exercise/resultcells.h"
#include "shell/twoportmain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>
#include <QUndoStack>

namespace kvadra
{

namespace
{
// One step of the student's: the whole text before and after. Typing merges into one step until
// a line ends or the drawing changes something.
class TextStep : public QUndoCommand
{
public:
    TextStep(const QString &before, const QString &after, const QString &what, bool typing,
             std::function<void(const QString &)> apply)
        : QUndoCommand(what), m_before(before), m_after(after), m_typing(typing), m_applied(typing),
          m_apply(std::move(apply))
    {
    }
    void undo() override { m_apply(m_before); }
    void redo() override
    {
        // Typing is in the text already when it is recorded.
        if (!m_applied)
            m_apply(m_after);
        m_applied = false;
    }
    int id() const override { return m_typing ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const TextStep *>(other);
        if (m_after.count(QLatin1Char('\n')) != next->m_after.count(QLatin1Char('\n')))
            return false;
        m_after = next->m_after;
        return true;
    }

private:
    QString m_before, m_after;
    bool m_typing;
    bool m_applied;
    std::function<void(const QString &)> m_apply;
};
} // namespace

QString OwnNetwork::netlist() const
{
    return m_text->toPlainText();
}

void OwnNetwork::textEdited()
{
    if (m_applying)
        return;
    const QString now = m_text->toPlainText();
    if (now == m_lastText)
        return;
    const QString before = m_lastText;
    m_lastText = now;
    m_undo->push(new TextStep(before, now, QStringLiteral("Typing"), true,
                              [this](const QString &t) { applyText(t); }));
    m_refresh->start();
}

void OwnNetwork::applyText(const QString &text)
{
    const QString old = m_text->toPlainText();
    if (old != text) {
        // Only the part that differs is replaced, so the view stays where the student was.
        int head = 0;
        while (head < old.size() && head < text.size() && old[head] == text[head])
            ++head;
        int tail = 0;
        while (tail < old.size() - head && tail < text.size() - head &&
               old[old.size() - 1 - tail] == text[text.size() - 1 - tail])
            ++tail;
        m_applying = true;
        QTextCursor cursor(m_text->document());
        cursor.setPosition(head);
        cursor.setPosition(int(old.size()) - tail, QTextCursor::KeepAnchor);
        cursor.insertText(text.mid(head, text.size() - head - tail));
        m_applying = false;
    }
    m_lastText = text;
    m_refresh->start();
}

void OwnNetwork::setNetlist(const QString &text, const QString &what)
{
    if (text == netlist())
        return;
    m_undo->push(
        new TextStep(netlist(), text, what, false, [this](const QString &t) { applyText(t); }));
}

void OwnNetwork::replaceNetwork(const QString &text, const QString &what)
{
    // The student's values were for the network before.
    m_clearTyped = true;
    setNetlist(text, what);
}

void OwnNetwork::drawingEdited(const Drawing &drawing, const QString &what)
{
    const QString text = writeDrawing(readNetlistText(netlist()), drawing);
    if (text == netlist()) {
        m_view->showDrawing(drawingOf(readNetlistText(text)));
        return;
    }
    setNetlist(text, what);
    // The drawing shows the edit at once; the results follow.
    refresh();
}

void OwnNetwork::settle()
{
    if (m_refresh->isActive()) {
        m_refresh->stop();
        refresh();
    }
}

void OwnNetwork::refresh()
{
    m_refresh->stop();
    const QString text = netlist();
    const NetlistText net = readNetlistText(text);
    const Drawing drawing = drawingOf(net);
    m_view->showDrawing(drawing);
    QStringList drawingNotes;
    for (const QPoint &p : looseEndsOf(drawing))
        drawingNotes.append(QStringLiteral("A wire ends at %1, %2 without joining anything.")
                                .arg(p.x())
                                .arg(p.y()));
    analyse(text);
    if (!drawingNotes.isEmpty())
        m_notes->setText((m_notes->text().isEmpty() ? QString() : m_notes->text() + '\n') +
                         drawingNotes.join('\n'));
    m_notes->setVisible(!m_notes->text().isEmpty());
}

void OwnNetwork::analyse(const QString &text)
{
    m_analyser->cancel();
    m_workingMark->stop();
    m_working->setVisible(false);
    m_notes->clear();
    if (!m_engine) {
        markError(0, QString());
        showPending(m_engineError);
        return;
    }
    if (text.trimmed().isEmpty()) {
        markError(0, QString());
        m_numeric.reset();
        m_full.reset();
        showPending(QStringLiteral("Draw a network, type its netlist, or start from one in the "
                                   "menu: its parameter sets appear here."));
        return;
    }
    circuit::Report read;
    {
        const circuit::EngineLock lock;
        read = m_engine->read(text);
    }
    if (read.error) {
        markError(read.error->at.line, errorText(*read.error));
        m_numeric.reset();
        m_full.reset();
        // A half-made network says what it lacks; a line the core cannot read says where.
        QStringList notes = read.notes;
        if (notes.isEmpty())
            notes.append(QStringLiteral("The netlist cannot be read: ") + errorText(*read.error));
        else
            notes.append(QStringLiteral("No parameter set can be computed until it is whole."));
        m_notes->setText(notes.join('\n'));
        showPending(notes.join(' '));
        return;
    }
    markError(0, QString());
    m_request = symbolicRequest(text, read, main().state().units());
    const bool allValued = [&] {
        for (const QString &symbol : read.symbols)
            if (!m_request.values.contains(symbol))
                return false;
        return true;
    }();
    m_full.reset();
    if (allValued) {
        circuit::Request numeric = m_request;
        numeric.numericOnly = true;
        m_numeric = circuit::analyseLocked(*m_engine, numeric);
        showAnalysis(m_numeric);
    } else {
        m_numeric.reset();
        showPending(QStringLiteral("Working out the formulas…"));
    }
    if (!m_request.values.isEmpty() || !read.symbols.isEmpty()) {
        m_analyser->start(m_engine, m_request);
        m_workingMark->start();
    }
}

void OwnNetwork::formulasDone(const circuit::AnalysisPtr &analysis)
{
    m_workingMark->stop();
    m_working->setVisible(false);
    if (!analysis) {
        // The GUI thread took the core from it; the network has not changed since.
        m_analyser->start(m_engine, m_request);
        m_workingMark->start();
        return;
    }
    m_full = analysis;
    showAnalysis(m_full);
}

bool OwnNetwork::working() const
{
    return m_analyser->busy();
}

void OwnNetwork::showAnalysis(const circuit::AnalysisPtr &analysis)
{
    if (!analysis)
        return;
    m_tabs->showNetwork(analysis, m_request, !m_clearTyped);
    m_clearTyped = false;
}

void OwnNetwork::showPending(const QString &why)
{
    m_tabs->showPending(why);
}

void OwnNetwork::markError(int line, const QString &message)
{
    QList<QTextEdit::ExtraSelection> marks;
    if (line > 0) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_text->document()->findBlockByNumber(line - 1));
        mark.cursor.clearSelection();
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        const bool dark = m_text->palette().color(QPalette::Base).lightnessF() < 0.5;
        mark.format.setBackground(dark ? QColor(110, 30, 30) : QColor(255, 215, 215));
        marks.append(mark);
    }
    m_text->setExtraSelections(marks);
    m_textError->setText(message.isEmpty() ? QString() : QStringLiteral("⚠ ") + message);
    m_textError->setVisible(!message.isEmpty());
    m_text->setAccessibleDescription(message);
}

void OwnNetwork::editLine(int line)
{
    if (line < 0)
        return;
    const QTextBlock block = m_text->document()->findBlockByNumber(line);
    const NetlistText net = readNetlistText(netlist());
    QTextCursor cursor(block);
    for (const NetElement &e : net.elements)
        if (e.line == line) {
            cursor.setPosition(block.position() + e.valueAt);
            cursor.setPosition(block.position() + e.valueAt + int(e.value.size()),
                               QTextCursor::KeepAnchor);
        }
    m_text->setTextCursor(cursor);
    m_text->setFocus();
    say(QStringLiteral("Type the value at the end of the line; F6 goes back to the drawing."));
}

} // namespace kvadra
