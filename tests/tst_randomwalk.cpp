#include "support/session.h"
#include "twoport/calcerror.h"
#include "twoport/numbertext.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QtTest>

#include <deque>
#include <memory>
#include <numeric>

using namespace kvadra;

namespace
{
const QString mainName = QStringLiteral("twoport_main");
// In the order of their weights in windowStates: 1, 2, 4, 8, 16.
const QStringList tools{"lab_selectelement", "lab_helper", "exercise_main", "exercise_calc",
                        "test_giveelement"};
const QStringList windowNames = QStringList(tools) << mainName << "frmAbout";
const std::pair<const char *, QStringList> results[] = {
    {"exercise_calc", {"z11", "z12", "z21", "z22", "y11", "y12", "y21", "y22"}},
    {"lab_helper", {"txtLabAnswer"}}};
const QStringList oddTexts =
    QStringLiteral("| |   |inf|-inf|nan|1e999|-0|1,5|1.5|1.000,5|1,000.5|.5|5.|1e-320|"
                   "4.9e-324|1.7976931348623157e308|1e|e5|+3|--1|0x10|1 000|½|Ωμ|١٢٣|abc|"
                   "easter|egg|brumo|tisk|EASTER|Egg")
        .split('|');
// Both lab boxes must hold a word pair at once, which single typing would seldom reach.
const QStringList wordPairs{"easter egg", "brumo tisk", "EaStEr EGG", "egg easter"};
const QStringList locales{"C", "en_US", "de_DE", "fr_FR"};
// Clicks, typing, word pairs, filling the calculator, the About menu, keys, closing.
const int weights[] = {50, 30, 2, 20, 2, 6, 6};
const QList<QKeyCombination> keys{Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Tab,
                                  Qt::CTRL | Qt::SHIFT | Qt::Key_C};
} // namespace

// Plays random student actions on the real windows and checks after each one what must hold
// whatever the student does. KVADRA_WALK_SEED repeats a walk, KVADRA_WALK_STEPS sets its
// length, KVADRA_WALK_TRACE prints every action as it starts (for walks that crash).
class TestRandomWalk : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { m_s.reset(); }
    void walk();

private:
    template <typename List> auto pick(const List &list)
    {
        return list.isEmpty() ? typename List::value_type() : list[m_rng.bounded(list.size())];
    }
    template <typename T> T *pickUsable(QWidget *window)
    {
        QList<T *> usable;
        for (T *w : window->findChildren<T *>())
            if (w->isVisible() && w->isEnabled() && !w->property("readOnly").toBool())
                usable << w;
        return pick(usable);
    }
    // Students mostly work in the window they opened last; an even choice would press the
    // main window's tool buttons so often that a test flow never gets past its first steps.
    QWidget *randomWindow()
    {
        const QStringList open = m_s->main().windows().openWindows();
        return m_s->main().windows().window(m_rng.bounded(3) ? open.last() : pick(open));
    }
    void note(const QString &what)
    {
        m_trail.push_back(what);
        if (m_trail.size() > 40)
            m_trail.pop_front();
        if (m_trace)
            qInfo("walk: %s", qPrintable(what));
    }
    void newSession();
    bool act();
    QString randomText();
    void type(QLineEdit *box, const QString &text);
    QString violation();

    std::unique_ptr<Session> m_s;
    QRandomGenerator m_rng;
    std::deque<QString> m_trail;
    bool m_trace = false;
    int m_boxes = 0, m_lastCount = 0, m_finished = 0;
};

void TestRandomWalk::newSession()
{
    m_s.reset();
    const QString locale = pick(locales);
    QLocale::setDefault(QLocale(locale));
    m_s = std::make_unique<Session>();
    // The program's boxes offer Yes and No, or OK alone.
    m_s->boxes().setFallback([this](QMessageBox::StandardButtons offered) {
        if (!offered.testFlag(QMessageBox::Yes))
            return QMessageBox::Ok;
        return m_rng.bounded(2) ? QMessageBox::Yes : QMessageBox::No;
    });
    note("new session, locale " + locale);
}

// One random action; false when it found nothing to act on.
bool TestRandomWalk::act()
{
    int kind = 0;
    for (int roll = int(m_rng.bounded(std::accumulate(std::begin(weights), std::end(weights), 0)));
         roll >= weights[kind]; roll -= weights[kind++]) {
    }
    const WindowRegistry &windows = m_s->main().windows();
    QWidget *helper = windows.window("lab_helper");
    switch (kind) {
    case 0:
        if (auto *b = pickUsable<QAbstractButton>(randomWindow())) {
            note("click " + b->window()->objectName() + "." + b->objectName());
            QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
            return true;
        }
        return false;
    case 1:
        if (auto *box = pickUsable<QLineEdit>(randomWindow())) {
            type(box, randomText());
            return true;
        }
        return false;
    case 2: {
        if (!helper || !helper->findChild<QLineEdit *>("txtMeasure2")->isEnabled())
            return false;
        const QStringList pair = pick(wordPairs).split(' ');
        for (int k = 0; k < 2; ++k)
            type(helper->findChild<QLineEdit *>(QStringLiteral("txtMeasure%1").arg(k + 1)),
                 pair[k]);
        return true;
    }
    case 3: {
        // A test step needs every element box readable at once, as a student would type them.
        if (!windows.isOpen("exercise_calc"))
            return false;
        QStringList values;
        for (int k = 0; k < 3; ++k)
            values << QString::number(m_rng.bounded(1, 100));
        note("fill the calculator with " + values.join(' '));
        m_s->fill(values);
        return true;
    }
    case 4: {
        QMenuBar *bar = m_s->main().menuBar();
        note("menu About");
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                          bar->actionGeometry(bar->actions().constFirst()).center());
        return true;
    }
    case 5: {
        QWidget *window = randomWindow();
        QWidget *target = window->focusWidget() ? window->focusWidget() : window;
        const QKeyCombination key = pick(keys);
        note(QStringLiteral("key %1 on %2.%3")
                 .arg(QKeySequence(key).toString(), window->objectName(), target->objectName()));
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
        return true;
    }
    default: {
        QStringList open = windows.openWindows();
        // Closing the main window ends the session, so it stays rare to let walks get deep.
        if (open.size() > 1 && m_rng.bounded(20) != 0)
            open.removeAll(mainName);
        const QString name = pick(open);
        note("close " + name);
        m_s->window(name)->close();
        return true;
    }
    }
}

