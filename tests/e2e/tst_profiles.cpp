// Profiles and guns under real input: a new profile chosen in the title bar, a profile exported and
// imported (and named after its file) through the real file dialog, a gun preset chosen and its recoil
// dragged in the gun editor, and the factory reset. Each checks what the installation's files hold and what
// the mouse received.
#include "DeviceKeyForm.h"
#include "Journey.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QtTest>

#include <initializer_list>

namespace {

// The mouse of these journeys: the 553 family, full-colour lighting, sensor 3360, gun functions.
const QList<QPair<QString, QVariant>> kMouse{{"mouse/icType", "553"},
                                             {"mouse/isColorful", true},
                                             {"mouse/is55328", false},
                                             {"mouse/isGun", true},
                                             {"mouse/sensorType", "3360"},
                                             {"mouse/profileNo", 0},
                                             {"mouse/selectGun", QStringList{"0", "1", "2"}}};
const int kStageOff = 0x80;

QString text(const QVariant &v)
{
    return v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                       : v.toString();
}

QList<int> ints(const QVariant &v)
{
    QList<int> out;
    const QStringList items = v.metaType().id() == QMetaType::QStringList
                                  ? v.toStringList()
                                  : v.toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &s : items)
        out << s.trimmed().toInt();
    return out;
}

// Every key of a settings file with its value as text.
QMap<QString, QString> values(const QString &file)
{
    QSettings s(file, QSettings::IniFormat);
    QMap<QString, QString> out;
    for (const QString &key : s.allKeys())
        out.insert(key, text(s.value(key)));
    return out;
}

// The keys of `expected` whose values `actual` lacks or differs in; empty when it holds them all.
QStringList differing(const QMap<QString, QString> &expected, const QMap<QString, QString> &actual)
{
    QStringList out;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (actual.value(it.key(), QStringLiteral("<missing>")) != it.value())
            out << it.key() + QLatin1Char('=') + actual.value(it.key(), QStringLiteral("<missing>"));
    }
    return out;
}

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b += char(v);
    return b;
}

// One button's definition as a 553-family mouse takes it.
QByteArray deviceForm(const QList<int> &c)
{
    QByteArray b;
    for (int v : deviceKeyForm(c))
        b += char(v);
    return b;
}

// What a profile file makes the mouse hold: the stages, the rate, the lighting and the key matrices.
struct Expected
{
    QJsonArray dpiCodes;
    int dpiCount = 0;
    int rate = 0;
    int effect = 0, option1 = 0, option2 = 0;
    QJsonArray colors;
    QByteArray mainMatrix;
    QByteArray gunTemplate;
};

Expected expectedFrom(const QString &file)
{
    QSettings s(file, QSettings::IniFormat);
    Expected e;
    const QList<int> dpi = ints(s.value("mouse/dpiValueArray"));
    e.dpiCount = s.value("mouse/currentDpiCount").toInt();
    for (int i = 0; i < 8; ++i)
        e.dpiCodes.append(i < e.dpiCount ? dpi.value(i) / 100 - 1 : kStageOff);
    e.rate = QList<int>{8, 4, 2, 1}.value(s.value("mouse/reportRate").toInt());
    // Full-colour effects: code, whether brightness and which speed table they take.
    const QList<int> light = ints(s.value("mouse/lightValue"));
    const int brightness[] = {0, 64, 128, 192, 255};
    const QList<QList<int>> speeds{
        {10, 7, 5, 3, 1}, {20, 17, 15, 13, 11}, {15, 13, 10, 7, 5}, {30, 27, 24, 22, 20}};
    const int effect = light.value(0), speed = light.value(1), bright = light.value(2);
    const int codes[] = {1, 3, 4, 0, 2, 5, 6, 7, 8, 9, 10};
    const bool takesBrightness[] = {true, false, false, false, true, true, false, true, true, true, true};
    const int speedTable[] = {-1, 0, 0, -1, -1, 0, -1, -1, 1, 2, 3};
    e.effect = codes[effect];
    e.option1 = effect == 2 ? 255 : takesBrightness[effect] ? brightness[bright] : 0;
    e.option2 = speedTable[effect] < 0 ? 0 : speeds[speedTable[effect]].value(speed);
    for (int c : ints(s.value("mouse/colorValue")))
        e.colors.append(c);
    for (int n = 0; n < 16; ++n) {
        e.mainMatrix += deviceForm(ints(s.value(QStringLiteral("mouseKeyMatrix/%1").arg(n))));
        QList<int> t = ints(s.value(QStringLiteral("mouseFwKeyMatrix/%1").arg(n)));
        t.resize(4);
        e.gunTemplate += bytes({t[0], t[1], t[2], t[3]});
    }
    return e;
}

