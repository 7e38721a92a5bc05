// Makes the theme icons of the desktop entry from the program's logo: one PNG per size, each scaled
// down from the smallest picture in the logo that is at least as large (the largest when none is).
// kc-make-icons LOGO OUTDIR NAME SIZE... writes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: kc-make-icons LOGO OUTDIR NAME SIZE...\n");
        return 2;
    }

    QImageReader reader(args.at(1));
    QList<QImage> pictures;
    const int count = qMax(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        QImage picture = reader.read();
        if (!picture.isNull())
            pictures.append(picture.convertToFormat(QImage::Format_ARGB32));
    }
    if (pictures.isEmpty()) {
        std::fprintf(stderr, "kc-make-icons: cannot read %s: %s\n", qPrintable(args.at(1)),
                     qPrintable(reader.errorString()));
        return 1;
    }

    for (int a = 4; a < args.size(); ++a) {
        bool ok = false;
        const int size = args.at(a).toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "kc-make-icons: not a size: %s\n", qPrintable(args.at(a)));
            return 2;
        }
        const QImage *best = nullptr;
        for (const QImage &p : pictures) {
            const int side = qMin(p.width(), p.height());
            const int bestSide = best ? qMin(best->width(), best->height()) : 0;
            // The smallest that is large enough; until one is found, the largest so far.
            if (!best || (side >= size && (bestSide < size || side < bestSide)) ||
                (bestSide < size && side > bestSide))
                best = &p;
        }
        const QImage icon = best->size() == QSize(size, size)
                                ? *best
                                : best->scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
        const QString file = dir + QLatin1Char('/') + args.at(3) + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !icon.save(file, "PNG")) {
            std::fprintf(stderr, "kc-make-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
