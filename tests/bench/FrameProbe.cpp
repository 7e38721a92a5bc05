// Preloaded into a program under measurement (LD_PRELOAD): notes when its scene view first reaches the
// screen, its memory two seconds later and the cost of forced redraws, and writes them as key=value
// lines to the file named by KC_BENCH_OUT. The program itself is unchanged.
//   KC_BENCH_OUT       result file (nothing is measured without it)
//   KC_BENCH_SETTLE_MS time from the first frame to the memory reading (default 2000)
//   KC_BENCH_REDRAWS   forced full redraws after the memory reading (default 0)
//   KC_BENCH_QUIT      ends the program at once after writing, for profiling the start alone
//   KC_BENCH_TRACE     prints the events that decide a frame, with their times
//   KC_BENCH_PICTURES  lists the scene's pictures at the first frame with content: whether they are
//                      visible, loaded asynchronously, and their size
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWidget>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

qint64 clockNs(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QString apiName(QSGRendererInterface::GraphicsApi api)
{
    switch (api) {
    case QSGRendererInterface::Software:
        return QStringLiteral("software");
    case QSGRendererInterface::OpenGL:
        return QStringLiteral("opengl");
    case QSGRendererInterface::Vulkan:
        return QStringLiteral("vulkan");
    default:
        return QStringLiteral("other");
    }
}

// A frame has reached the screen when the top-level window has been flushed after painting the view.
// The window's expose and update requests are handled here, inside the filter, so the time can be
// taken after the flush has returned. The software renderer draws a view's first picture inside its
// first paint, without the rendering signals; later pictures, and all of the other backends', come
// from a render that signals.
class FrameProbe : public QObject
{
public:
    explicit FrameProbe(const QString &out) : m_out(out)
    {
        m_settleMs = qEnvironmentVariableIsSet("KC_BENCH_SETTLE_MS")
                         ? qEnvironmentVariableIntValue("KC_BENCH_SETTLE_MS")
                         : 2000;
        m_redraws = qEnvironmentVariableIntValue("KC_BENCH_REDRAWS");
        m_trace = qEnvironmentVariableIsSet("KC_BENCH_TRACE");
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_trace && m_view)
            trace(watched, event);
        switch (event->type()) {
        case QEvent::Show:
            if (!m_view) {
                if (auto *view = qobject_cast<QQuickWidget *>(watched))
                    attach(view);
            }
            break;
        case QEvent::Paint:
            if (m_view && watched == m_view) {
                QQuickItem *root = m_view->rootObject();
                const bool software = isSoftware();
                if (m_renders > 0 || software)
                    m_viewPainted = true;
                if (m_contentRendered || (software && m_paints == 0 && root && root->isVisible()))
                    m_paintShowsContent = true;
                ++m_paints;
            }
            break;
        case QEvent::Expose:
        case QEvent::UpdateRequest:
            if (m_view && isTopLevel(watched) && (!m_contentFrame || m_redrawing)) {
                m_viewPainted = false;
                // QObject::event is public; these objects have no filters of their own.
                const bool handled = watched->event(event);
                if (m_viewPainted)
                    flushed();
                return handled;
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    bool isSoftware() const
    {
        QSGRendererInterface *renderer = m_view->quickWindow()->rendererInterface();
        return renderer && renderer->graphicsApi() == QSGRendererInterface::Software;
    }

    void trace(QObject *watched, QEvent *event) const
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Paint || type == QEvent::Expose || type == QEvent::UpdateRequest ||
            type == QEvent::UpdateLater)
            std::fprintf(stderr, "probe %lld us: %s %s event %d, renders %d\n",
                         clockNs(CLOCK_MONOTONIC) / 1000, watched->metaObject()->className(),
                         qPrintable(watched->objectName()), int(type), m_renders);
    }

    void attach(QQuickWidget *view)
    {
        m_view = view;
        if (m_trace)
            std::fprintf(stderr, "probe %lld us: view shown\n", clockNs(CLOCK_MONOTONIC) / 1000);
        // A view renders on the GUI thread.
        connect(
            view->quickWindow(), &QQuickWindow::afterRendering, this,
            [this] {
                if (m_trace)
                    std::fprintf(stderr, "probe %lld us: rendered\n", clockNs(CLOCK_MONOTONIC) / 1000);
                ++m_renders;
                QQuickItem *root = m_view ? m_view->rootObject() : nullptr;
                if (root && root->isVisible())
                    m_contentRendered = true;
            },
            Qt::DirectConnection);
    }

    bool isTopLevel(QObject *o) const
    {
        QWidget *top = m_view->window();
        return o == top || (top->windowHandle() && o == top->windowHandle());
    }

    void flushed()
    {
        const qint64 now = clockNs(CLOCK_MONOTONIC);
        if (!m_firstFrame) {
            m_firstFrame = now;
            QTimer::singleShot(m_settleMs, this, &FrameProbe::settled);
        }
        if (!m_contentFrame && m_paintShowsContent) {
            m_contentFrame = now;
            m_contentCpu = clockNs(CLOCK_PROCESS_CPUTIME_ID);
            if (qEnvironmentVariableIsSet("KC_BENCH_PICTURES"))
                listPictures();
        }
        if (m_redrawing && m_renders > m_rendersCounted) {
            m_rendersCounted = m_renders;
            if (++m_redrawn >= m_redraws)
                finishRedraws();
            else
                redraw();
        }
    }

    void listPictures() const
    {
        QQuickItem *root = m_view->rootObject();
        if (!root)
            return;
        int visible = 0, hidden = 0, synchronous = 0;
        qint64 hiddenPixels = 0;
        // The item tree, not the object tree: a repeater's items have no object parent.
        QList<QQuickItem *> items{root};
        for (qsizetype i = 0; i < items.size(); ++i)
            items += items.at(i)->childItems();
        for (QQuickItem *item : items) {
            if (!item->inherits("QQuickImageBase"))
                continue;
            const QUrl source = item->property("source").toUrl();
            if (source.isEmpty())
                continue;
            const QSize size = item->property("sourceSize").toSize();
            const bool async = item->property("asynchronous").toBool();
            const bool shown = item->isVisible();
            (shown ? visible : hidden)++;
            if (!shown && !async) {
                ++synchronous;
                hiddenPixels += qint64(size.width()) * size.height();
            }
            std::fprintf(stderr, "picture %-7s %-5s %4dx%-4d %s\n", shown ? "visible" : "hidden",
                         async ? "async" : "sync", size.width(), size.height(),
                         qPrintable(source.toString()));
        }
        std::fprintf(stderr,
                     "pictures at the first frame: %d visible, %d hidden (%d of them decoded on the GUI "
                     "thread, %lld pixels)\n",
                     visible, hidden, synchronous, hiddenPixels);
    }

    void settled()
    {
        m_rss = residentKb();
        if (m_redraws <= 0 || !m_view->rootObject()) {
            write();
            return;
        }
        m_redrawing = true;
        m_rendersCounted = m_renders;
        m_cpuStart = clockNs(CLOCK_PROCESS_CPUTIME_ID);
        m_wallStart = clockNs(CLOCK_MONOTONIC);
        redraw();
    }

    // Alternating the root's opacity dirties every visible node, so each frame is drawn in full.
    void redraw()
    {
        QQuickItem *root = m_view->rootObject();
        root->setOpacity(m_redrawn % 2 ? 1.0 : 0.99);
    }

    void finishRedraws()
    {
        m_redrawing = false;
        m_cpuNs = clockNs(CLOCK_PROCESS_CPUTIME_ID) - m_cpuStart;
        m_wallNs = clockNs(CLOCK_MONOTONIC) - m_wallStart;
        m_view->rootObject()->setOpacity(1.0);
        write();
    }

    void write()
    {
        QByteArray text;
        auto line = [&text](const char *key, const QByteArray &value) {
            text += key;
            text += '=';
            text += value;
            text += '\n';
        };
        line("first_frame_ns", QByteArray::number(m_firstFrame));
        line("content_frame_ns", QByteArray::number(m_contentFrame));
        line("content_cpu_ns", QByteArray::number(m_contentCpu));
        line("rss_kb", QByteArray::number(m_rss));
        line("api", apiName(m_view ? m_view->quickWindow()->rendererInterface()->graphicsApi()
                                   : QSGRendererInterface::Unknown)
                        .toLatin1());
        line("redraws", QByteArray::number(m_redrawn));
        line("redraw_wall_ns", QByteArray::number(m_wallNs));
        line("redraw_cpu_ns", QByteArray::number(m_cpuNs));
        // Written aside and renamed, so a reader never sees half a file.
        QFile file(m_out + QStringLiteral(".part"));
        if (file.open(QIODevice::WriteOnly) && file.write(text) == text.size()) {
            file.close();
            QFile::remove(m_out);
            file.rename(m_out);
        }
        if (qEnvironmentVariableIsSet("KC_BENCH_QUIT"))
            std::_Exit(0);
    }

    QString m_out;
    int m_settleMs = 2000;
    int m_redraws = 0;
    bool m_trace = false;
    QPointer<QQuickWidget> m_view;
    int m_renders = 0;
    int m_rendersCounted = 0;
    int m_paints = 0;
    bool m_contentRendered = false;
    bool m_viewPainted = false;
    bool m_paintShowsContent = false;
    qint64 m_firstFrame = 0;
    qint64 m_contentFrame = 0;
    qint64 m_contentCpu = 0; // processor time of all threads until then
    qint64 m_rss = -1;
    bool m_redrawing = false;
    int m_redrawn = 0;
    qint64 m_cpuStart = 0;
    qint64 m_wallStart = 0;
    qint64 m_cpuNs = 0;
    qint64 m_wallNs = 0;
};

void installProbe()
{
    const QString out = qEnvironmentVariable("KC_BENCH_OUT");
    if (out.isEmpty())
        return;
    if (qEnvironmentVariableIsSet("KC_BENCH_TRACE"))
        std::fprintf(stderr, "probe %lld us: application object\n", clockNs(CLOCK_MONOTONIC) / 1000);
    auto *probe = new FrameProbe(out);
    probe->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(probe);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installProbe)
