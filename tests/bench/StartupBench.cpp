// Start-up benchmark: starts the program (in a temporary installation, with the virtual mouse) and the
// minimal reference program several times each on a private Xvfb, for each scene-graph backend, and
// prints the medians of the time to the first frame, the memory two seconds later and the cost of a
// forced full redraw, with the ratios program / minimal.
#include "AppTestSupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>

namespace {

struct Backend
{
    QString name;
    QStringList env; // VAR=value pairs; the person's own backend variables are always removed first
};

struct Sample
{
    double firstMs = 0;
    double contentMs = 0;
    double contentCpuMs = 0;
    double rssMb = 0;
    double frameMs = 0;
    double frameCpuMs = 0;
    QString api;
};

struct Options
{
    int runs = 7;
    int redraws = 100;
    int settleMs = 2000;
    QString display;
    QString program = QStringLiteral(KC_INSTALLATION_DIR "/kestral-config");
    QString minimal;
    QString probe;
    QString virtualMouse = QStringLiteral(KC_VIRTUAL_MOUSE_LIB);
};

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// A sanitizer build's runtime has to be loaded before anything else that is preloaded.
QString preloadList(const QString &library)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {library});
    ldd.waitForFinished(10000);
    for (const QByteArray &line : ldd.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split(' ');
        if (parts.size() >= 3 &&
            (parts.at(0).startsWith("libasan.so") || parts.at(0).startsWith("libtsan.so")))
            return QString::fromLocal8Bit(parts.at(2)) + QLatin1Char(':') + library;
    }
    return library;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

class Bench
{
public:
    explicit Bench(const Options &options) : m_opt(options) {}

    // One start of one program; false when it gave no figures.
    bool run(bool isProgram, const Backend &backend, Sample &sample, QString &error)
    {
        QTemporaryDir scratch;
        std::unique_ptr<TempInstallation> inst;
        QString executable = m_opt.minimal;
        if (isProgram) {
            inst = std::make_unique<TempInstallation>();
            if (!inst->isValid() || !inst->addExecutable(m_opt.program)) {
                error = QStringLiteral("no temporary installation");
                return false;
            }
            executable = inst->path() + QStringLiteral("/kestral-config");
        }
        const QString out = scratch.path() + QStringLiteral("/frame.txt");

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QUICK_BACKEND"));
        env.remove(QStringLiteral("QSG_RHI_BACKEND"));
        env.remove(QStringLiteral("QSG_INFO"));
        env.insert(QStringLiteral("DISPLAY"), m_opt.display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), scratch.path());
        // The program gets the virtual mouse the way tools/with-virtual-mouse preloads it; both are
        // started directly, since that script's own start costs more than a few milliseconds.
        env.insert(QStringLiteral("LD_PRELOAD"),
                   isProgram ? preloadList(m_opt.virtualMouse) + QLatin1Char(':') + m_opt.probe
                             : preloadList(m_opt.probe));
        env.insert(QStringLiteral("KC_BENCH_OUT"), out);
        env.insert(QStringLiteral("KC_BENCH_SETTLE_MS"), QString::number(m_opt.settleMs));
        env.insert(QStringLiteral("KC_BENCH_REDRAWS"), QString::number(m_opt.redraws));
        for (const QString &kv : backend.env)
            env.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));

        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(scratch.path()); // the program finds its own folder
        process.setProcessChannelMode(QProcess::MergedChannels);
        const qint64 started = monotonicNs();
        process.start(executable, QStringList());

        QByteArray output;
        QFile result(out);
        const int timeoutMs = 60000 + m_opt.settleMs + m_opt.redraws * 500;
        QElapsedTimer waited;
        waited.start();
        while (!result.exists() && process.state() != QProcess::NotRunning && waited.elapsed() < timeoutMs) {
            process.waitForReadyRead(20);
            output += process.readAll();
        }
        const bool gotResult = result.exists();
        if (process.state() != QProcess::NotRunning) {
            ::kill(pid_t(process.processId()), SIGTERM);
            if (!process.waitForFinished(10000)) {
                process.kill();
                process.waitForFinished();
            }
        }
        output += process.readAll();
        if (!gotResult || !result.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("no figures from %1 (exit %2):\n%3")
                        .arg(QFileInfo(executable).fileName())
                        .arg(process.exitCode())
                        .arg(QString::fromLocal8Bit(output.right(2000)));
            return false;
        }
        QHash<QByteArray, QByteArray> values;
        for (const QByteArray &line : result.readAll().split('\n')) {
            const int eq = line.indexOf('=');
            if (eq > 0)
                values.insert(line.left(eq), line.mid(eq + 1));
        }
        const qint64 first = values.value("first_frame_ns").toLongLong();
        const qint64 content = values.value("content_frame_ns").toLongLong();
        const int redrawn = values.value("redraws").toInt();
        if (first <= 0) {
            error = QStringLiteral("no first frame");
            return false;
        }
        sample.firstMs = double(first - started) / 1e6;
        sample.contentMs = content > 0 ? double(content - started) / 1e6 : 0;
        sample.contentCpuMs = values.value("content_cpu_ns").toDouble() / 1e6;
        sample.rssMb = values.value("rss_kb").toDouble() / 1024.0;
        sample.api = QString::fromLatin1(values.value("api"));
        if (redrawn > 0) {
            sample.frameMs = values.value("redraw_wall_ns").toDouble() / redrawn / 1e6;
            sample.frameCpuMs = values.value("redraw_cpu_ns").toDouble() / redrawn / 1e6;
        }
        return true;
    }

