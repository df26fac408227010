#pragma once

#include <QLineEdit>
#include <QList>

class QAction;

namespace kvadra
{

// A read-only box for a computed value. Its text is always the whole value: selection, copy,
// the accessible value and the shared state all see it. When the whole text is wider than the
// box, the box paints a shortened form that keeps the sign, the leading digits, a mark of the cut
// and the power of ten, so that what it shows can never read as another number; the box then
// selects its whole text rather than a part the student cannot see.
class ResultBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit ResultBox(QWidget *parent = nullptr);

    // Actions offered in the box's context menu after the box's own entries.
    void addMenuActions(const QList<QAction *> &actions) { m_menuActions += actions; }

    // What the box paints: the text, or its shortened form when the text does not fit.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QRect textArea() const;
    bool shortened() const { return shownText() != text(); }

    QList<QAction *> m_menuActions;
};

} // namespace kvadra
