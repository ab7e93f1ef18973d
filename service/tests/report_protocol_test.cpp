#include "service/report_protocol.h"

#include "golden.h"
#include "service/testing/sim_transport.h"
#include "settings/testing/diag_capture.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(ReportFrame, ChecksumsOfTheWorkedExamples) {
    struct Case {
        uint8_t command[kCommandSize];
        uint8_t checksum;
    } cases[] = {
        {{0x01, 0x02}, 0xA9},
        {{0x02, 0xFF, 0x10, 0x01}, 0xB8},
        {{0x0C, 0x00, 0x00, 0x0A}, 0xBC},
        {{0x80}, 0x2A},
        {{}, 0xAA},
        {{0x10, 0x00, 23, 0x02}, static_cast<uint8_t>((0x10 + 23 + 2) ^ 0xAA)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CommandChecksum(c.command), c.checksum) << int(c.command[0]);

    const uint8_t command[kCommandSize] = {0x01, 0x02};
    uint8_t report[kFeatureReportSize];
    FrameCommand(command, report);
    const uint8_t expected[kFeatureReportSize] = {0x00, 0x01, 0x02, 0, 0, 0, 0, 0, 0xA9};
    EXPECT_EQ(0, std::memcmp(report, expected, sizeof report));
}

TEST(ReportProtocol, ReadBacksAnswerFromTheKeyboard) {
    SimKeyboard keyboard;
    keyboard.SetFirmwareVersion(0x03, 0x1A);
    SimTransport device(keyboard);
    DiagCapture diag;
    EXPECT_EQ(GetFwVersion(device), L"GetFwVersion:03.1a\n");
    SendProfileCommand(device, 2);
    EXPECT_EQ(ReadCurProfile(device), 2);
    EXPECT_TRUE(diag.Contains(L"Buffer[1]:80,Buffer[2]:03."));
    EXPECT_TRUE(diag.Contains(L"GetFwVersion:03.1a\n"));
    EXPECT_TRUE(diag.Contains(L"ReadCurProfile:02\n"));
    ExpectNoProtocolErrors(keyboard);
}

TEST(ReportProtocol, ReadBacksOnAnAbsentKeyboardYieldZeros) {
    SimKeyboard keyboard;
    keyboard.Unplug();
    SimTransport device(keyboard);
    DiagCapture diag;
    EXPECT_EQ(GetFwVersion(device), L"GetFwVersion:00.00\n");
    EXPECT_EQ(ReadCurProfile(device), 0);
}

TEST(ReportProtocol, BulkTransfersHeadersChunksAndPauses) {
    VirtualClock clock;
    SimKeyboard keyboard([&] { return clock.NowMs(); });
    SimTransport device(keyboard);
    DiagCapture diag;

    uint8_t colours[kStageColorBytes];
    for (size_t i = 0; i < sizeof colours; ++i)
        colours[i] = static_cast<uint8_t>(i + 1);
    SendStageColorList(device, clock, colours);
    EXPECT_EQ(clock.NowMs(), 100u);

    uint8_t matrix[kKeyMatrixBytes] = {};
    matrix[44] = 0x12;
    matrix[47] = 0x0A;
    matrix[639] = 0x77;
    SetKeyMatrix(device, clock, matrix);
    EXPECT_EQ(clock.NowMs(), 600u);

    uint8_t table[130] = {0x00, 0x00, 0xE0, 0x00};
    table[128] = 0xEE; // the two bytes past 128 are not sent
    SetDefineKeymatrix(device, clock, 1, table, sizeof table);
    EXPECT_EQ(clock.NowMs(), 700u);

    uint8_t body[260];
    std::memset(body, 0x5A, sizeof body);
    SetTKeyMacro2KB(device, clock, 3, 5, body, sizeof body);
    EXPECT_EQ(clock.NowMs(), 800u);
    EXPECT_EQ(clock.PauseCount(), 1 + 10 + 2 + 2);

    ExpectNoProtocolErrors(keyboard);
    EXPECT_TRUE(MatchesGolden("bulk_transfers.txt", keyboard));
    EXPECT_EQ(keyboard.State().macroBodies[3][5][127], 0x5A);

    EXPECT_EQ(diag.Count(L"SetMasterRGBLED10StageColor HidD_SetFeature 成功\r\n"), 1);
    EXPECT_EQ(diag.Count(L"SetMasterRGBLED10StageColor WriteFile 写文件成功\r\n"), 1);
    EXPECT_EQ(diag.Count(L"keymatrix HidD_SetFeature 成功\r\n"), 2);
    EXPECT_EQ(diag.Count(L"keymatrix WriteFile 写文件成功\r\n"), 12);
    EXPECT_EQ(diag.Count(L"SetTKeyMacro2KB HidD_SetFeature 成功\r\n"), 1);
    EXPECT_EQ(diag.Count(L"SetTKeyMacro2KB WriteFile 写文件成功\r\n"), 2);
    EXPECT_TRUE(diag.Contains(L"SetKeyMatrix KeyMatrixBuffer:44:0x12 45:0x00 46:0x00 47:0x0a \n"));
    EXPECT_TRUE(diag.Contains(L"SetDefineKeymatrix Profile:1 DefKMBuffer:0x00 0x00 0xe0 0x00 \n"));
}

TEST(ReportProtocol, FailedWritesAreReportedAndTheTransferGoesOn) {
    VirtualClock clock;
    SimKeyboard keyboard;
    keyboard.Unplug();
    SimTransport device(keyboard);
    DiagCapture diag;
    uint8_t colours[kStageColorBytes] = {};
    SendStageColorList(device, clock, colours);
    uint8_t matrix[kKeyMatrixBytes] = {};
    SetKeyMatrix(device, clock, matrix);
    uint8_t body[260] = {};
    SetTKeyMacro2KB(device, clock, 0, 0, body, sizeof body);
    EXPECT_EQ(diag.Count(L"SetMasterRGBLED10StageColor HidD_SetFeature 失败\r\n"), 1);
    EXPECT_EQ(diag.Count(L"SetMasterRGBLED10StageColor WriteFile 写文件失败\r\n"), 1);
    EXPECT_EQ(diag.Count(L"keymatrix HidD_SetFeature 失败\r\n"), 1);
    EXPECT_EQ(diag.Count(L"keymatrix WriteFile 写文件失败\r\n"), 10);
    EXPECT_EQ(diag.Count(L"SetTKeyMacro2KB HidD_SetFeature 失败\r\n"), 1);
    EXPECT_EQ(diag.Count(L"SetTKeyMacro2KB WriteFile 写文件失败\r\n"), 2);
    EXPECT_EQ(clock.NowMs(), 100u + 500u + 100u) << "the pauses are kept without a keyboard";
}

TEST(ReportProtocol, CommandsWithoutOutputReports) {
    SimKeyboard keyboard;
    SimTransport device(keyboard);
    SendStartCommand(device);
    SendPerformanceCommand(device, 0x03, 0x02);
    SendProfileCommand(device, 1);
    ExpectNoProtocolErrors(keyboard);
    EXPECT_TRUE(MatchesGolden("simple_commands.txt", keyboard));
}
