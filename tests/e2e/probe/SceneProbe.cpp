// A test instrument preloaded into the unchanged program: it finds the scene of the program's
// QQuickWidget and answers questions about it on a local socket named by KC_SCENE_PROBE_SOCKET.
// It reads the scene only (plus expressions the journeys ask for) and never touches the program.
//
// One request per line, one JSON answer per line ({"ok":true,"value":…} or {"ok":false,"error":…}):
//   ready                    whether the scene has a root item
//   rect PATH                global [x, y, width, height] of the item's bounding box on screen
//   point PATH FX FY         global [x, y] of the point at fractions FX, FY of the item's own size
//                            (rotation and scale included)
//   prop PATH NAME           a property of the item
//   eval PATH EXPR           a JavaScript expression in the context of the ids of the item's own file
//                            (for a page: its inner ids), the item in scope
//   find PATH TEXT           global rect of the first visible item below PATH whose text is TEXT
//   dump PATH                the items below PATH: id, type, rect, visibility, text
//   settle                   answers once the scene has drawn no frame for a while (for pictures)
//   widget CLASS[/NAME]      the program's first shown window of that widget class (a file dialog),
//                            or its child of that object name: {rect, title, focus, active} and, for
//                            a line edit, {text, popup} (whether its completion list is open)
// PATH is "." for the root, or ids separated by '/': "dpiSettingMain/dpi0". Each step is looked up
// as an id in the current item's context, then as a property holding an object, then as an id of
// any object below it, then as an objectName; "#N" is the Nth shown child item with an area.
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJSValue>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQmlExpression>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QTimer>
#include <QWidget>

namespace {

QQuickWidget *sceneWidget()
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *view = qobject_cast<QQuickWidget *>(w))
            return view;
    }
    return nullptr;
}

QString idOf(QObject *object)
{
    QQmlContext *context = qmlContext(object);
    return context ? context->nameForObject(object) : QString();
}

// Every object below `from` in the item tree and the object tree, breadth first.
QList<QObject *> descendants(QObject *from)
{
    QList<QObject *> out;
    QList<QObject *> queue{from};
    QSet<QObject *> seen{from};
    while (!queue.isEmpty()) {
        QObject *o = queue.takeFirst();
        QList<QObject *> next = o->children();
        if (auto *item = qobject_cast<QQuickItem *>(o)) {
            for (QQuickItem *c : item->childItems())
                next << c;
        }
        for (QObject *c : next) {
            if (!seen.contains(c)) {
                seen.insert(c);
                out << c;
                queue << c;
            }
        }
    }
    return out;
}

// The context of the ids a component's file declares: qmlContext() of the component's root object is
// the context it was placed in, while the objects the file creates carry the file's own context, whose
// scope object is that root (or which names it by its id).
QQmlContext *ownContext(QObject *object)
{
    QQmlContext *outer = qmlContext(object);
    for (QObject *o : descendants(object)) {
        QQmlContext *c = qmlContext(o);
        if (c && c != outer && (c->contextObject() == object || !c->nameForObject(object).isEmpty()))
            return c;
    }
    return outer;
}

QObject *step(QObject *current, const QString &name)
{
    // "#N": the Nth shown child item with an area (delegates of a Repeater have no id).
    if (name.startsWith(QLatin1Char('#'))) {
        auto *item = qobject_cast<QQuickItem *>(current);
        int n = name.mid(1).toInt();
        for (QQuickItem *c : item ? item->childItems() : QList<QQuickItem *>()) {
            if (c->isVisible() && c->width() > 0 && c->height() > 0 && n-- == 0)
                return c;
        }
        return nullptr;
    }
    for (QQmlContext *context : {ownContext(current), qmlContext(current)}) {
        if (QObject *o = context ? context->objectForName(name) : nullptr)
            return o;
    }
    const QVariant v = current->property(name.toUtf8().constData());
    if (QObject *o = v.value<QObject *>())
        return o;
    const QList<QObject *> below = descendants(current);
    for (QObject *o : below) {
        if (idOf(o) == name)
            return o;
    }
    for (QObject *o : below) {
        if (o->objectName() == name)
            return o;
    }
    return nullptr;
}

