#include "JourneyCase.h"

#include <QtTest>

void JourneyCase::initTestCase()
{
    if (!Journey::toolsPresent())
        QSKIP("Xvfb or xdotool missing");
    run = std::make_unique<Journey>();
    beforeLaunch();
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(run->launch(launchSettings), qPrintable(run->error()));
    afterLaunch();
}

void JourneyCase::cleanupTestCase()
{
    if (run)
        QCOMPARE(run->stop(), 0);
}
