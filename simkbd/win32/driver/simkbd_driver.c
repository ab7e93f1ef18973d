/* HID minidriver of the simulated keyboard. It is only the cable: the HID class
 * driver above it asks for descriptors and moves reports, and every report is
 * relayed over a named pipe to the simulated keyboard's host process.
 *
 * Under Wine a driver runs inside winedevice.exe, an ordinary process, so the
 * user-mode pipe functions are available; they are imported from kernelbase because
 * Wine treats a driver that imports kernel32 or ntdll as an ordinary DLL. */
#include <ntdef.h>
#include <ddk/wdm.h>

#include "../sim_wire.h"
#include "kernelbase_imports.h"
#include "minidriver.h"

/* Which of the keyboard's two collections this device is; from its device ID. */
enum collection { CollectionCommand = 0, CollectionEvent = 1 };

#define INPUT_QUEUE 32

struct sim_device {
    int collection;
    CRITICAL_SECTION lock;      /* the pending read and the input queue */
    CRITICAL_SECTION pipe_lock; /* one command transaction at a time */
    HANDLE pipe_event;
    HANDLE pipe; /* command transactions; opened on first use */
    IRP* pending_read;
    int removed;
    HANDLE stop_event;
    HANDLE thread;
    uint8_t queue[INPUT_QUEUE][SIM_MAX_REPORT];
    ULONG queue_len[INPUT_QUEUE];
    int queue_head, queue_count;
};

/* Command collection: vendor page 0xFF01, an 8-byte feature report and a 64-byte
 * output report, no report IDs (the program sends ID 0). */
static const uint8_t command_descriptor[] = {
    0x06, 0x01, 0xFF,                                                             /* usage page 0xFF01 */
    0x09, 0x01,                                                                   /* usage 1 */
    0xA1, 0x01,                                                                   /* application collection */
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08, 0x09, 0x02, 0xB1, 0x02, /* feature: 8 bytes */
    0x95, 0x40, 0x09, 0x03, 0x91, 0x02,                                           /* output: 64 bytes */
    0xC0,
};

/* Event collection: vendor page 0xFF00, input report ID 4 with 7 bytes. */
static const uint8_t event_descriptor[] = {
    0x06, 0x00, 0xFF,                                                             /* usage page 0xFF00 */
    0x09, 0x01,                                                                   /* usage 1 */
    0xA1, 0x01,                                                                   /* application collection */
    0x85, 0x04,                                                                   /* report ID 4 */
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0x09, 0x02, 0x81, 0x02, /* input: 7 bytes */
    0xC0,
};

void* memcpy(void* dst, const void* src, size_t n) {
    uint8_t* d = dst;
    const uint8_t* s = src;
    while (n--)
        *d++ = *s++;
    return dst;
}

void* memset(void* dst, int value, size_t n) {
    uint8_t* d = dst;
    while (n--)
        *d++ = (uint8_t)value;
    return dst;
}

static struct sim_device* device_of(DEVICE_OBJECT* device) {
    return ((struct hid_device_extension*)device->DeviceExtension)->MiniDeviceExtension;
}

static DEVICE_OBJECT* next_of(DEVICE_OBJECT* device) {
    return ((struct hid_device_extension*)device->DeviceExtension)->NextDeviceObject;
}

static NTSTATUS complete(IRP* irp, NTSTATUS status, ULONG_PTR information) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = information;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static HANDLE open_pipe(void) {
    DWORD mode = PIPE_READMODE_MESSAGE;
    HANDLE pipe = CreateFileW(SIM_PIPE_NAME, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, NULL);
    /* Every instance busy: the host is about to offer the next one. */
    if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY &&
        WaitNamedPipeW(SIM_PIPE_NAME, 1000))
        pipe = CreateFileW(SIM_PIPE_NAME, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, NULL);
    if (pipe == INVALID_HANDLE_VALUE)
        return NULL;
    if (!SetNamedPipeHandleState(pipe, &mode, NULL, NULL)) {
        CloseHandle(pipe);
        return NULL;
    }
    return pipe;
}

/* Transactions give up after this long, so a hung host cannot hang the device. */
#define TRANSACT_TIMEOUT_MS 5000

/* One overlapped pipe operation on `event`, waited for here; `stop` (may be NULL) or
 * the time limit aborts it. */
