#pragma once

#include "exercise/networkdrawing.h"

#include <QGraphicsView>

class QGraphicsItem;

namespace kvadra
{

// The own network's drawing on a grid, by mouse and by keyboard alone. It never changes the
// network itself: each edit is handed out as the whole drawing it would make (edited), which
// the window writes into the netlist text; the text read back is shown again (showDrawing).
//
// Keys: arrows move the grid cursor, or the selection where there is one (Shift: four steps);
// R, E, G, F, H, V place a resistor, a source or a current sensor at the cursor, 1 and 2 a port;
// W starts a wire at the cursor, and W or Enter ends it where the cursor is; Tab and Shift+Tab
// select the next and the previous element, then leave the drawing; Space selects what is at the
// cursor; Ctrl+R and Ctrl+Shift+R turn the selection; Delete removes it; Enter or F2 edits the
// selected element's line in the netlist; Escape ends a wire or clears the selection.
class NetworkView : public QGraphicsView
{
    Q_OBJECT
public:
    static constexpr int grid = 16; // pixels of one grid step at 100 %

    explicit NetworkView(QWidget *parent = nullptr);
    ~NetworkView() override;

    void showDrawing(const Drawing &drawing);
    const Drawing &drawing() const { return m_drawing; }

    // Mouse tools: the next click places this kind ('W' draws wires, 0 selects).
    void setTool(QChar kind);
    QChar tool() const { return m_tool; }

    QPoint gridCursor() const { return m_cursor; }
    void setGridCursor(QPoint p);
    QStringList selectedNames() const;
    void selectNames(const QStringList &names);

    void placeAt(QChar kind, QPoint at);
    void rotateSelection(int degrees);
    void deleteSelection();
    void moveSelection(QPoint by);
    void addWire(const QList<QPoint> &points);
    void selectNext(bool forward);

    // Paints the drawing without cursor, selection or grid, in black on white: for SVG and PNG.
    void paintForExport(QPainter &painter, const QRectF &target);
    QRectF drawingRect() const;

    // Where an element is on the widget, for its accessible object.
    QRect elementRect(int element) const;
    QString describe(int element) const;

signals:
    void edited(const kvadra::Drawing &drawing, const QString &what);
    // Enter, F2 or a double click on an element: its line in the netlist, to edit its value.
    void editLine(int line);
    void status(const QString &message);
    void selectionMoved(int element);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;
    void drawForeground(QPainter *painter, const QRectF &rect) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void rebuild();
    void edit(const Drawing &drawing, const QString &what);
    QPoint snap(QPointF scenePoint) const;
    QList<int> selectedElements() const;
    QList<int> selectedWires() const;
    void finishWire(QPoint end);
    QList<QPoint> wirePath(QPoint from, QPoint to) const;
    int elementAt(QPoint p) const;
    int wireAt(QPoint p) const;
    void announce(int element);

    Drawing m_drawing;
    QList<QGraphicsItem *> m_elementItems;
    QList<QGraphicsItem *> m_wireItems;
    QChar m_tool;
    QPoint m_cursor{0, 0};
    std::optional<QPoint> m_wireStart;
    QPoint m_pointer;
    std::optional<QPointF> m_dragFrom;
};

} // namespace kvadra
