#pragma once
// The main() of a test executable: QTEST_MAIN's, with the program's own
// application class, so that events and signals make actions as they do in
// the program.

#include "platform/actions.h"

#include <QTest>

#define TAV_TEST_MAIN(TestObject)                                                                                     \
    int main(int argc, char* argv[])                                                                                  \
    {                                                                                                                 \
        tav::Application app(argc, argv);                                                                             \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                      \
        TestObject tc;                                                                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                    \
        return QTest::qExec(&tc, argc, argv);                                                                         \
    }
