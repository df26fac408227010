#pragma once

#include "driver/session.h"
#include "shell/application.h"
#include "support/rows.h"

#include <QApplication>
#include <QStringList>
#include <QTest>

inline const QStringList inputError{"An error occured! Check your input data."};

// A test program's main: the application set up as the program's own main sets it up.
#define KVADRA_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        kvadra::setUpApplication(app);                                                             \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