static int pipe_io(HANDLE pipe, int write, void* buffer, DWORD size, DWORD* done, HANDLE event, HANDLE stop,
                   DWORD timeout) {
    OVERLAPPED ov;
    HANDLE waits[2];
    DWORD count = 1;
    BOOL ok;
    memset(&ov, 0, sizeof(ov));
    ov.hEvent = event;
    ok = write ? WriteFile(pipe, buffer, size, NULL, &ov) : ReadFile(pipe, buffer, size, NULL, &ov);
    if (!ok && GetLastError() == ERROR_IO_PENDING) {
        waits[0] = event;
        if (stop)
            waits[count++] = stop;
        if (WaitForMultipleObjects(count, waits, FALSE, timeout) != WAIT_OBJECT_0) {
            CancelIoEx(pipe, &ov);
            GetOverlappedResult(pipe, &ov, done, TRUE);
            return 0;
        }
        ok = TRUE;
    }
    return ok && GetOverlappedResult(pipe, &ov, done, TRUE);
}

struct wire_message {
    struct SimMessageHeader header;
    uint8_t data[SIM_MAX_REPORT];
};

/* One request and its reply on the command pipe; reconnects once if the host restarted. */
static int transact(struct sim_device* dev, uint8_t kind, const uint8_t* data, ULONG length,
                    struct wire_message* reply) {
    struct wire_message request;
    DWORD done = 0;
    int attempt, ok = 0;
    if (length > SIM_MAX_REPORT)
        return 0;
    memset(&request, 0, sizeof(request));
    request.header.kind = kind;
    request.header.length = length;
    if (length)
        memcpy(request.data, data, length);
    EnterCriticalSection(&dev->pipe_lock);
    for (attempt = 0; attempt < 2 && !ok; ++attempt) {
        if (!dev->pipe)
            dev->pipe = open_pipe();
        if (!dev->pipe)
            break;
        ok =
            pipe_io(dev->pipe, 1, &request, sizeof(request.header) + length, &done, dev->pipe_event, NULL,
                    TRANSACT_TIMEOUT_MS) &&
            pipe_io(dev->pipe, 0, reply, sizeof(*reply), &done, dev->pipe_event, NULL, TRANSACT_TIMEOUT_MS) &&
            done >= sizeof(reply->header) && reply->header.kind == kind;
        if (!ok) {
            CloseHandle(dev->pipe);
            dev->pipe = NULL;
        }
    }
    LeaveCriticalSection(&dev->pipe_lock);
    if (ok && reply->header.length > done - sizeof(reply->header))
        reply->header.length = done - sizeof(reply->header);
    return ok && reply->header.status == SimStatusOk;
}

/* Hands an input report to the waiting read, or queues it (oldest dropped when full). */
static void deliver_input(struct sim_device* dev, const uint8_t* report, ULONG length) {
    IRP* irp;
    EnterCriticalSection(&dev->lock);
    irp = dev->pending_read;
    dev->pending_read = NULL;
    if (!irp) {
        int slot = (dev->queue_head + dev->queue_count) % INPUT_QUEUE;
        if (dev->queue_count == INPUT_QUEUE) {
            dev->queue_head = (dev->queue_head + 1) % INPUT_QUEUE;
            dev->queue_count--;
            slot = (dev->queue_head + dev->queue_count) % INPUT_QUEUE;
        }
        memcpy(dev->queue[slot], report, length);
        dev->queue_len[slot] = length;
        dev->queue_count++;
    }
    LeaveCriticalSection(&dev->lock);
    if (irp) {
        IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
        ULONG room = stack->Parameters.DeviceIoControl.OutputBufferLength;
        ULONG n = length < room ? length : room;
        memcpy(irp->UserBuffer, report, n);
        complete(irp, STATUS_SUCCESS, n);
    }
}

/* Event collection: a connection of its own on which the host pushes input reports. */
static DWORD WINAPI event_thread(void* param) {
    struct sim_device* dev = param;
    struct wire_message message;
    DWORD done;
    HANDLE event = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (!event)
        return 0;
    while (WaitForSingleObject(dev->stop_event, 0) != WAIT_OBJECT_0) {
        HANDLE pipe = open_pipe();
        if (!pipe) {
            WaitForSingleObject(dev->stop_event, 100);
            continue;
        }
        memset(&message, 0, sizeof(message));
        message.header.kind = SimMsgSubscribe;
        if (pipe_io(pipe, 1, &message, sizeof(message.header), &done, event, dev->stop_event, INFINITE)) {
            for (;;) {
                if (!pipe_io(pipe, 0, &message, sizeof(message), &done, event, dev->stop_event, INFINITE))
                    break;
                if (done < sizeof(message.header) || message.header.kind != SimMsgInputReport)
                    continue;
                if (message.header.length > done - sizeof(message.header))
                    continue;
                deliver_input(dev, message.data, message.header.length);
            }
        }
        CloseHandle(pipe);
        WaitForSingleObject(dev->stop_event, 100);
    }
    CloseHandle(event);
    return 0;
}

