// Requests to the simulated keyboard's host process over its pipe.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

enum class HostReply { Ok, Refused, NotRunning, Broken };

// Sends one request (kind of sim_wire.h, text argument) and collects the reply text.
// Waits up to waitMs for the host to offer its pipe.
HostReply AskHost(uint8_t kind, const std::string& argument, std::string& reply, DWORD waitMs = 2000);

// True once the host's pipe can be opened, within waitMs.
bool WaitForHost(DWORD waitMs);
