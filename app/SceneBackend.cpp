// The window is small, mostly still and drawn once per change, so the software renderer draws it
// cheaply; it reaches its first frame sooner and needs well under half the memory of an OpenGL
// context, markedly so where OpenGL itself runs on the processor (no GPU, virtual and remote displays).
#include "SceneBackend.h"

#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtGlobal>

bool SceneBackend::chosenByPerson()
{
    return !qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND") ||
           !qEnvironmentVariableIsEmpty("QSG_RHI_BACKEND");
}

bool SceneBackend::applyDefault()
{
    if (chosenByPerson())
        return false;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return true;
}