private:
    const Options &m_opt;
};

struct Row
{
    QString backend;
    QString program;
    QString api;
    double firstMs, contentMs, contentCpuMs, rssMb, frameMs, frameCpuMs;
};

Row summarise(const QString &backend, const QString &program, const QList<Sample> &samples)
{
    QList<double> first, content, contentCpu, rss, frame, cpu;
    for (const Sample &s : samples) {
        first << s.firstMs;
        content << s.contentMs;
        contentCpu << s.contentCpuMs;
        rss << s.rssMb;
        frame << s.frameMs;
        cpu << s.frameCpuMs;
    }
    return {backend,       program,         samples.isEmpty() ? QString() : samples.first().api,
            median(first), median(content), median(contentCpu),
            median(rss),   median(frame),   median(cpu)};
}

QString ratio(double a, double b)
{
    return b > 0 ? QString::number(a / b, 'f', 2) : QStringLiteral("-");
}

void print(const QList<Row> &rows)
{
    std::printf("\n%-9s %-8s %-9s %9s %10s %9s %8s %9s %9s\n", "backend", "program", "api", "first ms",
                "content ms", "start CPU", "RSS MB", "frame ms", "frame CPU");
    for (const Row &r : rows)
        std::printf("%-9s %-8s %-9s %9.0f %10.0f %9.0f %8.1f %9.2f %9.2f\n", qPrintable(r.backend),
                    qPrintable(r.program), qPrintable(r.api), r.firstMs, r.contentMs, r.contentCpuMs, r.rssMb,
                    r.frameMs, r.frameCpuMs);

    // The reference is the minimal program on Qt's default backend.
    const Row *reference = nullptr;
    for (const Row &r : rows) {
        if (r.program == QLatin1String("minimal") && r.backend == QLatin1String("default"))
            reference = &r;
    }
    auto ratios = [](const Row &r, const Row &m) {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(ratio(r.firstMs, m.firstMs), 7)
            .arg(ratio(r.contentMs, m.contentMs), 7)
            .arg(ratio(r.rssMb, m.rssMb), 7)
            .arg(ratio(r.frameCpuMs, m.frameCpuMs), 7);
    };
    std::printf("\nratios              vs minimal, same backend        vs minimal, default backend\n");
    std::printf("%-9s %-8s %s   %s\n", "backend", "program", "  first content     RSS   frame",
                "  first content     RSS   frame");
    for (const Row &r : rows) {
        const Row *same = &r;
        for (const Row &m : rows) {
            if (m.program == QLatin1String("minimal") && m.backend == r.backend)
                same = &m;
        }
        std::printf("%-9s %-8s %s   %s\n", qPrintable(r.backend), qPrintable(r.program),
                    qPrintable(ratios(r, *same)), qPrintable(reference ? ratios(r, *reference) : QString()));
    }
    std::printf(
        "first: the view's first frame on screen; content: the first frame with the scene's root shown;\n"
        "start CPU: processor time of all threads until then; frame: a forced full redraw, its\n"
        "CPU time in the ratios\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Start-up benchmark: first frame, memory and redraw cost of the program against a "
                       "minimal scene view, for each scene-graph backend."));
    parser.addHelpOption();
    const QCommandLineOption runsOpt(QStringLiteral("runs"),
                                     QStringLiteral("Starts per program and backend."), QStringLiteral("n"),
                                     QStringLiteral("7"));
    const QCommandLineOption redrawsOpt(QStringLiteral("redraws"),
                                        QStringLiteral("Forced full redraws per start."), QStringLiteral("n"),
                                        QStringLiteral("100"));
    const QCommandLineOption settleOpt(QStringLiteral("settle-ms"),
                                       QStringLiteral("Time from the first frame to the memory reading."),
                                       QStringLiteral("ms"), QStringLiteral("2000"));
    const QCommandLineOption backendsOpt(QStringLiteral("backends"),
                                         QStringLiteral("Comma-separated: default, software, opengl."),
                                         QStringLiteral("list"), QStringLiteral("default,software,opengl"));
    const QCommandLineOption quickOpt(
        QStringLiteral("quick"), QStringLiteral("One start each, few redraws, short settle: a smoke run."));
    const QCommandLineOption programOpt(QStringLiteral("program"), QStringLiteral("The program to measure."),
                                        QStringLiteral("path"));
    parser.addOptions({runsOpt, redrawsOpt, settleOpt, backendsOpt, quickOpt, programOpt});
    parser.process(app);

    Options opt;
    opt.runs = qMax(1, parser.value(runsOpt).toInt());
    opt.redraws = qMax(0, parser.value(redrawsOpt).toInt());
    opt.settleMs = qMax(0, parser.value(settleOpt).toInt());
    if (parser.isSet(quickOpt)) {
        opt.runs = 1;
        opt.redraws = 10;
        opt.settleMs = 200;
    }
    if (parser.isSet(programOpt))
        opt.program = parser.value(programOpt);
    const QString here = QCoreApplication::applicationDirPath();
    opt.minimal = here + QStringLiteral("/kc-bench-minimal");
    opt.probe = QStringLiteral(KC_BENCH_PROBE_LIB);

    QList<Backend> backends;
    for (const QString &name : parser.value(backendsOpt).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (name == QLatin1String("default"))
            backends.append({name, {}});
        else if (name == QLatin1String("software"))
            backends.append({name, {QStringLiteral("QT_QUICK_BACKEND=software")}});
        else if (name == QLatin1String("opengl"))
            backends.append({name, {QStringLiteral("QSG_RHI_BACKEND=opengl")}});
        else {
            std::fprintf(stderr, "unknown backend %s\n", qPrintable(name));
            return 2;
        }
    }
    for (const QString &file : {opt.program, opt.minimal, opt.probe}) {
        if (!QFileInfo::exists(file)) {
            std::fprintf(stderr, "missing %s\n", qPrintable(file));
            return 2;
        }
    }

    PrivateXServer server;
    if (!server.isRunning()) {
        std::fprintf(stderr, "no Xvfb server could be started\n");
        return 1;
    }
    opt.display = server.display();
    std::printf("Xvfb %s 1280x800x24; %d start(s) per program and backend, %d redraws, memory %d ms after "
                "the first frame; medians\n",
                qPrintable(opt.display), opt.runs, opt.redraws, opt.settleMs);
    std::fflush(stdout);

    Bench bench(opt);
    QList<Row> rows;
    int failures = 0;
    for (const Backend &backend : backends) {
        QList<Sample> minimal, program;
        // Alternating the two spreads any change in the machine's load over both.
        for (int i = 0; i < opt.runs; ++i) {
            for (bool isProgram : {false, true}) {
                Sample s;
                QString error;
                if (!bench.run(isProgram, backend, s, error)) {
                    ++failures;
                    std::fprintf(stderr, "%s %s: %s\n", qPrintable(backend.name),
                                 isProgram ? "program" : "minimal", qPrintable(error));
                    continue;
                }
                (isProgram ? program : minimal).append(s);
                std::printf("  %-8s %-8s first %6.0f ms  content %6.0f ms  RSS %6.1f MB  frame %6.2f ms (CPU "
                            "%6.2f ms)  %s\n",
                            qPrintable(backend.name), isProgram ? "program" : "minimal", s.firstMs,
                            s.contentMs, s.rssMb, s.frameMs, s.frameCpuMs, qPrintable(s.api));
                std::fflush(stdout);
            }
        }
        if (!minimal.isEmpty() && !program.isEmpty()) {
            rows.append(summarise(backend.name, QStringLiteral("minimal"), minimal));
            rows.append(summarise(backend.name, QStringLiteral("program"), program));
        }
    }
    print(rows);
    return failures || rows.size() != 2 * backends.size() ? 1 : 0;
}
