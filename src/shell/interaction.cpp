#include "shell/interaction.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

namespace kvadra
{

void explain(QWidget *widget, const QString &text)
{
    widget->setToolTip(text);
    widget->setAccessibleDescription(text);
    // Shift+F1 shows it from the keyboard.
    widget->setWhatsThis(text);
}

namespace
{
class SelectAllOnFocus : public QObject
{
public:
    explicit SelectAllOnFocus(QLineEdit *edit) : QObject(edit) { edit->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            auto *edit = static_cast<QLineEdit *>(watched);
            // A mouse press places the cursor after the focus arrives; select once it has.
            QTimer::singleShot(0, edit,
                               [edit] { edit->setSelection(0, int(edit->text().size())); });
        }
        return false;
    }
};
} // namespace

void selectAllOnFocus(QLineEdit *edit)
{
    new SelectAllOnFocus(edit);
}

QList<QAction *> addCopyActions(QWidget *area, const std::function<QString(bool latex)> &text)
{
    auto *copyText = new QAction(QStringLiteral("Copy results"), area);
    copyText->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    copyText->setShortcutContext(Qt::WindowShortcut);
    auto *copyLatex = new QAction(QStringLiteral("Copy as LaTeX"), area);
    area->addActions({copyText, copyLatex});
    area->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction *action : {copyText, copyLatex}) {
        const bool latex = action == copyLatex;
        QObject::connect(action, &QAction::triggered, area, [text, latex] {
            const QString copied = text(latex);
            if (!copied.isEmpty())
                QApplication::clipboard()->setText(copied);
        });
    }
    return {copyText, copyLatex};
}

} // namespace kvadra
