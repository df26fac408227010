#include "support/session.h"
#include "twoport/calcerror.h"
#include "twoport/numbertext.h"

#include <QMenuBar>
#include <QRandomGenerator>
#include <QtTest>

#include <cstdio>

using namespace kvadra;

namespace
{
const QString mainName = QStringLiteral("twoport_main");
// In the order of their weights in windowStates: 1, 2, 4, 8, 16.
const QStringList tools{"lab_selectelement", "lab_helper", "exercise_main", "exercise_calc",
                        "test_giveelement"};
const QStringList results =
    QStringLiteral("z11 z12 z21 z22 y11 y12 y21 y22 txtLabAnswer").split(' ');
const QStringList oddTexts =
    QStringLiteral("| |   |inf|-inf|nan|1e999|-0|1,5|1.5|1.000,5|1,000.5|.5|5.|1e-320|"
                   "4.9e-324|1.7976931348623157e308|1e|e5|+3|--1|0x10|1 000|½|Ωμ|١٢٣|abc|"
                   "easter|egg|brumo|tisk|EASTER|Egg")
        .split('|');
// Both lab boxes must hold a word pair at once, which single typing would seldom reach.
const QList<QStringList> wordPairs{
    {"easter", "egg"}, {"brumo", "tisk"}, {"EaStEr", "EGG"}, {"egg", "easter"}};
const QStringList locales{"C", "en_US", "de_DE", "fr_FR"};
const QList<QKeyCombination> keys{Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space, Qt::Key_Tab,
                                  Qt::CTRL | Qt::SHIFT | Qt::Key_C};
} // namespace

// Plays random student actions on the real windows and checks after each one what must hold
// whatever the student does. KVADRA_WALK_SEED repeats a walk (else the clock seeds it),
// KVADRA_WALK_STEPS sets its length, KVADRA_WALK_TRACE prints every action as it starts (for
// walks that crash).
class TestRandomWalk : public SessionTest
{
    Q_OBJECT
private slots:
    void walk()
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
            // The walk repeats exactly, so KVADRA_WALK_TRACE shows the steps that led here.
            if (const QString broken = violation(); !broken.isEmpty())
                QFAIL(qPrintable(
                    QStringLiteral("step %1 of seed %2: %3").arg(step).arg(seed).arg(broken)));
            if (m_s->openWindows().isEmpty())
                newSession();
        }
        qInfo("walk: %d boxes answered, %d tests finished", m_boxes, m_finished);
    }

