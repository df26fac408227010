#include "exercise/ownnetwork.h"

#include "exercise/circuitikz.h"
#include "exercise/networkanalyser.h"
#include "exercise/networkrequest.h"
#include "exercise/networkview.h"
#include "exercise/setsview.h"
#include "exercise/startingpoints.h"
#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"
#include "shell/messagebox.h"
#include "shell/twoportmain.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollArea>
#include <QSplitter>
#include <QStringDecoder>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

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

// The netlist may not be longer than the core reads: 10000 lines of 1000 characters.
constexpr qint64 largestFile = 10'010'000;

// As NetlistError::text() words it; that lives in the core, which the program only loads.
QString errorText(const circuit::NetlistError &error)
{
    if (error.at.line <= 0)
        return error.message;
    return QStringLiteral("line %1, column %2: %3")
        .arg(error.at.line)
        .arg(error.at.column)
        .arg(error.message);
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}
} // namespace

OwnNetwork::OwnNetwork(TwoportMain &main) : ToolWindow(main, Name, 0)
{
    setWindowTitle(QStringLiteral("Own network"));
    setUpWindow(this, false, true);
    m_engine = circuit::circuitEngine(&m_engineError);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    auto *bar = new QMenuBar(this);
    bar->setObjectName(QStringLiteral("menuOwnNetwork"));
    layout->setMenuBar(bar);
    QMenu *network = bar->addMenu(QStringLiteral("&Network"));
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    QMenu *place = bar->addMenu(QStringLiteral("&Place"));
    QMenu *start = bar->addMenu(QStringLiteral("&Start from"));
    start->setObjectName(QStringLiteral("menuStart"));
    QMenu *copy = bar->addMenu(QStringLiteral("&Copy"));

    m_view = new NetworkView(this);
    m_view->setObjectName(QStringLiteral("viewDrawing"));
    m_view->setAccessibleName(QStringLiteral("Drawing"));
    m_view->setMinimumSize(360, 220);
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("txtNetlist"));
    m_text->setAccessibleName(QStringLiteral("Netlist"));
    m_text->setUndoRedoEnabled(false);
    m_text->setTabChangesFocus(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(programFont().pointSizeF() + 1);
    m_text->setFont(mono);
    m_text->setPlaceholderText(QStringLiteral("* Type a netlist, one element a line:\n"
                                              "P1 1 0\nP2 3 0\nR1 1 2 1k\nR2 2 0\nR3 2 3"));
    m_textError = new QLabel(this);
    m_textError->setObjectName(QStringLiteral("lblNetlistError"));
    m_textError->setWordWrap(true);
    m_textError->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);

    auto *left = new QSplitter(Qt::Vertical, this);
    auto *drawingPane = new QWidget(left);
    auto *drawingLayout = new QVBoxLayout(drawingPane);
    drawingLayout->setContentsMargins(0, 0, 0, 0);
    auto *tools = new QToolBar(drawingPane);
    tools->setObjectName(QStringLiteral("barTools"));
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    drawingLayout->addWidget(tools);
    drawingLayout->addWidget(m_view, 1);
    drawingLayout->addWidget(m_status);
    auto *textPane = new QWidget(left);
    auto *textLayout = new QVBoxLayout(textPane);
    textLayout->setContentsMargins(0, 0, 0, 0);
    auto *textCaption =
        new QLabel(QStringLiteral("&Netlist (docs/netlist.md has its lines):"), textPane);
    textCaption->setBuddy(m_text);
    textLayout->addWidget(textCaption);
    textLayout->addWidget(m_text, 1);
    textLayout->addWidget(m_textError);
    left->addWidget(drawingPane);
    left->addWidget(textPane);
    left->setStretchFactor(0, 3);
    left->setStretchFactor(1, 2);

    auto *results = new QWidget(this);
    results->setObjectName(QStringLiteral("paneResults"));
    auto *resultsLayout = new QVBoxLayout(results);
    resultsLayout->setContentsMargins(4, 0, 4, 0);
    m_notes = new QLabel(results);
    m_notes->setObjectName(QStringLiteral("lblNotes"));
    m_notes->setWordWrap(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_working = new QLabel(QStringLiteral("Working out the formulas…"), results);
    m_working->setObjectName(QStringLiteral("lblWorking"));
    m_working->setVisible(false);
    makeBold(m_working);
    m_sets = new SetsView(results);
    m_sets->setObjectName(QStringLiteral("setsParameters"));
    auto *scroll = new QScrollArea(results);
    scroll->setObjectName(QStringLiteral("scrollResults"));
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_sets);
    m_tabs = new QTabWidget(results);
    m_tabs->setObjectName(QStringLiteral("tabResults"));
    m_tabs->addTab(scroll, QStringLiteral("&Parameters"));
    resultsLayout->addWidget(m_notes);
    resultsLayout->addWidget(m_working);
    resultsLayout->addWidget(m_tabs, 1);
    results->setMinimumWidth(420);

    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(left);
    split->addWidget(results);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    m_undo = new QUndoStack(this);
    m_analyser = new NetworkAnalyser(this);
    m_refresh = new QTimer(this);
    m_refresh->setSingleShot(true);
    m_refresh->setInterval(0);
    m_workingMark = new QTimer(this);
    m_workingMark->setSingleShot(true);
    // Work that ends within a frame shows no mark.
    m_workingMark->setInterval(16);

    for (const auto &[kind, caption] :
         {std::pair{QChar(), "Select"}, std::pair{QChar('R'), "Resistor R"},
          std::pair{QChar('E'), "E"}, std::pair{QChar('G'), "G"}, std::pair{QChar('F'), "F"},
          std::pair{QChar('H'), "H"}, std::pair{QChar('V'), "Sensor V"},
          std::pair{QChar('W'), "Wire W"}, std::pair{QChar('1'), "Port 1"},
          std::pair{QChar('2'), "Port 2"}}) {
        QAction *tool = tools->addAction(QLatin1String(caption));
        tool->setObjectName(QStringLiteral("tool") +
                            (kind.isNull() ? QStringLiteral("Select") : QString(kind)));
        tool->setToolTip(kind.isNull() ? QStringLiteral("Select and move (Escape)")
                         : kind == QLatin1Char('W')
                             ? QStringLiteral("Click where a wire starts and where it ends (W)")
                             : QStringLiteral("Click on the grid to place it (key %1)").arg(kind));
        connect(tool, &QAction::triggered, this, [this, kind = kind] {
            m_view->setTool(kind);
            m_view->setFocus();
        });
    }
    buildMenus(network, edit, place, start, copy);

    connect(m_text, &QPlainTextEdit::textChanged, this, &OwnNetwork::textEdited);
    connect(m_view, &NetworkView::edited, this, &OwnNetwork::drawingEdited);
    connect(m_view, &NetworkView::editLine, this, &OwnNetwork::editLine);
    connect(m_view, &NetworkView::status, this, &OwnNetwork::say);
    connect(m_refresh, &QTimer::timeout, this, &OwnNetwork::refresh);
    connect(m_workingMark, &QTimer::timeout, this,
            [this] { m_working->setVisible(m_analyser->busy()); });
    connect(m_analyser, &NetworkAnalyser::finished, this, &OwnNetwork::formulasDone);
    connect(m_undo, &QUndoStack::cleanChanged, this, &OwnNetwork::updateTitle);

    addCopyActions(results, [this](bool latex) { return resultsText(latex); });
    resize(1120, 720);
    refresh();
    updateTitle();
}

