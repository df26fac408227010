#include "support/session.h"

#include <QAbstractButton>
#include <QtTest>

Session::Session() : m_main(std::make_unique<kvadra::TwoportMain>())
{
    m_main->start();
}

Session::~Session() = default;

QWidget *Session::window(const QString &name)
{
    QWidget *w = m_main->windows().window(name);
    if (!w)
        qFatal("window %s is not open", qPrintable(name));
    return w;
}

void Session::click(const QString &window, const QString &name)
{
    auto *button = control<QWidget>(window, name);
    if (!button->isVisible() || !button->isEnabled())
        QTest::qFail(qPrintable(name + " cannot be clicked"), __FILE__, __LINE__);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

void Session::type(const QString &window, const QString &name, const QString &text)
{
    auto *box = control<QLineEdit>(window, name);
    if (!box->isEnabled())
        QTest::qFail(qPrintable(name + " is disabled"), __FILE__, __LINE__);
    this->window(window)->activateWindow();
    QTest::mouseClick(box, Qt::LeftButton);
    box->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    if (box->selectedText() != box->text())
        box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

QStringList Session::texts(const QString &window, const QStringList &names)
{
    QStringList out;
    for (const QString &name : names)
        out << text(window, name);
    return out;
}

QStringList Session::messages()
{
    QStringList out;
    for (const MessageBoxAnswerer::Box &box : m_boxes.takeBoxes())
        out << box.text;
    return out;
}

void Session::fill(const QStringList &values)
{
    for (int k = 0; k < values.size(); ++k) {
        const QString box = QStringLiteral("val%1").arg(k + 1);
        if (control(QStringLiteral("exercise_calc"), box)->isEnabled())
            type(QStringLiteral("exercise_calc"), box, values[k]);
    }
}

void Session::exercise(const QString &schematic, const QStringList &values)
{
    click("twoport_main", "btnExercise");
    click("exercise_main", schematic.toLower());
    fill(values);
    calculate();
}