private:
    template <typename List> auto pick(const List &list)
    {
        return list[m_rng.bounded(list.size())];
    }
    // Students mostly work in the window they opened last; an even choice would press the
    // main window's tool buttons so often that a test flow never gets past its first steps.
    QWidget *randomWindow()
    {
        const QStringList open = m_s->openWindows();
        return m_s->window(m_rng.bounded(3) ? open.last() : pick(open));
    }
    QWidget *usable(const char *type)
    {
        QWidgetList found;
        for (QWidget *w : randomWindow()->findChildren<QWidget *>())
            if (w->inherits(type) && w->isVisible() && w->isEnabled() &&
                !w->property("readOnly").toBool())
                found << w;
        return found.isEmpty() ? nullptr : pick(found);
    }
    // Past Qt Test's message limit, and unbuffered for a walk that crashes.
    void note(const QString &what)
    {
        if (m_trace)
            std::fprintf(stderr, "walk: %s\n", qPrintable(what));
    }

    void newSession()
    {
        m_s.reset();
        const QString locale = pick(locales);
        QLocale::setDefault(QLocale(locale));
        m_s = std::make_unique<Session>();
        // The program's boxes offer Yes and No, or OK alone.
        m_s->boxes().setFallback([this](QMessageBox::StandardButtons offered) {
            return !offered.testFlag(QMessageBox::Yes) ? QMessageBox::Ok
                   : m_rng.bounded(2)                  ? QMessageBox::Yes
                                                       : QMessageBox::No;
        });
        note("new session, locale " + locale);
    }

    // One random action, out of 116: clicks 50, typing 30, word pairs 2, filling the calculator
    // 20, the About menu 2, keys 6, closing 6. False when it found nothing to act on.
    bool act()
    {
        const int roll = m_rng.bounded(116);
        if (roll < 80) {
            QWidget *w = usable(roll < 50 ? "QAbstractButton" : "QLineEdit");
            if (w && roll >= 50) {
                type(w, randomText());
            } else if (w) {
                note("click " + w->window()->objectName() + "." + w->objectName());
                QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
            }
            return w;
        }
        if (roll < 82) {
            if (!m_s->isOpen("lab_helper") ||
                !m_s->control("lab_helper", "txtMeasure2")->isEnabled())
                return false;
            const QStringList pair = pick(wordPairs);
            type(m_s->control("lab_helper", "txtMeasure1"), pair[0]);
            type(m_s->control("lab_helper", "txtMeasure2"), pair[1]);
            return true;
        }
        if (roll < 102) {
            // A test step needs every element box readable at once, as a student would type them.
            if (!m_s->isOpen("exercise_calc"))
                return false;
            const QStringList values{QString::number(m_rng.bounded(1, 100)),
                                     QString::number(m_rng.bounded(1, 100)),
                                     QString::number(m_rng.bounded(1, 100))};
            note("fill the calculator with " + values.join(' '));
            m_s->fill(values);
        } else if (roll < 104) {
            QMenuBar *bar = m_s->main().menuBar();
            note("menu About");
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                              bar->actionGeometry(bar->actions().constFirst()).center());
        } else if (roll < 110) {
            QWidget *window = randomWindow();
            QWidget *target = window->focusWidget() ? window->focusWidget() : window;
            const QKeyCombination key = pick(keys);
            note("key " + QKeySequence(key).toString() + " on " + window->objectName() + "." +
                 target->objectName());
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
        } else {
            QStringList open = m_s->openWindows();
            // Closing the main window ends the session, so it stays rare to let walks get deep.
            if (open.size() > 1 && m_rng.bounded(20) != 0)
                open.removeAll(mainName);
            const QString name = pick(open);
            note("close " + name);
            m_s->close(name);
        }
        return true;
    }

    QString randomText()
    {
        const quint32 kind = m_rng.bounded(10);
        if (kind < 3)
            return pick(oddTexts);
        if (kind == 3)
            return QString(int(m_rng.bounded(50, 400)), QLatin1Char("9.0,e-x"[m_rng.bounded(7)]));
        if (kind < 7)
            return QString::number(m_rng.bounded(-5, 60));
        QString text = QString::number(m_rng.generateDouble() * (m_rng.bounded(2) ? 1e3 : -1e3),
                                       'g', int(m_rng.bounded(1, 18)));
        if (kind == 9)
            text += 'e' + QString::number(m_rng.bounded(-330, 330));
        return m_rng.bounded(2) ? text : text.replace('.', ',');
    }

    // Each character goes in as a key event carrying its text, as QTest::keyClicks takes ASCII
    // only.
    void type(QWidget *box, const QString &text)
    {
        const QString window = box->window()->objectName();
        note(
            QStringLiteral("type \"%1\" into %2.%3").arg(text.left(60), window, box->objectName()));
        m_s->type(window, box->objectName(), QString());
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    QString violation()
    {
        for (const MessageBoxAnswerer::Box &box : m_s->boxes().takeBoxes())
            if (++m_boxes; box.title != applicationTitle())
                return "box titled " + box.title;
        const SharedState &s = m_s->state();
        const QStringList open = m_s->openWindows();
        int sum = 0;
        for (const QString &name : open)
            sum += tools.contains(name) ? 1 << tools.indexOf(name) : 0;
        if (s.windowStates() != sum)
            return QStringLiteral("windowStates %1 with %2 open")
                .arg(s.windowStates())
                .arg(open.join(','));
        // The unit frames open exactly when no tool window is; the kilo options never do.
        for (const char *name :
             {"frameVol", "frameCur", "frameRes", "frameCon", "optV3", "optA3", "optS3"})
            if (m_s->main().findChild<QWidget *>(name)->isEnabled() != (sum == 0 && name[0] == 'f'))
                return QStringLiteral("%1 enabled is wrong").arg(name);
        if (s.currentMode() < 0 || s.currentMode() > 2 || s.schemCount() < 0 || s.schemCount() > 5)
            return QStringLiteral("currentMode %1, schemCount %2")
                .arg(s.currentMode())
                .arg(s.schemCount());
        m_finished += s.schemCount() == 5 && m_lastCount != 5;
        m_lastCount = s.schemCount();
        // After the deferred deletions every window that still exists is open and shown, and the
        // only one of its name; the main window alone outlives its closing.
        for (QWidget *w : QApplication::topLevelWidgets()) {
            const QString name = w->objectName();
            if ((tools.contains(name) || name == "frmAbout" || name == mainName) &&
                !(m_s->main().windows().window(name) == w && w->isVisible()) &&
                !(w == &m_s->main() && !open.contains(mainName)))
                return name + " lingers or is doubled";
        }
        // Every result shown can be typed in again.
        for (const QString &window : open)
            for (auto *box : m_s->window(window)->findChildren<QLineEdit *>())
                try {
                    if (results.contains(box->objectName()) && !box->text().isEmpty())
                        readNumber(box->text());
                } catch (const CalcError &) {
                    return window + "." + box->objectName() + " holds \"" + box->text() + "\"";
                }
        return QString();
    }

    QRandomGenerator m_rng;
    bool m_trace = false;
    int m_boxes = 0, m_lastCount = 0, m_finished = 0;
};

KVADRA_TEST_MAIN(TestRandomWalk)
#include "tst_randomwalk.moc"
