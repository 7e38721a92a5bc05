// Entry point of kestral-config.
#include "CommandLine.h"
#include "SceneBackend.h"
#include "StartUp.h"
#include "platform/PlatformChoice.h"
#include "platform/SingleInstance.h"
#include "platform/UserInstallation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Commands (list, state, ...) need no window and no display.
    if (CommandLine::wantsCommandLine(argc, argv))
        return CommandLine::run(argc, argv);
    SceneBackend::applyDefault();
    PlatformChoice::apply(argc, argv);
    QApplication app(argc, argv);
    // One instance per working installation: every installed copy of one user shares one.
    QString error;
    const QString folder = UserInstallation::prepare(&error);
    if (folder.isEmpty())
        return UserInstallation::reportFailure(error);
    SingleInstance instance(folder);
    return StartUp::run(app, instance, {}, folder);
}
