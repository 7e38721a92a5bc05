// A journey as one test case: the program starts once, before the first test function, with the
// settings the journey gives, and must end with exit code 0 after the last. Without Xvfb or xdotool
// the whole case is skipped.
#pragma once

#include "Journey.h"

#include <QObject>

class JourneyCase : public QObject
{
    Q_OBJECT

protected:
    using Settings = QList<QPair<QString, QVariant>>;
    explicit JourneyCase(Settings settings) : launchSettings(std::move(settings)) {}

    // Before the program starts: files of its installation (the journey exists, nothing runs yet).
    virtual void beforeLaunch() {}
    // Once its scene is up, before the first test function; a failed check here ends the case.
    virtual void afterLaunch() {}

    std::unique_ptr<Journey> run;

private slots:
    void initTestCase();
    void cleanupTestCase();

private:
    const Settings launchSettings;
};