// Matrix n (1 ... 4) as the mouse holds it.
QByteArray matrixOf(const QJsonObject &state, int n)
{
    return QByteArray::fromHex(state.value("keyMatrix").toArray().at(n - 1).toString().toLatin1()).left(64);
}

QString hex(const QByteArray &b)
{
    return QString::fromLatin1(b.toHex(' '));
}

} // namespace

class TestProfilesJourney : public QObject
{
    Q_OBJECT

    std::unique_ptr<Journey> run;

    QString settingFile(const QString &name) const { return run->settingsFolder() + QLatin1Char('/') + name; }
    QString gunFile() const { return run->settingsFolder() + QStringLiteral("/../gun/gunData.bin"); }
    QVariant global(const QString &key) const
    {
        return QSettings(settingFile("apConfig.bin"), QSettings::IniFormat).value(key);
    }
    QList<HidCall> callsSince(int mark) const { return run->hidCalls().mid(mark); }
    bool enabled() { return run->eval(".", "ui_View.enabled").toBool(); }

    void launch() { QVERIFY2(run->launch(kMouse), qPrintable(run->error())); }

    void openDialog(const QString &button, const QString &dialog)
    {
        QVERIFY(run->click(run->center(button)));
        QVERIFY2(run->waitUntil([&] { return run->eval(dialog, "visible").toBool(); }),
                 qPrintable(run->error()));
    }

    void closeDialog(const QString &dialog)
    {
        QVERIFY(run->click(run->center(dialog + "/closeButton")));
        QVERIFY(run->waitUntil([&] {
            return !run->eval(dialog, "visible").toBool() && !run->eval("mainMask", "visible").toBool();
        }));
    }

    // Opens a drop-down and clicks its entry showing `entry`.
    void choose(const QString &drop, const QString &entry)
    {
        QVERIFY(run->click(run->center(drop)));
        QVERIFY(run->waitUntil([&] { return run->eval(drop, "isOpen").toBool(); }));
        const QRect row = run->findText(drop, entry);
        QVERIFY2(row.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(row.center()));
        QVERIFY(run->waitUntil([&] { return run->eval(drop, "currentText").toString() == entry; }));
    }

    // The mouse holds a profile's settings, every one of them sent since `mark`; the gun matrices are
    // the profile's template and matrix 1 is the active one.
    void verifyMouseHolds(const Expected &e, int mark)
    {
        const auto holds = [&] {
            const QJsonObject s = run->mouseState();
            const QJsonObject led = s.value("led").toObject();
            return s.value("dpiCodes").toArray() == e.dpiCodes &&
                   s.value("dpiStageCount").toInt() == e.dpiCount &&
                   s.value("reportRate").toInt() == e.rate && led.value("effect").toInt() == e.effect &&
                   led.value("option1").toInt() == e.option1 && led.value("option2").toInt() == e.option2 &&
                   led.value("colors").toArray() == e.colors && matrixOf(s, 1) == e.mainMatrix &&
                   matrixOf(s, 2) == e.gunTemplate && matrixOf(s, 3) == e.gunTemplate &&
                   matrixOf(s, 4) == e.gunTemplate && s.value("currentKeyMatrix").toInt() == 0;
        };
        QVERIFY2(run->waitUntil(holds, 60000), qPrintable(QJsonDocument(run->mouseState()).toJson()));
        const QList<HidCall> calls = callsSince(mark);
        QVERIFY(!sentReports(calls, 0x11).isEmpty());
        QVERIFY(!sentReports(calls, 0x01).isEmpty());
        QCOMPARE(quint8(sentReports(calls, 0x01).last().at(2)), quint8(e.rate));
        QVERIFY(!sentReports(calls, 0x0D).isEmpty());
        // The colours once; the matrices as 1, then the template as 2, 3, 4.
        QCOMPARE(sentReports(calls, 0x10).size(), 1);
        QList<int> matrices;
        for (const QByteArray &r : sentReports(calls, 0x12))
            matrices << quint8(r.at(2));
        QCOMPARE(matrices, QList<int>({1, 2, 3, 4}));
    }

private slots:
    void init()
    {
        if (!Journey::toolsPresent())
            QSKIP("Xvfb or xdotool missing");
        run = std::make_unique<Journey>();
    }

