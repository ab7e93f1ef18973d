#include "service/report_protocol.h"

#include "settings/diag.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

uint8_t CommandChecksum(const uint8_t (&command)[kCommandSize]) {
    unsigned sum = 0;
    for (uint8_t c : command)
        sum += c;
    return static_cast<uint8_t>((sum & 0xFF) ^ 0xAA);
}

void FrameCommand(const uint8_t (&command)[kCommandSize], uint8_t (&report)[kFeatureReportSize]) {
    report[0] = 0;
    std::memcpy(report + 1, command, 7);
    report[8] = CommandChecksum(command);
}

void SendFeatureCommand(HidTransport& device, uint8_t (&command)[kCommandSize]) {
    uint8_t report[kFeatureReportSize];
    FrameCommand(command, report);
    device.FeatureWrite(report, sizeof report);
    if ((command[0] & kReadCommandBit) == 0)
        return;
    std::memset(report, 0, sizeof report);
    device.FeatureRead(report, sizeof report);
    std::memcpy(command, report + 1, kCommandSize);
    DiagPrintf(L"Buffer[1]:%02x,Buffer[2]:%02x.", report[1], report[2]);
}

std::wstring GetFwVersion(HidTransport& device) {
    uint8_t command[kCommandSize] = {kCmdFwVersion};
    SendFeatureCommand(device, command);
    wchar_t text[64];
    std::swprintf(text, 64, L"GetFwVersion:%02x.%02x\n", command[1], command[2]);
    DiagWrite(text);
    return text;
}

uint8_t ReadCurProfile(HidTransport& device) {
    uint8_t command[kCommandSize] = {kCmdCurProfile};
    SendFeatureCommand(device, command);
    DiagPrintf(L"ReadCurProfile:%02x\n", command[1]);
    return command[1];
}

void SendStartCommand(HidTransport& device) {
    uint8_t command[kCommandSize] = {kCmdStart, 0xFF, 0x10, 0x01};
    SendFeatureCommand(device, command);
}

void SendProfileCommand(HidTransport& device, uint8_t profile) {
    uint8_t command[kCommandSize] = {kCmdSetProfile, profile};
    SendFeatureCommand(device, command);
}

void SendPerformanceCommand(HidTransport& device, uint8_t pollingRate, uint8_t responseTime) {
    uint8_t command[kCommandSize] = {kCmdPerformance, 0, pollingRate, responseTime};
    SendFeatureCommand(device, command);
}

namespace {

struct BulkTexts {
    const wchar_t* featureOk;
    const wchar_t* featureFailed;
    const wchar_t* outputOk;
    const wchar_t* outputFailed;
};

const BulkTexts kColourTexts = {
    L"SetMasterRGBLED10StageColor HidD_SetFeature 成功\r\n",
    L"SetMasterRGBLED10StageColor HidD_SetFeature 失败\r\n",
    L"SetMasterRGBLED10StageColor WriteFile 写文件成功\r\n",
    L"SetMasterRGBLED10StageColor WriteFile 写文件失败\r\n",
};
const BulkTexts kKeyMatrixTexts = {
    L"keymatrix HidD_SetFeature 成功\r\n",
    L"keymatrix HidD_SetFeature 失败\r\n",
    L"keymatrix WriteFile 写文件成功\r\n",
    L"keymatrix WriteFile 写文件失败\r\n",
};
const BulkTexts kMacroTexts = {
    L"SetTKeyMacro2KB HidD_SetFeature 成功\r\n",
    L"SetTKeyMacro2KB HidD_SetFeature 失败\r\n",
    L"SetTKeyMacro2KB WriteFile 写文件成功\r\n",
    L"SetTKeyMacro2KB WriteFile 写文件失败\r\n",
};

void SendBulk(HidTransport& device, Pauser& pauser, const uint8_t (&header)[kCommandSize], int chunks,
              const uint8_t* payload, size_t payloadBytes, uint32_t pauseMs, const BulkTexts& texts) {
    uint8_t report[kFeatureReportSize];
    FrameCommand(header, report);
    DiagWrite(device.FeatureWrite(report, sizeof report) ? texts.featureOk : texts.featureFailed);
    for (int k = 0; k < chunks; ++k) {
        uint8_t output[kOutputReportSize] = {};
        size_t offset = kChunkSize * static_cast<size_t>(k);
        if (offset < payloadBytes)
            std::memcpy(output + 1, payload + offset, std::min(kChunkSize, payloadBytes - offset));
        DiagWrite(device.OutputWrite(output, sizeof output) ? texts.outputOk : texts.outputFailed);
        pauser.Pause(pauseMs);
    }
}

} // namespace

void SendStageColorList(HidTransport& device, Pauser& pauser, const uint8_t (&colours)[kStageColorBytes]) {
    const uint8_t header[kCommandSize] = {kCmdStageColors, 0, 0, 0x1E};
    SendBulk(device, pauser, header, 1, colours, sizeof colours, kColourPauseMs, kColourTexts);
}

void SetKeyMatrix(HidTransport& device, Pauser& pauser, const uint8_t (&matrix)[kKeyMatrixBytes]) {
    DiagPrintf(L"SetKeyMatrix KeyMatrixBuffer:44:0x%02x 45:0x%02x 46:0x%02x 47:0x%02x \n", matrix[44],
               matrix[45], matrix[46], matrix[47]);
    const uint8_t header[kCommandSize] = {kCmdKeyMatrix, 0, 0, 0x0A};
    SendBulk(device, pauser, header, 10, matrix, sizeof matrix, kChunkPauseMs, kKeyMatrixTexts);
}

void SetDefineKeymatrix(HidTransport& device, Pauser& pauser, uint8_t profile, const uint8_t* table,
                        size_t tableBytes) {
    size_t sent = std::min(tableBytes, kDefinitionBytes);
    uint8_t first[4] = {};
    std::memcpy(first, table, std::min<size_t>(sent, 4));
    DiagPrintf(L"SetDefineKeymatrix Profile:%d DefKMBuffer:0x%02x 0x%02x 0x%02x 0x%02x \n", profile, first[0],
               first[1], first[2], first[3]);
    const uint8_t header[kCommandSize] = {kCmdDefinitions, profile, 0, 0x02};
    SendBulk(device, pauser, header, 2, table, sent, kChunkPauseMs, kKeyMatrixTexts);
}

void SetTKeyMacro2KB(HidTransport& device, Pauser& pauser, uint8_t profile, uint8_t slot, const uint8_t* body,
                     size_t bodyBytes) {
    const uint8_t header[kCommandSize] = {kCmdMacroBody, 0, static_cast<uint8_t>(profile * 6 + slot), 0x02};
    SendBulk(device, pauser, header, 2, body, std::min(bodyBytes, kMacroBodySentBytes), kChunkPauseMs,
             kMacroTexts);
}
