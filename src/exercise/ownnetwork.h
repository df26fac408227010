#pragma once

#include "circuit/loader.h"
#include "shell/toolwindow.h"

#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTimer;
class QUndoStack;

namespace kvadra
{

class NetworkAnalyser;
class NetworkView;
class NetworkTabs;
struct Drawing;

// own_network: a two-port the student draws or types, in two views of one netlist text that
// follow each other, and every parameter set of it as the check window shows them. An exercise
// solver's window: it locks the units, and goes when the schematic selection goes.
class OwnNetwork : public ToolWindow
{
    Q_OBJECT
public:
    static constexpr const char *Name = "own_network";

    explicit OwnNetwork(TwoportMain &main);
    ~OwnNetwork() override;

    // Reads a netlist file into the window. A file that cannot be read leaves the window as it
    // was and says why, naming the line and column: false.
    bool openFile(const QString &path);
    // Writes the netlist, with the drawing's places, whole or not at all.
    bool saveTo(const QString &path);
    bool exportSvg(const QString &path);
    bool exportPng(const QString &path);
    // Replaces the netlist, as one step the student can undo.
    void setNetlist(const QString &text, const QString &what);
    // Replaces the network with another: the student's values go.
    void replaceNetwork(const QString &text, const QString &what);
    QString netlist() const;
    // The drawing as a circuitikz picture.
    QString drawingLatex() const;
    QString resultsText(bool latex) const;

    // The analysis on show: with formulas once the background work is done.
    circuit::AnalysisPtr analysis() const { return m_full ? m_full : m_numeric; }
    // Formulas are being worked out off the GUI thread.
    bool working() const;
    // Runs whatever edits are waiting, as the event loop would before the student looks.
    void settle();

    void load() override;
    void unload() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    void buildMenus(QMenu *network, QMenu *edit, QMenu *place, QMenu *start, QMenu *copy);
    void textEdited();
    void applyText(const QString &text);
    void drawingEdited(const Drawing &drawing, const QString &what);
    void refresh();
    void analyse(const QString &text);
    void showAnalysis(const circuit::AnalysisPtr &analysis);
    void showPending(const QString &why);
    void markError(int line, const QString &message);
    void formulasDone(const circuit::AnalysisPtr &analysis);
    void editLine(int line);
    void open();
    bool save();
    bool saveAs();
    void exportDrawing(bool svg);
    void updateTitle();
    void say(const QString &message);

    const circuit::Engine *m_engine = nullptr;
    QString m_engineError;
    NetworkView *m_view;
    QPlainTextEdit *m_text;
    QLabel *m_textError;
    QLabel *m_notes;
    QLabel *m_working;
    NetworkTabs *m_tabs;
    QLabel *m_status;
    QUndoStack *m_undo;
    NetworkAnalyser *m_analyser;
    QTimer *m_refresh;
    QTimer *m_workingMark;
    QString m_lastText;
    bool m_applying = false;
    bool m_clearTyped = false;
    QString m_file;
    QString m_pendingRequest;
    circuit::AnalysisPtr m_numeric, m_full;
    circuit::Request m_request;
};

} // namespace kvadra
