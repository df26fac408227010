#include "exercise/ownnetwork.h"

#include "exercise/networkview.h"
#include "exercise/startingpoints.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QUndoStack>

namespace kvadra
{

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

} // namespace kvadra
