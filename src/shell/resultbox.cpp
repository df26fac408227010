#include "shell/resultbox.h"

#include "twoport/numbertext.h"

#include <QContextMenuEvent>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace kvadra
{

namespace
{
// QLineEdit keeps this many pixels between its contents rectangle and the text.
constexpr int kTextMargin = 2;
} // namespace

ResultBox::ResultBox(QWidget *parent) : QLineEdit(parent)
{
    setReadOnly(true);
    // A part of a shortened text would be a part the student cannot see.
    connect(this, &QLineEdit::selectionChanged, this, [this] {
        if (hasSelectedText() && selectedText() != text() && shortened())
            selectAll();
    });
}

QRect ResultBox::textArea() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    return contents.marginsRemoved(textMargins()).adjusted(kTextMargin, 0, -kTextMargin, 0);
}

QString ResultBox::shownText() const
{
    const QString whole = text();
    // The line edit keeps room for its cursor after the text, even when it does not draw it.
    const int room = textArea().width() - style()->pixelMetric(QStyle::PM_TextCursorWidth);
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(whole) <= room)
        return whole;
    // A plain decimal cut after its separator keeps its power of ten in its place.
    const qsizetype separator = whole.indexOf(decimalSeparator());
    if (separator >= 0 && !whole.contains(QLocale().exponential(), Qt::CaseInsensitive))
        for (qsizetype keep = whole.size() - 1; keep > separator + 1; --keep) {
            const QString cut = whole.left(keep) + QChar(0x2026);
            if (metrics.horizontalAdvance(cut) <= room)
                return cut;
        }
    QString shown;
    for (int digits = 15; digits >= 1; --digits) {
        shown = abbreviateNumber(whole, digits);
        if (shown.isEmpty())
            return whole; // not a number: left to the line edit
        if (metrics.horizontalAdvance(shown) <= room)
            break;
    }
    return shown;
}

void ResultBox::paintEvent(QPaintEvent *event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter p(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &p, this);
    const QRect area = textArea();
    const QFontMetrics metrics = fontMetrics();
    const QRect line(area.x(), area.y() + (area.height() - metrics.height() + 1) / 2,
                     metrics.horizontalAdvance(shown), metrics.height());
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Normal : QPalette::Disabled;
    QPalette::ColorRole role = QPalette::Text;
    if (hasSelectedText()) {
        p.fillRect(line, palette().brush(group, QPalette::Highlight));
        role = QPalette::HighlightedText;
    }
    p.setPen(palette().color(group, role));
    p.setClipRect(area);
    p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, shown);
}

void ResultBox::mousePressEvent(QMouseEvent *event)
{
    if (!shortened() || event->button() != Qt::LeftButton) {
        QLineEdit::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    selectAll();
}

void ResultBox::mouseMoveEvent(QMouseEvent *event)
{
    if (!shortened())
        QLineEdit::mouseMoveEvent(event);
}

void ResultBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (shortened())
        selectAll();
    else
        QLineEdit::mouseDoubleClickEvent(event);
}

void ResultBox::keyPressEvent(QKeyEvent *event)
{
    // The keyboard's other way to the context menu, beside the menu key.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint at = cursorRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, mapToGlobal(at));
        contextMenuEvent(&menu);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ResultBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (shortened())
        selectAll();
}

void ResultBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    if (!m_menuActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(m_menuActions);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace kvadra
