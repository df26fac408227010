#pragma once

#include "driver/session.h"
#include "shell/application.h"
#include "support/table.h"

#include <QApplication>
#include <QObject>
#include <QStringList>
#include <QTest>

#include <memory>

inline const QStringList inputError{"An error occured! Check your input data."};

// A message box as the program shows it, titled with the program's name.
inline MessageBoxAnswerer::Box box(const QString &text, QMessageBox::Icon icon,
                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok)
{
    return {QStringLiteral("Kvadra"), text, icon, buttons};
}

inline char *toString(const MessageBoxAnswerer::Box &b)
{
    return QTest::toString(QStringLiteral("%1: %2 (icon %3, buttons %4)")
                               .arg(b.title, b.text)
                               .arg(b.icon)
                               .arg(b.buttons.toInt()));
}

// Every test function meets the program as it is at start-up; nothing carries over from the last.
class SessionTest : public QObject
{
    Q_OBJECT
protected slots:
    void init() { m_s = std::make_unique<Session>(); }
    void cleanup() { m_s.reset(); }

protected:
    std::unique_ptr<Session> m_s;
};

// A test program's main: the application set up as the program's own main sets it up.
#define KVADRA_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        kvadra::setUpApplication(app);                                                             \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