    void cleanup()
    {
        // A journey that failed is ended by its journey's own clean-up, whatever the exit.
        if (run && !QTest::currentTestFailed())
            QCOMPARE(run->stop(), 0);
        run.reset();
    }

    // Config → New gives profile number 1 the defaults (whatever its file held); choosing it in the
    // title bar makes it active and sends all of it.
    void newProfileChosenInTitleBarIsSent()
    {
        run->setGlobal(kMouse);
        const QString defaults = settingFile("pD.bin");
        const QString second = settingFile("p2.bin");
        writeSettings(second, {{"mouse/reportRate", 0},
                               {"mouse/dpiValueArray",
                                QStringList{"900", "1900", "2900", "3900", "4900", "5900", "6900", "7900"}},
                               {"mouse/currentDpiCount", 6},
                               {"mouse/lightValue", QStringList{"0", "0", "1"}},
                               {"mouseKeyMatrix/0", QStringList{"2", "1", "4", "0"}}});
        launch();
        QVERIFY(!differing(values(defaults), values(second)).isEmpty());

        openDialog("configBtn", "profileMain");
        QVERIFY(run->click(run->center("profileMain/newButton")));
        QVERIFY(
            run->waitUntil([&] { return run->eval("profileMain", "profileDataModel0.count").toInt() == 2; }));
        QCOMPARE(run->eval("profileMain", "profileNames").toArray(), QJsonArray({"Standard", "profile_0"}));
        QCOMPARE(run->eval("profileMain", "profileNumbers").toArray(), QJsonArray({0, 1}));
        QVERIFY2(differing(values(defaults), values(second)).isEmpty(),
                 qPrintable(differing(values(defaults), values(second)).join(' ')));
        closeDialog("profileMain");
        // Creating it switched nothing.
        QCOMPARE(run->eval("upItem/profileBtn", "currentText").toString(), QStringLiteral("Standard"));
        QCOMPARE(global("mouse/profileNo").toInt(), 0);

        const int mark = int(run->hidCalls().size());
        choose("upItem/profileBtn", "profile_0");
        QVERIFY(run->waitUntil([&] { return global("mouse/profileNo").toInt() == 1; }));
        QVERIFY(run->waitUntil([&] { return enabled(); }));
        QCOMPARE(run->eval("profileMain", "profileNo").toInt(), 1);
        QCOMPARE(run->eval("upItem/profileBtn", "isOpen").toBool(), false);
        QCOMPARE(run->profileFile(), second);
        verifyMouseHolds(expectedFrom(second), mark);
        // The pages show the new profile.
        QCOMPARE(run->eval("reportRateLV", "currentText").toString(), QStringLiteral("1000Hz"));
        QCOMPARE(run->eval("dpiSettingMain", "currentDpiCount").toInt(), 4);
    }