static void start_device(struct sim_device* dev) {
    if (dev->collection != CollectionEvent || dev->thread)
        return;
    dev->stop_event = CreateEventW(NULL, TRUE, FALSE, NULL);
    dev->thread = CreateThread(NULL, 0, event_thread, dev, 0, NULL);
}

/* Unplugging: the class driver's reader waits on our pending read, so it must end. */
static void stop_device(struct sim_device* dev) {
    IRP* irp;
    EnterCriticalSection(&dev->lock);
    dev->removed = 1;
    irp = dev->pending_read;
    dev->pending_read = NULL;
    LeaveCriticalSection(&dev->lock);
    if (irp)
        complete(irp, STATUS_DELETE_PENDING, 0);
    if (dev->thread) {
        SetEvent(dev->stop_event);
        WaitForSingleObject(dev->thread, 5000);
        CloseHandle(dev->thread);
        CloseHandle(dev->stop_event);
        dev->thread = NULL;
        dev->stop_event = NULL;
    }
}

static NTSTATUS read_report(struct sim_device* dev, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    ULONG room = stack->Parameters.DeviceIoControl.OutputBufferLength;
    EnterCriticalSection(&dev->lock);
    if (dev->removed) {
        LeaveCriticalSection(&dev->lock);
        return complete(irp, STATUS_DELETE_PENDING, 0);
    }
    if (dev->queue_count) {
        int slot = dev->queue_head;
        ULONG n = dev->queue_len[slot] < room ? dev->queue_len[slot] : room;
        memcpy(irp->UserBuffer, dev->queue[slot], n);
        dev->queue_head = (dev->queue_head + 1) % INPUT_QUEUE;
        dev->queue_count--;
        LeaveCriticalSection(&dev->lock);
        return complete(irp, STATUS_SUCCESS, n);
    }
    if (dev->pending_read) {
        LeaveCriticalSection(&dev->lock);
        return complete(irp, STATUS_DEVICE_BUSY, 0);
    }
    IoMarkIrpPending(irp);
    dev->pending_read = irp;
    LeaveCriticalSection(&dev->lock);
    return STATUS_PENDING;
}

/* The class driver hands feature and output reports without the report ID when it
 * is 0; the keyboard's side always sees the whole report, ID first. */
static ULONG frame_report(const struct hid_xfer_packet* packet, ULONG whole, uint8_t* frame) {
    ULONG length = packet->reportBufferLen;
    if (length >= whole) {
        memcpy(frame, packet->reportBuffer, whole);
        return whole;
    }
    frame[0] = packet->reportId;
    memcpy(frame + 1, packet->reportBuffer, length);
    return length + 1;
}

static NTSTATUS write_to_keyboard(struct sim_device* dev, IRP* irp, uint8_t kind, ULONG whole) {
    struct hid_xfer_packet* packet = irp->UserBuffer;
    struct wire_message reply;
    uint8_t frame[SIM_MAX_REPORT];
    ULONG length;
    if (!packet || packet->reportBufferLen > SIM_MAX_REPORT - 1)
        return complete(irp, STATUS_INVALID_PARAMETER, 0);
    length = frame_report(packet, whole, frame);
    if (!transact(dev, kind, frame, length, &reply))
        return complete(irp, STATUS_DEVICE_NOT_CONNECTED, 0);
    /* The count is the program's: the whole report including its ID byte. */
    return complete(irp, STATUS_SUCCESS, length);
}

static NTSTATUS read_from_keyboard(struct sim_device* dev, IRP* irp, uint8_t kind) {
    struct hid_xfer_packet* packet = irp->UserBuffer;
    struct wire_message reply;
    uint8_t id;
    ULONG skip = 0, n;
    if (!packet || !packet->reportBuffer)
        return complete(irp, STATUS_INVALID_PARAMETER, 0);
    id = packet->reportId;
    if (!transact(dev, kind, &id, 1, &reply))
        return complete(irp, STATUS_DEVICE_NOT_CONNECTED, 0);
    if (kind == SimMsgInputPoll && reply.header.length == 0)
        return complete(irp, STATUS_NO_MORE_ENTRIES, 0);
    /* The host answers whole reports, ID first; a buffer one byte short wants the data only. */
    if (reply.header.length && packet->reportBufferLen < reply.header.length && reply.data[0] == 0)
        skip = 1;
    n = reply.header.length - skip;
    if (n > packet->reportBufferLen)
        n = packet->reportBufferLen;
    memcpy(packet->reportBuffer, reply.data + skip, n);
    return complete(irp, STATUS_SUCCESS, n);
}

