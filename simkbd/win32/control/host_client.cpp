#include "simkbd/win32/control/host_client.h"

#include <cstring>
#include <vector>

#include "simkbd/win32/sim_wire.h"

namespace {

HANDLE ConnectHost(DWORD waitMs) {
    ULONGLONG deadline = GetTickCount64() + waitMs;
    for (;;) {
        HANDLE pipe =
            CreateFileW(SIM_PIPE_NAME, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (pipe != INVALID_HANDLE_VALUE) {
            DWORD mode = PIPE_READMODE_MESSAGE;
            SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
            return pipe;
        }
        if (GetTickCount64() >= deadline)
            return nullptr;
        if (GetLastError() == ERROR_PIPE_BUSY)
            WaitNamedPipeW(SIM_PIPE_NAME, 200);
        else
            Sleep(20);
    }
}

} // namespace

bool WaitForHost(DWORD waitMs) {
    HANDLE pipe = ConnectHost(waitMs);
    if (!pipe)
        return false;
    CloseHandle(pipe);
    return true;
}

HostReply AskHost(uint8_t kind, const std::string& argument, std::string& reply, DWORD waitMs) {
    reply.clear();
    HANDLE pipe = ConnectHost(waitMs);
    if (!pipe)
        return HostReply::NotRunning;
    std::vector<uint8_t> message(sizeof(SimMessageHeader) + argument.size());
    SimMessageHeader header{kind, SimStatusOk, 0, static_cast<uint32_t>(argument.size())};
    std::memcpy(message.data(), &header, sizeof(header));
    if (!argument.empty())
        std::memcpy(message.data() + sizeof(header), argument.data(), argument.size());
    DWORD done = 0;
    if (!WriteFile(pipe, message.data(), static_cast<DWORD>(message.size()), &done, nullptr)) {
        CloseHandle(pipe);
        return HostReply::Broken;
    }
    std::vector<uint8_t> answer(1 << 16);
    size_t used = 0;
    for (;;) {
        DWORD got = 0;
        BOOL ok =
            ReadFile(pipe, answer.data() + used, static_cast<DWORD>(answer.size() - used), &got, nullptr);
        used += got;
        if (ok)
            break;
        if (GetLastError() != ERROR_MORE_DATA) {
            CloseHandle(pipe);
            // The quit request ends the host before or while it answers.
            return kind == SimMsgQuit ? HostReply::Ok : HostReply::Broken;
        }
        answer.resize(answer.size() * 2);
    }
    CloseHandle(pipe);
    if (used < sizeof(SimMessageHeader))
        return HostReply::Broken;
    std::memcpy(&header, answer.data(), sizeof(header));
    reply.assign(answer.begin() + sizeof(header), answer.begin() + used);
    return header.status == SimStatusOk ? HostReply::Ok : HostReply::Refused;
}
