// The hidapi C functions, served by the virtual mouse (same signatures as the system library).
#include "Device.h"

using vmouse::Device;

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    return Device::instance().init("hid_init");
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    return Device::instance().init("hid_exit");
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id,
                                                                  unsigned short product_id)
{
    return Device::instance().enumerate(vendor_id, product_id);
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    Device::instance().freeEnumeration(devs);
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t *serial_number)
{
    return Device::instance().openIds(vendor_id, product_id, serial_number);
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    return Device::instance().open("hid_open_path", path);
}

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    return Device::instance().write(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data, size_t length,
                                                 int milliseconds)
{
    return Device::instance().read("hid_read_timeout", dev, data, length,
                                   milliseconds < 0 ? -1 : milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    return Device::instance().read("hid_read", dev, data, length, -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    return Device::instance().setNonblocking(dev, nonblock);
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *dev, const unsigned char *data,
                                                        size_t length)
{
    return Device::instance().sendFeature(dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *dev, unsigned char *data, size_t length)
{
    return Device::instance().getFeature("hid_get_feature_report", dev, data, length);
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *dev, unsigned char *data, size_t length)
{
    // The mouse has no input reports to fetch on request; its data comes by hid_read.
    (void)data;
    (void)length;
    return Device::instance().getString("hid_get_input_report", dev, nullptr, nullptr, 0);
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    Device::instance().close(dev);
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return Device::instance().getString("hid_get_manufacturer_string", dev, L"Virtual", string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return Device::instance().getString("hid_get_product_string", dev, L"Virtual Mouse", string, maxlen);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return Device::instance().getString("hid_get_serial_number_string", dev, L"0001", string, maxlen);
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev)
{
    return Device::instance().deviceInfo(dev);
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *dev, int, wchar_t *string, size_t maxlen)
{
    return Device::instance().getString("hid_get_indexed_string", dev, nullptr, string, maxlen);
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *dev)
{
    return Device::instance().error(dev);
}

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void)
{
    return HID_API_VERSION_STR;
}

} // extern "C"
