// The keyboard's report protocol: 8-byte commands framed in 9-byte feature reports,
// the two read-backs, and the bulk transfers that follow their header command with
// 64-byte chunks in 65-byte output reports, each with its fixed pauses.
#pragma once

#include "service/hid_transport.h"
#include "service/pauser.h"

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kCommandSize = 8;
constexpr size_t kChunkSize = 64;

constexpr uint8_t kCmdSetProfile = 0x01;
constexpr uint8_t kCmdStart = 0x02;
constexpr uint8_t kCmdLightEffect = 0x07;
constexpr uint8_t kCmdStageColors = 0x0B;
constexpr uint8_t kCmdKeyMatrix = 0x0C;
constexpr uint8_t kCmdDefinitions = 0x0D;
constexpr uint8_t kCmdMacroBody = 0x10;
constexpr uint8_t kCmdPerformance = 0x11;
constexpr uint8_t kCmdFwVersion = 0x80;
constexpr uint8_t kCmdCurProfile = 0x81;
constexpr uint8_t kReadCommandBit = 0x80;

constexpr size_t kStageColorBytes = 30;
constexpr size_t kKeyMatrixBytes = 640;
constexpr size_t kDefinitionBytes = 128; // sent of each profile's table
constexpr size_t kMacroBodySentBytes = 128;

constexpr uint32_t kChunkPauseMs = 50;
constexpr uint32_t kColourPauseMs = 100;

// ((c0 + ... + c7) mod 256) XOR 0xAA.
uint8_t CommandChecksum(const uint8_t (&command)[kCommandSize]);
void FrameCommand(const uint8_t (&command)[kCommandSize], uint8_t (&report)[kFeatureReportSize]);

// Sends the command; for a read command (c0 >= 0x80) the answer replaces it, so
// that command[1] is the first answer byte (zeros when the keyboard does not answer).
void SendFeatureCommand(HidTransport& device, uint8_t (&command)[kCommandSize]);
// The text "GetFwVersion:mm.nn\n", also written to the diagnostics.
std::wstring GetFwVersion(HidTransport& device);
// The keyboard's active profile index; 0 when it does not answer.
uint8_t ReadCurProfile(HidTransport& device);

// 02 FF 10 01, sent at start and whenever a later search finds the keyboard.
void SendStartCommand(HidTransport& device);
void SendProfileCommand(HidTransport& device, uint8_t profile);
void SendPerformanceCommand(HidTransport& device, uint8_t pollingRate, uint8_t responseTime);

// The four bulk transfers. Each payload is read in whole 64-byte chunks only as far
// as given; the rest of a chunk is sent as zeros.
void SendStageColorList(HidTransport& device, Pauser& pauser, const uint8_t (&colours)[kStageColorBytes]);
void SetKeyMatrix(HidTransport& device, Pauser& pauser, const uint8_t (&matrix)[kKeyMatrixBytes]);
void SetDefineKeymatrix(HidTransport& device, Pauser& pauser, uint8_t profile, const uint8_t* table,
                        size_t tableBytes);
void SetTKeyMacro2KB(HidTransport& device, Pauser& pauser, uint8_t profile, uint8_t slot, const uint8_t* body,
                     size_t bodyBytes);
