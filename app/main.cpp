// Entry point of kestral-config.
#include "SceneBackend.h"
#include "StartUp.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    SceneBackend::applyDefault();
    QApplication app(argc, argv);
    SingleInstance instance(QCoreApplication::applicationFilePath());
    return StartUp::run(app, instance);
}