    // The active profile exported through the save dialog and imported as a new profile through the
    // open dialog: the new profile's file holds what was exported, and both lists show it.
    void exportedProfileImportsAsAnother()
    {
        run->setGlobal(kMouse);
        const QString first = settingFile("p1.bin");
        writeSettings(first, {{"mouse/reportRate", 1},
                              {"mouse/dpiValueArray",
                               QStringList{"500", "1100", "2300", "4700", "6400", "8000", "10000", "12000"}},
                              {"mouse/currentDpiCount", 5},
                              {"mouse/lightValue", QStringList{"5", "1", "3"}},
                              {"mouseKeyMatrix/4", QStringList{"2", "2", "4", "0"}}});
        writeSettings(settingFile("p2.bin"), {{"mouse/reportRate", 2}, {"mouse/currentDpiCount", 2}});
        launch();
        const QString exported = run->filePath("standard.pf");

        openDialog("configBtn", "profileMain");
        QVERIFY(run->click(run->center("profileMain/profileList/profileRow0"), 3));
        QVERIFY(run->waitUntil([&] { return run->eval("profileMain", "contextMenu.visible").toBool(); }));
        const QRect exportRow = run->findText("profileMain/contextMenu", "Export");
        QVERIFY2(exportRow.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(exportRow.center()));
        QVERIFY2(run->chooseFile(exported), qPrintable(run->error()));
        QVERIFY(run->waitUntil([&] { return QFile::exists(exported); }));
        const QMap<QString, QString> written = values(exported);
        QVERIFY2(differing(values(first), written).isEmpty(),
                 qPrintable(differing(values(first), written).join(' ')));
        QCOMPARE(written.value("mouse/dpiValueArray"),
                 QStringLiteral("500, 1100, 2300, 4700, 6400, 8000, 10000, 12000"));
        QCOMPARE(written.value("mouseKeyMatrix/4"), QStringLiteral("2, 2, 4, 0"));
        QCOMPARE(run->eval("profileMain", "contextMenu.visible").toBool(), false);
        QCOMPARE(run->eval("profileMain", "profileDataModel0.count").toInt(), 1);

        QVERIFY(run->click(run->center("profileMain/importButton")));
        QVERIFY2(run->chooseFile(exported), qPrintable(run->error()));
        QVERIFY(
            run->waitUntil([&] { return run->eval("profileMain", "profileDataModel0.count").toInt() == 2; }));
        QVERIFY2(differing(written, values(settingFile("p2.bin"))).isEmpty(),
                 qPrintable(differing(written, values(settingFile("p2.bin"))).join(' ')));
        // Named after the file it came from.
        QCOMPARE(run->eval("profileMain", "profileNames").toArray(), QJsonArray({"Standard", "standard"}));
        QCOMPARE(run->eval("profileMain", "profileNumbers").toArray(), QJsonArray({0, 1}));
        QVERIFY2(run->findText("profileMain/profileList", "standard").isValid(), qPrintable(run->error()));
        QCOMPARE(run->eval("upItem/profileBtn", "model").toArray(), QJsonArray({"Standard", "standard"}));
        QVERIFY(run->waitUntil([&] {
            return text(QSettings(settingFile("name.bin"), QSettings::IniFormat)
                            .value("profile/profileName")) == QStringLiteral("Standard0, standard1");
        }));
        // Importing switched nothing and left the exported profile as it was.
        QCOMPARE(global("mouse/profileNo").toInt(), 0);
        QVERIFY(differing(written, values(first)).isEmpty());
    }

