#include "support/session.h"

#include <QRadioButton>
#include <QtTest>

using namespace kvadra;

namespace
{
const QString mainName = QStringLiteral("twoport_main");
} // namespace

class TestShell : public SessionTest
{
    Q_OBJECT
private slots:
    void init()
    {
        SessionTest::init();
        QVERIFY(QTest::qWaitForWindowExposed(&m_s->main()));
    }

    void startUpSelectsDefaults()
    {
        const SharedState &s = m_s->state();
        QCOMPARE(QList<qint16>({s.voltDisplay(), s.ampereDisplay(), s.ohmDisplay(),
                                s.siemensDisplay(), s.windowStates(), s.currentMode()}),
                 QList<qint16>({0, -3, 3, -3, 0, 0}));
        for (const char *name : {"optV2", "optA1", "optR3", "optS1"})
            QVERIFY2(m_s->control<QRadioButton>(mainName, name)->isChecked(), name);
        // Frame captions are bold; their contents must not inherit it.
        for (const char *name : {"frameUnits", "frameRes", "btnExercise", "optR1"})
            QCOMPARE(m_s->control(mainName, name)->font().bold(), name[0] == 'f');
        // The program's face comes in every size a task switcher asks for.
        QVERIFY(QApplication::windowIcon().availableSizes().contains(QSize(48, 48)));
    }

    void aboutIsSingleAndOutsideTheLock()
    {
        m_s->openAbout();
        QPointer<QWidget> window = m_s->window("frmAbout");
        m_s->openAbout();
        QCOMPARE(m_s->window("frmAbout"), window.data());
        QCOMPARE(m_s->openWindows(), (QStringList{mainName, "frmAbout"}));
        QCOMPARE(m_s->state().windowStates(), qint16(0));
        QVERIFY(m_s->control(mainName, "frameRes")->isEnabled());
        m_s->click("frmAbout", "cmdOK");
        QVERIFY(!m_s->isOpen("frmAbout"));
        QTRY_VERIFY(window.isNull());
    }

    // Every tool window runs its unload step on the way out and is discarded; the main window
    // alone lives on until the program ends.
    void closingMainClosesEverything()
    {
        m_s->openEverything();
        const QStringList open = m_s->openWindows();
        QCOMPARE(open.size(), 7);
        QCOMPARE(m_s->messages(), QStringList());
        QList<QPointer<QWidget>> windows;
        for (const QString &name : open)
            windows << m_s->window(name);
        QVERIFY(m_s->main().close());
        QCOMPARE(m_s->openWindows(), QStringList());
        QCOMPARE(m_s->state().windowStates(), qint16(0));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (int k = 0; k < windows.size(); ++k)
            QVERIFY2(windows[k].isNull() == (open[k] != mainName), qPrintable(open[k]));
        m_s.reset();
        QVERIFY(windows[int(open.indexOf(mainName))].isNull());
    }
};

KVADRA_TEST_MAIN(TestShell)

#include "tst_shell.moc"