QString TestRandomWalk::randomText()
{
    const quint32 kind = m_rng.bounded(10);
    if (kind < 3)
        return pick(oddTexts);
    if (kind == 3)
        return QString(int(m_rng.bounded(50, 400)), QLatin1Char("9.0,e-x"[m_rng.bounded(7)]));
    if (kind < 7)
        return QString::number(m_rng.bounded(-5, 60));
    QString text = QString::number(m_rng.generateDouble() * (m_rng.bounded(2) ? 1e3 : -1e3), 'g',
                                   int(m_rng.bounded(1, 18)));
    if (kind == 9)
        text += 'e' + QString::number(m_rng.bounded(-330, 330));
    return m_rng.bounded(2) ? text : text.replace('.', ',');
}

void TestRandomWalk::type(QLineEdit *box, const QString &text)
{
    note(QStringLiteral("type \"%1\" into %2.%3")
             .arg(text.left(60), box->window()->objectName(), box->objectName()));
    // QTest::keyClicks takes ASCII only; wider characters go in as key events carrying text.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
    m_s->type(box->window()->objectName(), box->objectName(), ascii ? text : QString());
    for (QChar c : ascii ? QString() : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QString TestRandomWalk::violation()
{
    for (const MessageBoxAnswerer::Box &box : m_s->boxes().takeBoxes())
        if (++m_boxes; box.title != applicationTitle())
            return "box titled " + box.title;
    const WindowRegistry &registry = m_s->main().windows();
    const SharedState &s = m_s->state();
    const QStringList open = registry.openWindows();
    int sum = 0;
    for (const QString &name : open)
        sum += tools.contains(name) ? 1 << tools.indexOf(name) : 0;
    if (s.windowStates() != sum)
        return QStringLiteral("windowStates %1 with open %2")
            .arg(s.windowStates())
            .arg(open.join(','));
    for (const char *frame : {"frameVol", "frameCur", "frameRes", "frameCon"})
        if (m_s->main().findChild<QGroupBox *>(frame)->isEnabled() != (sum == 0))
            return QStringLiteral("%1 enabled is wrong").arg(frame);
    for (const char *kilo : {"optV3", "optA3", "optS3"})
        if (m_s->main().findChild<QWidget *>(kilo)->isEnabled())
            return QStringLiteral("%1 enabled").arg(kilo);
    if (s.currentMode() < 0 || s.currentMode() > 2 || s.schemCount() < 0 || s.schemCount() > 5)
        return QStringLiteral("currentMode %1, schemCount %2")
            .arg(s.currentMode())
            .arg(s.schemCount());
    m_finished += s.schemCount() == 5 && m_lastCount != 5;
    m_lastCount = s.schemCount();
    // After the deferred deletions every window that still exists is open and shown, and the
    // only one of its name; the main window alone outlives its closing.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (windowNames.contains(w->objectName()) && !qobject_cast<QMessageBox *>(w) &&
            !(registry.window(w->objectName()) == w && w->isVisible()) &&
            !(w == &m_s->main() && !open.contains(mainName)))
            return w->objectName() + " lingers or is doubled";
    for (const auto &[window, boxes] : results)
        for (const QString &name : registry.window(window) ? boxes : QStringList()) {
            const QString text = registry.window(window)->findChild<QLineEdit *>(name)->text();
            try {
                if (!text.isEmpty())
                    readNumber(text);
            } catch (const CalcError &) {
                return QStringLiteral("%1.%2 holds \"%3\"").arg(window, name, text);
            }
        }
    return QString();
}

void TestRandomWalk::walk()
{
    const quint32 seed = qEnvironmentVariableIsSet("KVADRA_WALK_SEED")
                             ? qgetenv("KVADRA_WALK_SEED").toUInt()
                             : quint32(QDateTime::currentMSecsSinceEpoch());
    const int steps = qEnvironmentVariableIsSet("KVADRA_WALK_STEPS")
                          ? qEnvironmentVariableIntValue("KVADRA_WALK_STEPS")
                          : 2000;
    m_trace = qEnvironmentVariableIsSet("KVADRA_WALK_TRACE");
    qInfo("walk: seed %u, %d steps (repeat with KVADRA_WALK_SEED=%u)", seed, steps, seed);
    m_rng.seed(seed);
    newSession();
    for (int step = 1; step <= steps; ++step) {
        while (!act()) {
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (const QString broken = violation(); !broken.isEmpty()) {
            for (const QString &what : m_trail)
                qInfo("trail: %s", qPrintable(what));
            QFAIL(qPrintable(
                QStringLiteral("step %1 of seed %2: %3").arg(step).arg(seed).arg(broken)));
        }
        if (m_s->main().windows().openWindows().isEmpty())
            newSession();
    }
    qInfo("walk: %d boxes answered, %d tests finished", m_boxes, m_finished);
}

KVADRA_TEST_MAIN(TestRandomWalk)
#include "tst_randomwalk.moc"