    // Gun 2 made preset 4 and its recoil marker dragged down; closing the editor sends the three guns
    // and the key matrices, whose gun matrices carry the chosen presets' periods.
    void gunPresetChosenAndDraggedIsSent()
    {
        run->setGlobal(kMouse);
        // Button 4 fires "Gun 2"; preset 4 has its own period and shot count.
        writeSettings(settingFile("p1.bin"), {{"mouseKeyMatrix/3", QStringList{"8", "0", "2", "0"}}});
        writeSettings(gunFile(), {{"gunData/4", QStringList{"UNP9", "L-Click", "37", "0", "10", "12"}}});
        launch();

        openDialog("gunEditorBtn", "gunControlMain");
        choose("gunControlMain/selectGun", "Gun2");
        QVERIFY(run->click(run->center("gunControlMain/gunNumber_lv/preset4")));
        QVERIFY(run->waitUntil([&] { return run->eval("gunControlMain", "selectGun2").toInt() == 4; }));
        QCOMPARE(run->eval("gunControlMain", "current").toInt(), 4);
        QCOMPARE(run->eval("gunControlMain", "rateList.text").toString(), QStringLiteral("37MS"));
        QCOMPARE(run->ask("prop gunControlMain/timesField text").toString(), QStringLiteral("12"));
        QVERIFY(run->waitUntil([&] { return ints(global("mouse/selectGun")) == QList<int>({0, 4, 2}); }));

        // The marker starts at Y 10 and is dragged 40 pixels down.
        const double top = run->eval("gunControlMain", "marker.y").toDouble();
        QCOMPARE(top, 94.0 * 10 / 64 + 89);
        const QPoint from = run->center("gunControlMain/marker");
        QVERIFY(run->drag(from, from + QPoint(0, 40)));
        QVERIFY(run->waitUntil(
            [&] { return run->eval("gunControlMain", "gunNumberModel.get(4).gunY").toString() != "10"; }));
        const int y = run->eval("gunControlMain", "gunNumberModel.get(4).gunY").toString().toInt();
        // A pixel of rounding either way.
        QVERIFY2(qAbs(y - int((top + 40 - 89) / 94 * 64)) <= 1, qPrintable(QString::number(y)));
        QCOMPARE(run->ask("prop gunControlMain/yField text").toString(), QString::number(y));
        QVERIFY(run->waitUntil([&] {
            return text(QSettings(gunFile(), QSettings::IniFormat).value("gunData/4")) ==
                   QStringLiteral("UNP9, L-Click, 37, 0, %1, 12").arg(y);
        }));

        const int mark = int(run->hidCalls().size());
        closeDialog("gunControlMain");

        // Guns 1, 2, 3 are presets 0, 4, 2: shots, X, Y.
        const QJsonArray guns{QJsonArray{0, 0, 10}, QJsonArray{12, 0, y}, QJsonArray{0, 0, 10}};
        QVERIFY2(run->waitUntil([&] { return run->mouseState().value("gunData").toArray() == guns; }, 60000),
                 qPrintable(QJsonDocument(run->mouseState()).toJson()));
        const QList<QByteArray> gunCommands = sentReports(callsSince(mark), 0x04);
        QCOMPARE(gunCommands.size(), 3);
        for (int g = 0; g < 3; ++g)
            QCOMPARE(hex(gunCommands[g].mid(2, 5)),
                     hex(bytes({0, guns[g][0].toInt(), 0, guns[g][2].toInt(), g})));

        // Button 4 (position 3) as gun choice 2: (8, 0, 1, 1) in matrix 1, (8, 0, 1, 2) in matrix 2 and
        // (8, 0, 1, 0) in matrices 3 and 4, whose first positions carry the periods of presets 0, 4, 2.
        const Expected e = expectedFrom(settingFile("p1.bin"));
        QByteArray main = e.mainMatrix;
        main.replace(12, 4, bytes({8, 0, 1, 1}));
        QList<QByteArray> gunMatrices{e.gunTemplate, e.gunTemplate, e.gunTemplate};
        const QList<int> periods{10, 37, 10};
        for (int m = 0; m < 3; ++m) {
            gunMatrices[m].replace(12, 4, bytes({8, 0, 1, m == 0 ? 2 : 0}));
            gunMatrices[m].replace(0, 4, bytes({0x0B, m, periods[m], 0}));
        }
        const auto holds = [&] {
            const QJsonObject s = run->mouseState();
            return matrixOf(s, 1) == main && matrixOf(s, 2) == gunMatrices[0] &&
                   matrixOf(s, 3) == gunMatrices[1] && matrixOf(s, 4) == gunMatrices[2] &&
                   s.value("currentKeyMatrix").toInt() == 1;
        };
        QVERIFY2(run->waitUntil(holds, 60000), qPrintable(QJsonDocument(run->mouseState()).toJson()));
        QList<int> sent = sentCommands(callsSince(mark));
        sent.removeAll(0x83); // each gun reads the keyboard option first
        QCOMPARE(sent, QList<int>({0x04, 0x04, 0x04, 0x12, 0x12, 0x12, 0x12, 0x02}));
        QVERIFY(run->waitUntil([&] { return enabled(); }));
    }

