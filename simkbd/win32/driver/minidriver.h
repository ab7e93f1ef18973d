/* The HID minidriver interface of the class driver, declared here because the
 * toolchain ships no hidport.h and its ddk/hidclass.h carries other IOCTL numbers. */
#pragma once

#include <ntdef.h>
#include <ddk/wdm.h>

#define HID_REVISION 0x00000001

struct hid_minidriver_registration {
    ULONG Revision;
    DRIVER_OBJECT* DriverObject;
    UNICODE_STRING* RegistryPath;
    ULONG DeviceExtensionSize;
    BOOLEAN DevicesArePolled;
    UCHAR Reserved[3];
};

struct hid_device_extension {
    DEVICE_OBJECT* PhysicalDeviceObject;
    DEVICE_OBJECT* NextDeviceObject;
    void* MiniDeviceExtension;
};

struct hid_xfer_packet {
    UCHAR* reportBuffer;
    ULONG reportBufferLen;
    UCHAR reportId;
};

#pragma pack(push, 1)
struct hid_descriptor {
    UCHAR bLength;
    UCHAR bDescriptorType;
    USHORT bcdHID;
    UCHAR bCountry;
    UCHAR bNumDescriptors;
    UCHAR bReportType;
    USHORT wReportLength;
};
#pragma pack(pop)

struct hid_device_attributes {
    ULONG Size;
    USHORT VendorID;
    USHORT ProductID;
    USHORT VersionNumber;
    USHORT Reserved[11];
};

#define SIM_HID_CTL(id, method) CTL_CODE(FILE_DEVICE_KEYBOARD, (id), (method), FILE_ANY_ACCESS)

#define IOCTL_HID_GET_DEVICE_DESCRIPTOR SIM_HID_CTL(0, METHOD_NEITHER)
#define IOCTL_HID_GET_REPORT_DESCRIPTOR SIM_HID_CTL(1, METHOD_NEITHER)
#define IOCTL_HID_READ_REPORT SIM_HID_CTL(2, METHOD_NEITHER)
#define IOCTL_HID_WRITE_REPORT SIM_HID_CTL(3, METHOD_NEITHER)
#define IOCTL_HID_GET_STRING SIM_HID_CTL(4, METHOD_NEITHER)
#define IOCTL_HID_ACTIVATE_DEVICE SIM_HID_CTL(7, METHOD_NEITHER)
#define IOCTL_HID_DEACTIVATE_DEVICE SIM_HID_CTL(8, METHOD_NEITHER)
#define IOCTL_HID_GET_DEVICE_ATTRIBUTES SIM_HID_CTL(9, METHOD_NEITHER)
#define IOCTL_HID_GET_FEATURE SIM_HID_CTL(100, METHOD_OUT_DIRECT)
#define IOCTL_HID_SET_FEATURE SIM_HID_CTL(100, METHOD_IN_DIRECT)
#define IOCTL_HID_SET_OUTPUT_REPORT SIM_HID_CTL(101, METHOD_IN_DIRECT)
#define IOCTL_HID_GET_INPUT_REPORT SIM_HID_CTL(104, METHOD_OUT_DIRECT)

#define HID_STRING_ID_IMANUFACTURER 14
#define HID_STRING_ID_IPRODUCT 15
#define HID_STRING_ID_ISERIALNUMBER 16

/* Whole reports as the program sees them: report ID 0 first. */
#define SIM_FEATURE_REPORT_LENGTH 9
#define SIM_OUTPUT_REPORT_LENGTH 65

NTSTATUS NTAPI HidRegisterMinidriver(struct hid_minidriver_registration* registration);