static const WCHAR* string_of(ULONG id) {
    switch (id & 0xFFFF) {
    case 1:
    case HID_STRING_ID_IMANUFACTURER:
        return L"Dravex";
    case 2:
    case HID_STRING_ID_IPRODUCT:
        return L"Orsel RGB Gaming Keyboard (simulated)";
    case 3:
    case HID_STRING_ID_ISERIALNUMBER:
        return L"SIM0001";
    default:
        return NULL;
    }
}

static NTSTATUS get_string(IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    ULONG id = (ULONG)(ULONG_PTR)stack->Parameters.DeviceIoControl.Type3InputBuffer;
    ULONG room = stack->Parameters.DeviceIoControl.OutputBufferLength / sizeof(WCHAR);
    const WCHAR* text = string_of(id);
    WCHAR* out = irp->UserBuffer;
    ULONG n = 0;
    if (!text)
        return complete(irp, STATUS_INVALID_PARAMETER, 0);
    while (text[n])
        ++n;
    if (room < n + 1)
        return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    memcpy(out, text, (n + 1) * sizeof(WCHAR));
    return complete(irp, STATUS_SUCCESS, (n + 1) * sizeof(WCHAR));
}

static NTSTATUS copy_out(IRP* irp, const void* data, ULONG size) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    if (stack->Parameters.DeviceIoControl.OutputBufferLength < size)
        return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
    memcpy(irp->UserBuffer, data, size);
    return complete(irp, STATUS_SUCCESS, size);
}

static NTSTATUS WINAPI internal_ioctl(DEVICE_OBJECT* device, IRP* irp) {
    IO_STACK_LOCATION* stack = IoGetCurrentIrpStackLocation(irp);
    struct sim_device* dev = device_of(device);
    const uint8_t* descriptor = dev->collection == CollectionEvent ? event_descriptor : command_descriptor;
    ULONG descriptor_size =
        dev->collection == CollectionEvent ? sizeof(event_descriptor) : sizeof(command_descriptor);

    switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_HID_GET_DEVICE_DESCRIPTOR: {
        struct hid_descriptor hid;
        memset(&hid, 0, sizeof(hid));
        hid.bLength = sizeof(hid);
        hid.bDescriptorType = 0x21;
        hid.bcdHID = 0x0100;
        hid.bNumDescriptors = 1;
        hid.bReportType = 0x22;
        hid.wReportLength = (USHORT)descriptor_size;
        return copy_out(irp, &hid, sizeof(hid));
    }
    case IOCTL_HID_GET_REPORT_DESCRIPTOR:
        return copy_out(irp, descriptor, descriptor_size);
    case IOCTL_HID_GET_DEVICE_ATTRIBUTES: {
        struct hid_device_attributes attributes;
        memset(&attributes, 0, sizeof(attributes));
        attributes.Size = sizeof(attributes);
        attributes.VendorID = TREMO_VID;
        attributes.ProductID = TREMO_PID;
        attributes.VersionNumber = 0x0100;
        return copy_out(irp, &attributes, sizeof(attributes));
    }
    case IOCTL_HID_GET_STRING:
        return get_string(irp);
    case IOCTL_HID_READ_REPORT:
        return read_report(dev, irp);
    case IOCTL_HID_WRITE_REPORT:
    case IOCTL_HID_SET_OUTPUT_REPORT:
        return write_to_keyboard(dev, irp, SimMsgOutputWrite, SIM_OUTPUT_REPORT_LENGTH);
    case IOCTL_HID_SET_FEATURE:
        return write_to_keyboard(dev, irp, SimMsgFeatureWrite, SIM_FEATURE_REPORT_LENGTH);
    case IOCTL_HID_GET_FEATURE:
        return read_from_keyboard(dev, irp, SimMsgFeatureRead);
    case IOCTL_HID_GET_INPUT_REPORT:
        return read_from_keyboard(dev, irp, SimMsgInputPoll);
    case IOCTL_HID_ACTIVATE_DEVICE:
    case IOCTL_HID_DEACTIVATE_DEVICE:
        return complete(irp, STATUS_SUCCESS, 0);
    default:
        return complete(irp, STATUS_NOT_SUPPORTED, 0);
    }
}

