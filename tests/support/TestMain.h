#pragma once
// A test main that runs under the program's own application object, so that
// errors escaping a handler are shown (and recorded) as in the program.
#include "widgets/ErrorDisplay.h"

#include <QtTest>

#define TORQUIL_TEST_MAIN(TestObject)                  \
    int main(int argc, char** argv) {                  \
        widgets::Application app(argc, argv);          \
        app.setAttribute(Qt::AA_Use96Dpi, true);       \
        TestObject tc;                                 \
        QTEST_SET_MAIN_SOURCE_PATH                     \
        return QTest::qExec(&tc, argc, argv);          \
    }
