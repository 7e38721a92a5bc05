// Every write is read back from the server, so a device that refused or clamped it is not reported.
#include "XInputPointerSpeed.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

xcb_connection_t *qtConnection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    return c && !xcb_connection_has_error(c) ? c : nullptr;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name, bool onlyIfExists)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, onlyIfExists, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

bool hasProperty(xcb_connection_t *c, xcb_input_device_id_t device, xcb_atom_t property)
{
    xcb_input_xi_list_properties_reply_t *reply =
        xcb_input_xi_list_properties_reply(c, xcb_input_xi_list_properties(c, device), nullptr);
    if (!reply)
        return false;
    const xcb_atom_t *atoms = xcb_input_xi_list_properties_properties(reply);
    const int n = xcb_input_xi_list_properties_properties_length(reply);
    const bool found = std::find(atoms, atoms + n, property) != atoms + n;
    std::free(reply);
    return found;
}

// Writes one float and reads it back.
bool setFloat(xcb_connection_t *c, xcb_input_device_id_t device, xcb_atom_t property, xcb_atom_t floatType,
              float value)
{
    xcb_generic_error_t *error =
        xcb_request_check(c, xcb_input_xi_change_property_checked(c, device, XCB_PROP_MODE_REPLACE,
                                                                  XCB_INPUT_PROPERTY_FORMAT_32_BITS, property,
                                                                  floatType, 1, &value));
    if (error) {
        std::free(error);
        return false;
    }
    xcb_input_xi_get_property_reply_t *reply = xcb_input_xi_get_property_reply(
        c, xcb_input_xi_get_property(c, device, 0, property, XCB_ATOM_ANY, 0, 1), nullptr);
    bool ok = false;
    if (reply && reply->type == floatType && reply->format == 32 && reply->num_items >= 1) {
        float stored = 0;
        std::memcpy(&stored, xcb_input_xi_get_property_items(reply), sizeof stored);
        ok = std::fabs(stored - value) < 1e-4f;
    }
    std::free(reply);
    return ok;
}

} // namespace

double XInputPointerSpeed::decelerationFor(double speed)
{
    return std::pow(4.0, -std::clamp(speed, -1.0, 1.0));
}

QStringList XInputPointerSpeed::apply(double speed)
{
    xcb_connection_t *c = qtConnection();
    if (!c)
        return {};
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_input_id);
    if (!ext || !ext->present)
        return {};
    // Qt has announced its XInput 2 version on this connection; a second, different one would be
    // refused. Without XInput 2 the device query below has no reply.

    const xcb_atom_t libinput = atom(c, libinputSpeed, true);
    const xcb_atom_t decel = atom(c, deceleration, true);
    const xcb_atom_t floatType = atom(c, "FLOAT", false);
    if ((libinput == XCB_ATOM_NONE && decel == XCB_ATOM_NONE) || floatType == XCB_ATOM_NONE)
        return {};

    xcb_input_xi_query_device_reply_t *devices =
        xcb_input_xi_query_device_reply(c, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL), nullptr);
    if (!devices)
        return {};
    QStringList applied;
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices); it.rem;
         xcb_input_xi_device_info_next(&it)) {
        if (it.data->type != XCB_INPUT_DEVICE_TYPE_SLAVE_POINTER)
            continue;
        const xcb_input_device_id_t id = it.data->deviceid;
        QString took;
        if (libinput != XCB_ATOM_NONE && hasProperty(c, id, libinput)) {
            if (setFloat(c, id, libinput, floatType, float(std::clamp(speed, -1.0, 1.0))))
                took = QString::fromLatin1(libinputSpeed);
        } else if (decel != XCB_ATOM_NONE && hasProperty(c, id, decel)) {
            if (setFloat(c, id, decel, floatType, float(decelerationFor(speed))))
                took = QString::fromLatin1(deceleration);
        }
        if (!took.isEmpty() && !applied.contains(took))
            applied << took;
    }
    std::free(devices);
    return applied;
}
