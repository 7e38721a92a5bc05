// GSettings writes go through a schema lookup first, so a missing schema is a reported failure and
// not an abort; every write is read back after syncing, so a backend that dropped it is noticed, and
// a backend that keeps values only in this process counts as a failure.
#include "LinuxPointerSettings.h"
#include "XInputPointerSpeed.h"

#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStyleHints>

// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#define G_SETTINGS_ENABLE_BACKEND
#include <gio/gsettingsbackend.h>
#pragma pop_macro("signals")

#include <algorithm>
#include <cmath>

namespace {

GSettingsSchema *lookupSchema(const QString &schemaId)
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    return source ? g_settings_schema_source_lookup(source, schemaId.toUtf8().constData(), TRUE) : nullptr;
}

// GLib falls back to an in-memory store when no real backend is available: a write there is
// accepted and reads back, yet is gone when the program ends.
bool backendPersists()
{
    GSettingsBackend *backend = g_settings_backend_get_default();
    if (!backend)
        return false;
    const char *type = G_OBJECT_TYPE_NAME(backend);
    const bool persists =
        qstrcmp(type, "GMemorySettingsBackend") != 0 && qstrcmp(type, "GNullSettingsBackend") != 0;
    g_object_unref(backend);
    return persists;
}

// Writes value (a floating reference, consumed) when the backend persists, the schema has the key,
// the value has its type and range and the key is writable; then checks a fresh read after syncing.
bool writeAndVerify(const QString &schemaId, const char *key, GVariant *value)
{
    g_variant_ref_sink(value);
    bool ok = false;
    GSettingsSchema *schema = lookupSchema(schemaId);
    if (schema && g_settings_schema_has_key(schema, key) && backendPersists()) {
        GSettingsSchemaKey *schemaKey = g_settings_schema_get_key(schema, key);
        const bool valid = g_variant_is_of_type(value, g_settings_schema_key_get_value_type(schemaKey)) &&
                           g_settings_schema_key_range_check(schemaKey, value);
        g_settings_schema_key_unref(schemaKey);
        GSettings *settings = g_settings_new_full(schema, nullptr, nullptr);
        if (valid && g_settings_is_writable(settings, key) && g_settings_set_value(settings, key, value)) {
            g_settings_sync();
            GSettings *check = g_settings_new_full(schema, nullptr, nullptr);
            GVariant *stored = g_settings_get_value(check, key);
            ok = g_variant_equal(stored, value);
            g_variant_unref(stored);
            g_object_unref(check);
        }
        g_object_unref(settings);
    }
    if (schema)
        g_settings_schema_unref(schema);
    g_variant_unref(value);
    return ok;
}

QStyleHints *styleHints()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::styleHints()
                                                                         : nullptr;
}

} // namespace

LinuxPointerSettings::LinuxPointerSettings(QString schemaId, QStringList kdeWriteTools)
    : schema(std::move(schemaId)), kdeTools(std::move(kdeWriteTools))
{
}

double LinuxPointerSettings::desktopSpeed(int speed)
{
    const int s = std::clamp(speed, 1, 20);
    const double v = s <= 10 ? (s - 10) / 9.0 : (s - 10) / 10.0;
    // Two decimals keep the stored text short and compare exactly on read-back.
    return std::round(v * 100.0) / 100.0;
}

bool LinuxPointerSettings::desktopAppliesSpeed(const QByteArray &currentDesktop)
{
    for (const QByteArray &name : currentDesktop.toUpper().split(':')) {
        if (name == "GNOME" || name == "KDE")
            return true;
    }
    return false;
}

bool LinuxPointerSettings::setPointerSpeed(int speed)
{
    targets.clear();
    if (writeAndVerify(schema, "speed", g_variant_new_double(desktopSpeed(speed))))
        targets << QStringLiteral("gsettings");
    if (!desktopAppliesSpeed(qgetenv("XDG_CURRENT_DESKTOP"))) {
        for (const QString &property : XInputPointerSpeed::apply(desktopSpeed(speed)))
            targets << (property == QLatin1String(XInputPointerSpeed::libinputSpeed)
                            ? QStringLiteral("libinput")
                            : QStringLiteral("xaccel"));
    }
    return !targets.isEmpty();
}

bool LinuxPointerSettings::setDoubleClickTime(int ms)
{
    targets.clear();
    if (ms <= 0)
        return false;
    if (QStyleHints *hints = styleHints())
        hints->setMouseDoubleClickInterval(ms);
    if (writeAndVerify(schema, "double-click", g_variant_new_int32(ms)))
        targets << QStringLiteral("gsettings");
    return !targets.isEmpty();
}

bool LinuxPointerSettings::setWheelScrollLines(int lines)
{
    targets.clear();
    if (QStyleHints *hints = styleHints())
        hints->setWheelScrollLines(lines);
    if (writeKdeGlobal(QStringLiteral("WheelScrollLines"), QString::number(lines)))
        targets << QStringLiteral("kde");
    return !targets.isEmpty();
}

bool LinuxPointerSettings::writeKdeGlobal(const QString &key, const QString &value) const
{
    for (const QString &tool : kdeTools) {
        const QString program = QStandardPaths::findExecutable(tool);
        if (program.isEmpty())
            continue;
        QProcess p;
        p.start(program, {QStringLiteral("--file"), QStringLiteral("kdeglobals"), QStringLiteral("--group"),
                          QStringLiteral("KDE"), QStringLiteral("--key"), key, value});
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(1000);
            continue;
        }
        if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return true;
    }
    return false;
}
