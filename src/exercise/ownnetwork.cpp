#include "exercise/ownnetwork.h"

#include "exercise/networkanalyser.h"
#include "exercise/networktabs.h"
#include "exercise/networkview.h"
#include "shell/appearance.h"
#include "shell/application.h"
#include "shell/controls.h"
#include "shell/interaction.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QVBoxLayout>

namespace kvadra
{

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
    m_tabs = new NetworkTabs(results, true);
    m_tabs->setObjectName(QStringLiteral("tabResults"));
    connect(m_tabs, &NetworkTabs::openNetlist, this, [this](const QString &text) {
        replaceNetwork(text, QStringLiteral("joined network"));
    });
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

OwnNetwork::~OwnNetwork()
{
    // The undo stack, a child, says it is clean again as it goes; the title is gone by then.
    disconnect(m_undo, nullptr, this, nullptr);
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