    // Reset → OK puts the active profile back to the defaults and sends them, with stage 2 active and
    // the reset guns.
    void factoryResetStoresAndSendsDefaults()
    {
        QList<QPair<QString, QVariant>> mouse = kMouse;
        mouse << qMakePair(QStringLiteral("mouse/selectGun"), QVariant(QStringList{"3", "4", "5"}));
        run->setGlobal(mouse);
        const QString first = settingFile("p1.bin");
        writeSettings(first, {{"mouse/reportRate", 0},
                              {"mouse/dpiValueArray",
                               QStringList{"1000", "2000", "3000", "4000", "5000", "6000", "7000", "8000"}},
                              {"mouse/currentDpiCount", 6},
                              {"mouse/lightValue", QStringList{"0", "0", "2"}},
                              {"mouse/colorValue", QStringList(24, "17")},
                              {"mouseKeyMatrix/3", QStringList{"8", "0", "1", "0"}}});
        for (int p = 0; p < 3; ++p)
            writeSettings(gunFile(),
                          {{QStringLiteral("gunData/%1").arg(p),
                            QStringList{QStringLiteral("G%1").arg(p), "L-Click", QString::number(30 + p), "0",
                                        QString::number(20 + p), QString::number(3 + p)}}});
        launch();
        const QString defaults = settingFile("pD.bin");
        QVERIFY(!differing(values(defaults), values(first)).isEmpty());

        QVERIFY(run->click(run->center("resetBtn")));
        QVERIFY(run->waitUntil([&] { return run->eval("factorysure", "visible").toBool(); }));
        const int mark = int(run->hidCalls().size());
        QVERIFY(run->click(run->center("factorysureOK")));
        QVERIFY(run->waitUntil([&] { return !run->eval("factorysure", "visible").toBool() && enabled(); },
                               60000));

        QVERIFY2(run->waitUntil([&] { return differing(values(defaults), values(first)).isEmpty(); }),
                 qPrintable(differing(values(defaults), values(first)).join(' ')));
        QVERIFY(run->waitUntil([&] { return ints(global("mouse/selectGun")) == QList<int>({0, 1, 2}); }));
        QVERIFY(run->waitUntil([&] {
            QSettings guns(gunFile(), QSettings::IniFormat);
            return text(guns.value("gunData/0")) == "G0, L-Click, 9, 0, 5, 3" &&
                   text(guns.value("gunData/1")) == "G1, L-Click, 9, 0, 7, 4" &&
                   text(guns.value("gunData/2")) == "G2, L-Click, 9, 0, 8, 5";
        }));

        verifyMouseHolds(expectedFrom(defaults), mark);
        const QJsonArray guns{QJsonArray{3, 0, 5}, QJsonArray{4, 0, 7}, QJsonArray{5, 0, 8}};
        QCOMPARE(run->mouseState().value("gunData").toArray(), guns);
        QCOMPARE(run->mouseState().value("currentDpiStage").toInt(), 2);
        // Stage 2 is chosen last, after everything else has gone.
        const QList<int> sent = sentCommands(callsSince(mark));
        QCOMPARE(sent.last(), 0x0B);
        QCOMPARE(sent.count(0x0B), 1);
        QCOMPARE(sentReports(callsSince(mark), 0x04).size(), 3);
        QCOMPARE(run->eval("dpiSettingMain", "currentDPI").toInt(), 1);
        QCOMPARE(run->eval("reportRateLV", "currentText").toString(), QStringLiteral("1000Hz"));
        QCOMPARE(run->eval("gunControlMain", "current").toInt(), 0);
    }
};

QTEST_GUILESS_MAIN(TestProfilesJourney)
#include "tst_profiles.moc"
