// The reference for the start-up benchmark: a frameless 1024 x 640 scene view with a small scene on
// Qt's default scene-graph backend, and nothing else.
#include <QApplication>
#include <QQuickWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QQuickWidget view;
    view.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    view.setResizeMode(QQuickWidget::SizeRootObjectToView);
    view.setSource(QUrl(QStringLiteral("qrc:/minimal/Scene.qml")));
    view.resize(1024, 640);
    view.show();
    return app.exec();
}