QJsonValue toJson(const QVariant &value)
{
    QVariant v = value;
    if (v.metaType() == QMetaType::fromType<QJSValue>())
        v = v.value<QJSValue>().toVariant();
    if (v.metaType() == QMetaType::fromType<QColor>())
        return v.value<QColor>().name(QColor::HexArgb);
    if (v.metaType() == QMetaType::fromType<QUrl>())
        return v.toUrl().toString();
    if (QObject *o = v.value<QObject *>()) {
        const QString id = idOf(o);
        return QStringLiteral("%1(%2)").arg(QString::fromLatin1(o->metaObject()->className()), id);
    }
    if (v.canConvert<QVariantList>() && v.metaType() != QMetaType::fromType<QString>()) {
        QJsonArray a;
        for (const QVariant &e : v.value<QVariantList>())
            a.append(toJson(e));
        return a;
    }
    return QJsonValue::fromVariant(v);
}

class Probe : public QObject
{
public:
    explicit Probe(const QString &socketPath)
    {
        QLocalServer::removeServer(socketPath);
        server.setSocketOptions(QLocalServer::UserAccessOption);
        if (!server.listen(socketPath))
            qWarning("scene probe: cannot listen on %s", qPrintable(socketPath));
        connect(&server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *s = server.nextPendingConnection()) {
                connect(s, &QLocalSocket::readyRead, this, [this, s] { serve(s); });
                connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }

private:
    QLocalServer server;
    QElapsedTimer sinceFrame;
    QPointer<QQuickWindow> watched;

    // Frames of the scene's own window mark it as still changing.
    void watchFrames()
    {
        QQuickWidget *view = sceneWidget();
        QQuickWindow *window = view ? view->quickWindow() : nullptr;
        if (!window || window == watched)
            return;
        watched = window;
        sinceFrame.start();
        connect(window, &QQuickWindow::afterRendering, this, [this] { sinceFrame.restart(); });
    }

    // Answers when no frame came for 200 ms, or after 10 s whatever happens.
    void settle(QLocalSocket *socket)
    {
        watchFrames();
        QPointer<QLocalSocket> s(socket);
        auto *timer = new QTimer(this);
        QElapsedTimer waited;
        waited.start();
        connect(timer, &QTimer::timeout, this, [this, s, timer, waited] {
            if (sinceFrame.isValid() && sinceFrame.elapsed() < 200 && waited.elapsed() < 10000)
                return;
            timer->deleteLater();
            if (s) {
                s->write("{\"ok\":true,\"value\":true}\n");
                s->flush();
            }
        });
        timer->start(20);
    }

    void serve(QLocalSocket *socket)
    {
        watchFrames();
        while (socket->canReadLine()) {
            const QString line = QString::fromUtf8(socket->readLine()).trimmed();
            if (line == QLatin1String("settle")) {
                settle(socket);
                continue;
            }
            QJsonObject answer;
            QString error;
            const QJsonValue value = handle(line, &error);
            answer.insert(QStringLiteral("ok"), error.isEmpty());
            if (error.isEmpty())
                answer.insert(QStringLiteral("value"), value);
            else
                answer.insert(QStringLiteral("error"), error);
            socket->write(QJsonDocument(answer).toJson(QJsonDocument::Compact) + '\n');
            socket->flush();
        }
    }

    static QQuickItem *root()
    {
        QQuickWidget *view = sceneWidget();
        return view ? view->rootObject() : nullptr;
    }

    static QObject *resolve(const QString &path, QString *error)
    {
        QObject *current = root();
        if (!current) {
            *error = QStringLiteral("no scene");
            return nullptr;
        }
        if (path == QLatin1String("."))
            return current;
        for (const QString &name : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            QObject *next = step(current, name);
            if (!next) {
                *error = QStringLiteral("no object '%1' in '%2'").arg(name, path);
                return nullptr;
            }
            current = next;
        }
        return current;
    }

    static QPointF toGlobal(QQuickItem *item, const QPointF &local)
    {
        QQuickWidget *view = sceneWidget();
        const QPointF scene = item->mapToScene(local);
        return QPointF(view->mapToGlobal(QPoint(0, 0))) + scene;
    }

    static QJsonArray globalRect(QQuickItem *item)
    {
        const QRectF scene = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
        const QPointF topLeft = QPointF(sceneWidget()->mapToGlobal(QPoint(0, 0))) + scene.topLeft();
        return {qRound(topLeft.x()), qRound(topLeft.y()), qRound(scene.width()), qRound(scene.height())};
    }

    static QJsonValue evaluate(QObject *scope, const QString &expression, QString *error)
    {
        QQmlContext *context = ownContext(scope);
        if (!context) {
            *error = QStringLiteral("no context");
            return {};
        }
        QQmlExpression e(context, scope, expression);
        bool undefined = false;
        const QVariant v = e.evaluate(&undefined);
        if (e.hasError()) {
            *error = e.error().toString();
            return {};
        }
        return undefined ? QJsonValue(QJsonValue::Undefined) : toJson(v);
    }

    static QJsonArray dump(QQuickItem *from)
    {
        QJsonArray out;
        for (QObject *o : descendants(from)) {
            auto *item = qobject_cast<QQuickItem *>(o);
            if (!item)
                continue;
            QJsonObject e;
            e.insert(QStringLiteral("id"), idOf(item));
            e.insert(QStringLiteral("type"), QString::fromLatin1(item->metaObject()->className()));
            e.insert(QStringLiteral("rect"), globalRect(item));
            e.insert(QStringLiteral("visible"), item->isVisible());
            const QVariant text = item->property("text");
            if (text.isValid())
                e.insert(QStringLiteral("text"), text.toString());
            out.append(e);
        }
        return out;
    }

    // Windows of widgets the program opens beside its scene, such as its file dialogs.
    static QJsonValue widget(const QString &target, QString *error)
    {
        const QByteArray cls = target.section(QLatin1Char('/'), 0, 0).toLatin1();
        const QString name = target.section(QLatin1Char('/'), 1);
        QWidget *found = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || !w->inherits(cls.constData()))
                continue;
            found = name.isEmpty() ? w : w->findChild<QWidget *>(name);
            if (found)
                break;
        }
        if (!found) {
            *error = QStringLiteral("no shown widget '%1'").arg(target);
            return {};
        }
        const QPoint topLeft = found->mapToGlobal(QPoint(0, 0));
        QJsonObject o;
        o.insert(QStringLiteral("rect"),
                 QJsonArray{topLeft.x(), topLeft.y(), found->width(), found->height()});
        o.insert(QStringLiteral("title"), found->window()->windowTitle());
        o.insert(QStringLiteral("focus"), found->hasFocus());
        o.insert(QStringLiteral("active"), found->isActiveWindow());
        if (auto *edit = qobject_cast<QLineEdit *>(found)) {
            o.insert(QStringLiteral("text"), edit->text());
            QCompleter *completer = edit->completer();
            o.insert(QStringLiteral("popup"),
                     completer && completer->popup() && completer->popup()->isVisible());
        }
        return o;
    }

    QJsonValue handle(const QString &line, QString *error)
    {
        const QString op = line.section(QLatin1Char(' '), 0, 0);
        const QString path = line.section(QLatin1Char(' '), 1, 1);
        const QString rest = line.section(QLatin1Char(' '), 2);
        if (op == QLatin1String("ready"))
            return root() != nullptr;
        if (op == QLatin1String("widget"))
            return widget(path, error);
        QObject *object = resolve(path.isEmpty() ? QStringLiteral(".") : path, error);
        if (!object)
            return {};
        auto *item = qobject_cast<QQuickItem *>(object);
        if (op == QLatin1String("prop"))
            return toJson(object->property(rest.toUtf8().constData()));
        if (op == QLatin1String("eval"))
            return evaluate(object, rest, error);
        if (!item) {
            *error = QStringLiteral("'%1' is not an item").arg(path);
            return {};
        }
        if (op == QLatin1String("rect"))
            return globalRect(item);
        if (op == QLatin1String("point")) {
            const double fx = rest.section(QLatin1Char(' '), 0, 0).toDouble();
            const double fy = rest.section(QLatin1Char(' '), 1, 1).toDouble();
            const QPointF p = toGlobal(item, QPointF(fx * item->width(), fy * item->height()));
            return QJsonArray{qRound(p.x()), qRound(p.y())};
        }
        if (op == QLatin1String("find")) {
            for (QObject *o : descendants(item)) {
                auto *candidate = qobject_cast<QQuickItem *>(o);
                if (candidate && candidate->isVisible() && candidate->property("text").toString() == rest)
                    return globalRect(candidate);
            }
            *error = QStringLiteral("no visible text '%1' below '%2'").arg(rest, path);
            return {};
        }
        if (op == QLatin1String("dump"))
            return dump(item);
        *error = QStringLiteral("unknown request '%1'").arg(op);
        return {};
    }
};

QPointer<Probe> g_probe;

void startProbe()
{
    const QString path = qEnvironmentVariable("KC_SCENE_PROBE_SOCKET");
    if (path.isEmpty() || g_probe)
        return;
    // The event loop is not running yet: listen once it does.
    QCoreApplication *app = QCoreApplication::instance();
    QMetaObject::invokeMethod(
        app,
        [path, app] {
            g_probe = new Probe(path);
            g_probe->setParent(app);
        },
        Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
