/* What crosses the named pipe between the HID minidriver, the simulated keyboard's
 * host process and the control program. Plain C: the driver is built without a C++
 * runtime. Every message is one pipe message: a header, then `length` bytes. */
#pragma once

#include <stdint.h>

#define SIM_PIPE_NAME L"\\\\.\\pipe\\TremoSimKeyboard"

enum SimMessageKind {
    /* driver -> host, command collection; the reply carries the report for reads */
    SimMsgFeatureWrite = 1,
    SimMsgFeatureRead = 2,
    SimMsgOutputWrite = 3,
    SimMsgInputPoll = 4, /* GET_INPUT_REPORT: the next queued input report, if any */
    /* driver -> host, event collection: the connection then carries input reports */
    SimMsgSubscribe = 5,
    SimMsgInputReport = 6,
    /* control program -> host */
    SimMsgPressProfile = 16,
    SimMsgPressEffect = 17,
    SimMsgJournal = 18,
    SimMsgState = 19,
    SimMsgClearJournal = 20,
    SimMsgQuit = 21,
    SimMsgStatus = 22 /* reply text: "plugged 0|1" */
};

enum SimMessageStatus { SimStatusOk = 0, SimStatusFailed = 1 };

struct SimMessageHeader {
    uint8_t kind;
    uint8_t status;
    uint16_t reserved;
    uint32_t length;
};

/* Reports are small; the journal and the state text are the only large replies. */
#define SIM_MAX_REPORT 80