OwnNetwork::~OwnNetwork() = default;

void OwnNetwork::buildMenus(QMenu *network, QMenu *edit, QMenu *place, QMenu *start, QMenu *copy)
{
    auto add = [this](QMenu *menu, const QString &text, const QKeySequence &key, auto slot,
                      bool drawingOnly = false) {
        QAction *action = menu->addAction(text);
        action->setShortcut(key);
        if (drawingOnly) {
            // Keys of the drawing: they must not take letters or Delete from the netlist text.
            action->setShortcutContext(Qt::WidgetShortcut);
            m_view->addAction(action);
        }
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(network, QStringLiteral("&New"), QKeySequence::New,
        [this] { replaceNetwork(QString(), QStringLiteral("New network")); });
    add(network, QStringLiteral("&Open…"), QKeySequence::Open, [this] { open(); });
    add(network, QStringLiteral("&Save"), QKeySequence::Save, [this] { save(); });
    add(network, QStringLiteral("Save &as…"), QKeySequence::SaveAs, [this] { saveAs(); });
    network->addSeparator();
    add(network, QStringLiteral("Export drawing as S&VG…"), QKeySequence(),
        [this] { exportDrawing(true); });
    add(network, QStringLiteral("Export drawing as &PNG…"), QKeySequence(),
        [this] { exportDrawing(false); });
    network->addSeparator();
    add(network, QStringLiteral("&Close"), QKeySequence::Close, [this] { close(); });

    QAction *undo = m_undo->createUndoAction(this, QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setObjectName(QStringLiteral("actUndo"));
    QAction *redo = m_undo->createRedoAction(this, QStringLiteral("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    redo->setObjectName(QStringLiteral("actRedo"));
    edit->addAction(undo);
    edit->addAction(redo);
    addActions({undo, redo});
    edit->addSeparator();
    add(
        edit, QStringLiteral("&Turn clockwise"), QKeySequence(Qt::CTRL | Qt::Key_R),
        [this] { m_view->rotateSelection(90); }, true);
    add(
        edit, QStringLiteral("Turn &anticlockwise"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
        [this] { m_view->rotateSelection(-90); }, true);
    add(
        edit, QStringLiteral("&Delete"), QKeySequence::Delete,
        [this] { m_view->deleteSelection(); }, true);
    add(edit, QStringLiteral("&Edit the element's line"), QKeySequence(Qt::Key_F2), [this] {
        const QStringList selected = m_view->selectedNames();
        for (const DrawnElement &e : m_view->drawing().elements)
            if (!selected.isEmpty() && e.name == selected.first())
                editLine(e.line);
    });
    add(edit, QStringLiteral("Go to the &drawing"), QKeySequence(Qt::Key_F6),
        [this] { (m_view->hasFocus() ? static_cast<QWidget *>(m_text) : m_view)->setFocus(); });

    for (const auto &[kind, caption] :
         {std::pair{'R', "&Resistor\tR"},
          std::pair{'E', "&E: voltage-controlled voltage source\tE"},
          std::pair{'G', "&G: voltage-controlled current source\tG"},
          std::pair{'F', "&F: current-controlled current source\tF"},
          std::pair{'H', "&H: current-controlled voltage source\tH"},
          std::pair{'V', "&V: current sensor (zero-volt source)\tV"},
          std::pair{'W', "&Wire from the cursor\tW"}, std::pair{'1', "Port &1\t1"},
          std::pair{'2', "Port &2\t2"}}) {
        QAction *action = place->addAction(QLatin1String(caption));
        const QChar k = QLatin1Char(kind);
        connect(action, &QAction::triggered, this, [this, k] {
            if (k == QLatin1Char('W')) {
                m_view->setTool(k);
            } else {
                m_view->placeAt(k, m_view->gridCursor());
            }
            m_view->setFocus();
        });
    }
    if (m_engine)
        for (const StartingPoint &point : startingPoints(*m_engine)) {
            QAction *action = start->addAction(point.title);
            connect(action, &QAction::triggered, this, [this, point] {
                replaceNetwork(point.netlist, QStringLiteral("Start from ") + point.title);
            });
        }
    add(copy, QStringLiteral("Copy results as &text"), QKeySequence(),
        [this] { QApplication::clipboard()->setText(resultsText(false)); });
    add(copy, QStringLiteral("Copy results as &LaTeX"), QKeySequence(),
        [this] { QApplication::clipboard()->setText(resultsText(true)); });
    add(copy, QStringLiteral("Copy drawing as &circuitikz"), QKeySequence(),
        [this] { QApplication::clipboard()->setText(drawingLatex()); });
    add(copy, QStringLiteral("Copy &netlist"), QKeySequence(),
        [this] { QApplication::clipboard()->setText(netlist()); });
}

void OwnNetwork::load()
{
    ToolWindow::load();
}

void OwnNetwork::unload()
{
    m_analyser->cancel();
    ToolWindow::unload();
}

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
    m_sets->showAnalysis(analysis, main().state().units(), !m_clearTyped);
    m_clearTyped = false;
}

void OwnNetwork::showPending(const QString &why)
{
    m_sets->showPending(why);
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
    return m_sets->copy(latex ? CopyFlavour::Latex : CopyFlavour::Text);
}

void OwnNetwork::updateTitle()
{
    const QString name = m_file.isEmpty() ? QString() : QStringLiteral(" — ") + fileName(m_file);
    setWindowTitle(QStringLiteral("Own network") + name +
                   (m_undo->isClean() ? QString() : QStringLiteral(" *")));
}

void OwnNetwork::say(const QString &message)
{
    m_status->setText(message);
}

void OwnNetwork::changeEvent(QEvent *event)
{
    ToolWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        m_refresh->start();
}

} // namespace kvadra