static NTSTATUS WINAPI pnp_dispatch(DEVICE_OBJECT* device, IRP* irp) {
    struct sim_device* dev = device_of(device);
    UCHAR minor = IoGetCurrentIrpStackLocation(irp)->MinorFunction;
    NTSTATUS status;
    if (minor == IRP_MN_SURPRISE_REMOVAL || minor == IRP_MN_REMOVE_DEVICE)
        stop_device(dev);
    /* The root bus below completes every request at once; the IRP is gone afterwards. */
    IoSkipCurrentIrpStackLocation(irp);
    status = IoCallDriver(next_of(device), irp);
    if (minor == IRP_MN_START_DEVICE && status == STATUS_SUCCESS)
        start_device(dev);
    if (minor == IRP_MN_REMOVE_DEVICE) {
        if (dev->pipe)
            CloseHandle(dev->pipe);
        dev->pipe = NULL;
        CloseHandle(dev->pipe_event);
        DeleteCriticalSection(&dev->pipe_lock);
        DeleteCriticalSection(&dev->lock);
    }
    return status;
}

/* Asks the bus for the device ID; "...&MI_00" is the event collection, listed first
 * as the keyboard lists it ("...&MI_01" the command collection). */
static int collection_of(DEVICE_OBJECT* pdo) {
    IO_STATUS_BLOCK io;
    KEVENT event;
    IRP* irp;
    IO_STACK_LOCATION* stack;
    const WCHAR* id;
    int collection = CollectionCommand;
    KeInitializeEvent(&event, NotificationEvent, FALSE);
    irp = IoBuildSynchronousFsdRequest(IRP_MJ_PNP, pdo, NULL, 0, NULL, &event, &io);
    if (!irp)
        return collection;
    irp->IoStatus.Status = STATUS_NOT_SUPPORTED;
    stack = IoGetNextIrpStackLocation(irp);
    stack->MinorFunction = IRP_MN_QUERY_ID;
    stack->Parameters.QueryId.IdType = BusQueryDeviceID;
    if (IoCallDriver(pdo, irp) == STATUS_PENDING)
        KeWaitForSingleObject(&event, Executive, KernelMode, FALSE, NULL);
    if (io.Status != STATUS_SUCCESS || !io.Information)
        return collection;
    for (id = (const WCHAR*)io.Information; *id; ++id)
        if (id[0] == L'&' && id[1] == L'M' && id[2] == L'I' && id[3] == L'_' && id[4] == L'0' &&
            id[5] == L'0')
            collection = CollectionEvent;
    ExFreePool((void*)io.Information);
    return collection;
}

static NTSTATUS WINAPI add_device(DRIVER_OBJECT* driver, DEVICE_OBJECT* fdo) {
    struct hid_device_extension* ext = fdo->DeviceExtension;
    struct sim_device* dev = ext->MiniDeviceExtension;
    (void)driver;
    memset(dev, 0, sizeof(*dev));
    InitializeCriticalSection(&dev->lock);
    InitializeCriticalSection(&dev->pipe_lock);
    dev->pipe_event = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (!dev->pipe_event)
        return STATUS_INSUFFICIENT_RESOURCES;
    dev->collection = collection_of(ext->PhysicalDeviceObject);
    return STATUS_SUCCESS;
}

/* Wine may also call the entry point as DllMain(instance, reason, reserved); the
 * reason is a small number where DriverEntry receives a pointer. */
NTSTATUS WINAPI DriverEntry(DRIVER_OBJECT* driver, UNICODE_STRING* path) {
    struct hid_minidriver_registration registration;
    if ((ULONG_PTR)path < 0x10000)
        return TRUE;
    driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = internal_ioctl;
    driver->MajorFunction[IRP_MJ_PNP] = pnp_dispatch;
    driver->DriverExtension->AddDevice = add_device;
    memset(&registration, 0, sizeof(registration));
    registration.Revision = HID_REVISION;
    registration.DriverObject = driver;
    registration.RegistryPath = path;
    registration.DeviceExtensionSize = sizeof(struct sim_device);
    registration.DevicesArePolled = FALSE;
    return HidRegisterMinidriver(&registration);
}
