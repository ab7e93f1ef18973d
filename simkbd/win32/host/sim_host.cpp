// The simulated keyboard's host process: an ordinary Windows program that owns the
// portable SimKeyboard and serves the named pipe. The HID minidriver relays every
// report here; the control program presses keys and fetches the journal and state.
#include <windows.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "simkbd/sim_keyboard.h"
#include "simkbd/win32/sim_wire.h"

namespace {

struct Host {
    std::mutex lock;
    std::condition_variable inputQueued;
    SimKeyboard keyboard;
    int subscribers = 0; // event-collection connections: 1 while the keyboard is plugged in

    explicit Host(std::function<uint64_t()> now) : keyboard(std::move(now)) {}
};

bool ReadMessage(HANDLE pipe, std::vector<uint8_t>& message) {
    message.resize(4096);
    size_t used = 0;
    for (;;) {
        DWORD got = 0;
        BOOL ok =
            ReadFile(pipe, message.data() + used, static_cast<DWORD>(message.size() - used), &got, nullptr);
        used += got;
        if (ok)
            break;
        if (GetLastError() != ERROR_MORE_DATA)
            return false;
        message.resize(message.size() * 2);
    }
    message.resize(used);
    return used >= sizeof(SimMessageHeader);
}

bool WriteMessage(HANDLE pipe, uint8_t kind, uint8_t status, const void* data, size_t length) {
    std::vector<uint8_t> message(sizeof(SimMessageHeader) + length);
    SimMessageHeader header{kind, status, 0, static_cast<uint32_t>(length)};
    memcpy(message.data(), &header, sizeof(header));
    if (length)
        memcpy(message.data() + sizeof(header), data, length);
    DWORD written = 0;
    return WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), &written, nullptr) &&
           written == message.size();
}

bool Reply(HANDLE pipe, uint8_t kind, const std::string& text, uint8_t status = SimStatusOk) {
    return WriteMessage(pipe, kind, status, text.data(), text.size());
}

// An event-collection connection: pushes the keyboard's input reports as they are
// queued, until the driver goes away (the device was unplugged).
void ServeSubscriber(Host& host, HANDLE pipe) {
    std::unique_lock<std::mutex> guard(host.lock);
    ++host.subscribers;
    for (;;) {
        SimInputReport report;
        while (host.keyboard.PopInputReport(report)) {
            guard.unlock();
            bool sent = WriteMessage(pipe, SimMsgInputReport, SimStatusOk, report.data(), report.size());
            guard.lock();
            if (!sent) {
                --host.subscribers;
                return;
            }
        }
        host.inputQueued.wait_for(guard, std::chrono::milliseconds(100));
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
            --host.subscribers;
            return;
        }
    }
}

std::string ArgumentText(const std::vector<uint8_t>& message) {
    return std::string(message.begin() + sizeof(SimMessageHeader), message.end());
}

void ServeConnection(Host& host, HANDLE pipe) {
    std::vector<uint8_t> message;
    while (ReadMessage(pipe, message)) {
        SimMessageHeader header;
        memcpy(&header, message.data(), sizeof(header));
        const uint8_t* data = message.data() + sizeof(header);
        size_t length = message.size() - sizeof(header);
        bool ok = true;
        switch (header.kind) {
        case SimMsgFeatureWrite: {
            std::lock_guard<std::mutex> guard(host.lock);
            host.keyboard.FeatureWrite(data, length);
            ok = WriteMessage(pipe, header.kind, SimStatusOk, nullptr, 0);
            break;
        }
        case SimMsgOutputWrite: {
            std::lock_guard<std::mutex> guard(host.lock);
            host.keyboard.OutputWrite(data, length);
            ok = WriteMessage(pipe, header.kind, SimStatusOk, nullptr, 0);
            break;
        }
        case SimMsgFeatureRead: {
            uint8_t report[kSimFeatureReportLength] = {};
            {
                std::lock_guard<std::mutex> guard(host.lock);
                host.keyboard.FeatureRead(report, sizeof(report));
            }
            ok = WriteMessage(pipe, header.kind, SimStatusOk, report, sizeof(report));
            break;
        }
        case SimMsgInputPoll: {
            SimInputReport report;
            bool have;
            {
                std::lock_guard<std::mutex> guard(host.lock);
                have = host.keyboard.PopInputReport(report);
            }
            ok = WriteMessage(pipe, header.kind, SimStatusOk, report.data(), have ? report.size() : 0);
            break;
        }
        case SimMsgSubscribe:
            ServeSubscriber(host, pipe);
            return;
        case SimMsgPressProfile:
        case SimMsgPressEffect: {
            unsigned long value = std::strtoul(ArgumentText(message).c_str(), nullptr, 0);
            std::lock_guard<std::mutex> guard(host.lock);
            // A key on an unplugged keyboard cannot be pressed: nothing would carry it.
            if (!host.subscribers) {
                ok = Reply(pipe, header.kind, "the keyboard is not plugged in\n", SimStatusFailed);
                break;
            }
            if (header.kind == SimMsgPressProfile)
                host.keyboard.PressProfileKey(static_cast<uint8_t>(value));
            else
                host.keyboard.PressEffectKey(static_cast<uint8_t>(value));
            host.inputQueued.notify_all();
            ok = Reply(pipe, header.kind, "");
            break;
        }
        case SimMsgJournal: {
            std::string text;
            {
                std::lock_guard<std::mutex> guard(host.lock);
                text = host.keyboard.JournalText();
            }
            ok = Reply(pipe, header.kind, text);
            break;
        }
        case SimMsgState: {
            std::string text;
            {
                std::lock_guard<std::mutex> guard(host.lock);
                text = host.keyboard.DescribeState();
                for (const std::string& error : host.keyboard.ProtocolErrors())
                    text += "protocol error: " + error + "\n";
            }
            ok = Reply(pipe, header.kind, text);
            break;
        }
        case SimMsgClearJournal: {
            std::lock_guard<std::mutex> guard(host.lock);
            host.keyboard.ClearJournal();
            ok = Reply(pipe, header.kind, "");
            break;
        }
        case SimMsgStatus: {
            std::lock_guard<std::mutex> guard(host.lock);
            ok = Reply(pipe, header.kind, host.subscribers ? "plugged 1\n" : "plugged 0\n");
            break;
        }
        case SimMsgQuit:
            Reply(pipe, header.kind, "");
            FlushFileBuffers(pipe);
            ExitProcess(0);
        default:
            ok = Reply(pipe, header.kind, "unknown request\n", SimStatusFailed);
            break;
        }
        if (!ok)
            return;
    }
}

} // namespace

int wmain() {
    ULONGLONG start = GetTickCount64();
    static Host host([start] { return static_cast<uint64_t>(GetTickCount64() - start); });
    for (;;) {
        HANDLE pipe = CreateNamedPipeW(SIM_PIPE_NAME, PIPE_ACCESS_DUPLEX,
                                       PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                       PIPE_UNLIMITED_INSTANCES, 1 << 16, 1 << 16, 0, nullptr);
        if (pipe == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "simkbd-host: cannot create the pipe (error %lu)\n", GetLastError());
            return 1;
        }
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
            CloseHandle(pipe);
            continue;
        }
        std::thread([pipe] {
            ServeConnection(host, pipe);
            DisconnectNamedPipe(pipe);
            CloseHandle(pipe);
        }).detach();
    }
}
