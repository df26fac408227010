#include "driver/session.h"

#include "exercise/ownnetwork.h"
#include "shell/controls.h"
#include "windows.h"

#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QtTest>

namespace
{
bool moduleNamed()
{
    if (qEnvironmentVariableIsEmpty("KVADRA_CIRCUIT_MODULE"))
        qputenv("KVADRA_CIRCUIT_MODULE", KVADRA_CIRCUIT_MODULE_PATH);
    return true;
}
} // namespace

Session::Session() : m_main((moduleNamed(), std::make_unique<kvadra::TwoportMain>()))
{
    kvadra::registerWindows(*m_main);
    m_main->start();
}

// Tests that change the locale get it back with the session's end.
Session::~Session()
{
    m_main.reset();
    QLocale::setDefault(QLocale::c());
}

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
        qFatal("%s in %s cannot be clicked", qPrintable(name), qPrintable(window));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
}

void Session::type(const QString &window, const QString &name, const QString &text)
{
    auto *box = control<QLineEdit>(window, name);
    if (!box->isEnabled() || box->isReadOnly())
        qFatal("cannot type into %s in %s", qPrintable(name), qPrintable(window));
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

void Session::close(const QString &window)
{
    if (isOpen(window))
        this->window(window)->close();
}

void Session::trigger(const QString &window, const QString &actionText)
{
    for (QAction *action : this->window(window)->findChildren<QAction *>())
        if (action->text() == actionText && action->isEnabled()) {
            action->trigger();
            return;
        }
    qFatal("no action %s in %s", qPrintable(actionText), qPrintable(window));
}

QString Session::copy(const QString &window)
{
    QGuiApplication::clipboard()->clear();
    this->window(window)->activateWindow();
    if (!QTest::qWaitForWindowActive(this->window(window)))
        return QString();
    QTest::keyClick(this->window(window), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    return QGuiApplication::clipboard()->text();
}

void Session::settle()
{
    for (int pass = 0; pass < 2; ++pass) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
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

void Session::pick(const QString &pick)
{
    const QStringList words = pick.split(' ');
    click("exercise_main", words[0].toLower());
    fill(words.mid(1));
    calculate();
    click("exercise_calc", "cmdContinue");
}

void Session::test(const QStringList &picks)
{
    click("twoport_main", "btnTest");
    for (const QString &p : picks)
        pick(p);
}

void Session::testToComparison()
{
    test({"R1 1", "R1R2 1 2", "R2R3 0 2 3", "G1 1", "G2 0 2"});
}

void Session::openAbout()
{
    trigger("twoport_main", QStringLiteral("About"));
}

void Session::lab(const QString &parameter)
{
    if (!isOpen("lab_selectelement"))
        click("twoport_main", "Command1");
    click("lab_selectelement", kvadra::parameterButtonName(parameter));
}

QString Session::labAnswer(const QString &m1, const QString &m2)
{
    type("lab_helper", "txtMeasure1", m1);
    type("lab_helper", "txtMeasure2", m2);
    click("lab_helper", "btnCalculate");
    return text("lab_helper", "txtLabAnswer");
}

void Session::keys(const QString &window, const QString &control, const QString &script)
{
    static const QHash<QString, Qt::Key> named{
        {"Esc", Qt::Key_Escape}, {"Enter", Qt::Key_Return}, {"Tab", Qt::Key_Tab},
        {"Backtab", Qt::Key_Backtab}, {"Del", Qt::Key_Delete}, {"Space", Qt::Key_Space},
        {"F2", Qt::Key_F2}, {"F6", Qt::Key_F6}, {"Left", Qt::Key_Left}, {"Right", Qt::Key_Right},
        {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}};
    auto *target = this->control<QWidget>(window, control);
    // A window's shortcuts answer only once it is active, and on a real display the window
    // manager makes it so later than the request.
    QWidget *top = this->window(window);
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top))
        qFatal("%s never became the active window", qPrintable(window));
    target->setFocus(Qt::TabFocusReason);
    for (const QString &word : script.split(' ', Qt::SkipEmptyParts)) {
        const QString stroke = word.section('*', 0, 0);
        const int times = word.contains('*') ? word.section('*', 1).toInt() : 1;
        Qt::KeyboardModifiers mods;
        QString key = stroke;
        for (;;) {
            if (key.startsWith("Ctrl+") && key.size() > 5) {
                mods |= Qt::ControlModifier;
                key = key.mid(5);
            } else if (key.startsWith("Shift+") && key.size() > 6) {
                mods |= Qt::ShiftModifier;
                key = key.mid(6);
            } else {
                break;
            }
        }
        for (int n = 0; n < times; ++n) {
            QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : target;
            if (named.contains(key))
                QTest::keyClick(focus, named[key], mods);
            else if (key.size() == 1)
                QTest::keyClick(focus, key.at(0).toLatin1(), mods);
            else
                qFatal("no key %s", qPrintable(key));
        }
    }
    settle();
}

void Session::ownNetwork(const QString &netlist)
{
    if (!isOpen("own_network")) {
        if (!isOpen("exercise_main"))
            click("twoport_main", "btnExercise");
        click("exercise_main", "cmdOwnNetwork");
    }
    auto *text = control<QPlainTextEdit>("own_network", "txtNetlist");
    text->setFocus();
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Delete);
    // Typed as a student types it, a character at a time.
    for (const QChar c : netlist)
        QTest::sendKeyEvent(QTest::Click, text, c == '\n' ? Qt::Key_Return : Qt::Key_unknown,
                            c == '\n' ? QString() : QString(c), Qt::NoModifier);
    awaitFormulas();
}

void Session::awaitFormulas()
{
    settle();
    auto *own = qobject_cast<kvadra::OwnNetwork *>(window("own_network"));
    own->settle();
    QDeadlineTimer deadline(20000);
    while (own->working()) {
        if (deadline.hasExpired())
            qFatal("the own network's formulas took more than 20 s");
        QTest::qWait(5);
    }
    settle();
}

void Session::openEverything()
{
    testToComparison();
    exercise("R1R2R3", {"1", "2", "3"});
    lab("z11");
    openAbout();
}
