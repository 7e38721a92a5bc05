// kc-scene-ask: asks the scene probe of a running program one question, for scripts.
//   kc-scene-ask SOCKET REQUEST...      prints the answer: a list as space-separated items, a text
//                                       as it is, anything else as JSON; exit 1 on an error answer,
//                                       2 when nobody answers
//   kc-scene-ask --crop FILE X Y W H    cuts a picture down to a rectangle, in place
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QStringList>
#include <cstdio>

namespace {

QString plain(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    if (v.isArray()) {
        QStringList items;
        for (const QJsonValue &e : v.toArray())
            items << (e.isString() || e.isDouble() || e.isBool()
                          ? plain(e)
                          : QString::fromUtf8(QJsonDocument(QJsonArray{e}).toJson(QJsonDocument::Compact)));
        return items.join(QLatin1Char(' '));
    }
    if (v.isDouble())
        return QString::number(v.toDouble());
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isObject())
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    return QStringLiteral("null");
}

int crop(const QStringList &args)
{
    if (args.size() != 5)
        return 2;
    QImage image(args[0]);
    if (image.isNull())
        return 1;
    const QRect r(args[1].toInt(), args[2].toInt(), args[3].toInt(), args[4].toInt());
    return image.copy(r.intersected(image.rect())).save(args[0]) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc >= 2 && qstrcmp(argv[1], "--crop") == 0) {
        QStringList args;
        for (int i = 2; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        return crop(args);
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: kc-scene-ask SOCKET REQUEST... | --crop FILE X Y W H\n");
        return 2;
    }
    QStringList request;
    for (int i = 2; i < argc; ++i)
        request << QString::fromLocal8Bit(argv[i]);

    QLocalSocket socket;
    socket.connectToServer(QString::fromLocal8Bit(argv[1]));
    if (!socket.waitForConnected(2000))
        return 2;
    socket.write(request.join(QLatin1Char(' ')).toUtf8() + '\n');
    QByteArray line;
    while (!line.endsWith('\n')) {
        if (!socket.waitForReadyRead(10000))
            return 2;
        line += socket.readAll();
    }
    const QJsonObject answer = QJsonDocument::fromJson(line).object();
    if (!answer.value(QStringLiteral("ok")).toBool()) {
        std::fprintf(stderr, "%s\n", qPrintable(answer.value(QStringLiteral("error")).toString()));
        return 1;
    }
    std::printf("%s\n", qPrintable(plain(answer.value(QStringLiteral("value")))));
    return 0;
}
