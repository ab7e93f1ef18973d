#include "simkbd/sim_keyboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<uint8_t> Frame(std::vector<uint8_t> c) {
    std::vector<uint8_t> report(kSimFeatureReportLength, 0);
    unsigned sum = 0;
    for (size_t i = 0; i < c.size() && i < 7; ++i) {
        report[i + 1] = c[i];
        sum += c[i];
    }
    report[8] = static_cast<uint8_t>((sum & 0xFF) ^ 0xAA);
    return report;
}

void Feature(SimKeyboard& kb, std::vector<uint8_t> c) {
    std::vector<uint8_t> r = Frame(std::move(c));
    kb.FeatureWrite(r.data(), r.size());
}

void Output(SimKeyboard& kb, uint8_t fill) {
    uint8_t r[kSimOutputReportLength];
    std::memset(r, fill, sizeof r);
    r[0] = 0;
    kb.OutputWrite(r, sizeof r);
}

} // namespace

TEST(SimKeyboard, PresentsEventThenCommandCollection) {
    EXPECT_EQ(kSimCollections[0].usagePage, 0xFF00);
    EXPECT_NE(kSimCollections[0].inputReportLength, 0);
    EXPECT_EQ(kSimCollections[1].usagePage, 0xFF01);
    EXPECT_EQ(kSimCollections[1].featureReportLength, 9);
    EXPECT_EQ(kSimCollections[1].outputReportLength, 65);
}

TEST(SimKeyboard, KeepsCommandsAndJournalsThemWithStamps) {
    uint64_t now = 100;
    SimKeyboard kb([&] { return now; });
    now = 130;
    Feature(kb, {0x01, 0x02});
    Feature(kb, {0x11, 0x00, 0x03, 0x04});
    Feature(kb, {0x07, 0x01, 0x00, 0x04, 0x02, 0x01});
    Feature(kb, {0x02, 0xFF, 0x10, 0x01});
    EXPECT_TRUE(kb.ProtocolErrors().empty());
    EXPECT_EQ(kb.Journal()[0], "F 0001020000000000A9 @30");
    EXPECT_EQ(kb.Journal()[3], "F 0002FF1001000000B8 @30");
    EXPECT_EQ(kb.State().activeProfile, 2);
    EXPECT_EQ(kb.State().pollingRate, 3);
    EXPECT_EQ(kb.State().responseTime, 4);
    EXPECT_TRUE(kb.State().effects[1].set);
    EXPECT_EQ(kb.State().effects[1].code, 4);
    EXPECT_EQ(kb.State().effects[1].speed, 2);
    EXPECT_EQ(kb.State().startCommands, 1u);
}

TEST(SimKeyboard, AnswersVersionAndProfileQueries) {
    SimKeyboard kb;
    kb.SetFirmwareVersion(0x02, 0x11);
    uint8_t r[kSimFeatureReportLength];
    Feature(kb, {0x80});
    kb.FeatureRead(r, sizeof r);
    EXPECT_EQ(kb.Journal().back(), "R 008002110000000000");
    Feature(kb, {0x01, 0x03});
    Feature(kb, {0x81});
    kb.FeatureRead(r, sizeof r);
    EXPECT_EQ(r[2], 3);
    Feature(kb, {0x01, 0x00});
    kb.FeatureRead(r, sizeof r);
    EXPECT_EQ(kb.Journal().back(), "R 000000000000000000") << "an answer belongs to its query only";
    EXPECT_TRUE(kb.ProtocolErrors().empty());
}

TEST(SimKeyboard, TakesBulkPayloadsWhole) {
    SimKeyboard kb;
    Feature(kb, {0x0C, 0, 0, 0x0A});
    for (int k = 0; k < 10; ++k)
        Output(kb, static_cast<uint8_t>(k + 1));
    Feature(kb, {0x10, 0, 23, 0x02});
    Output(kb, 0xAB);
    Output(kb, 0xCD);
    Feature(kb, {0x0D, 2, 0, 0x02});
    Output(kb, 0x11);
    Output(kb, 0x22);
    ASSERT_TRUE(kb.ProtocolErrors().empty());
    EXPECT_EQ(kb.State().keyMatrix[0], 1);
    EXPECT_EQ(kb.State().keyMatrix[639], 10);
    EXPECT_EQ(kb.State().macroBodies[3][5][0], 0xAB);
    EXPECT_EQ(kb.State().macroBodies[3][5][127], 0xCD);
    EXPECT_EQ(kb.State().definitions[2][64], 0x22);
}

TEST(SimKeyboard, RecordsMalformedFramesAndAppliesNothing) {
    struct Case {
        const char* name;
        std::vector<uint8_t> report;
    } cases[] = {
        {"checksum", {0, 0x01, 0x02, 0, 0, 0, 0, 0, 0xAA}},
        {"report ID", {1, 0x01, 0x02, 0, 0, 0, 0, 0, 0xA9}},
        {"length", {0, 0x01, 0x02, 0, 0, 0, 0, 0}},
        {"profile", Frame({0x01, 0x04})},
        {"unknown", Frame({0x55})},
        {"effect code", Frame({0x07, 0x01, 0, 0x05})},
    };
    for (const Case& c : cases) {
        SimKeyboard kb;
        kb.FeatureWrite(c.report.data(), c.report.size());
        EXPECT_EQ(kb.ProtocolErrors().size(), 1u) << c.name;
        EXPECT_EQ(kb.State().activeProfile, 0) << c.name;
        EXPECT_FALSE(kb.State().effects[1].set) << c.name;
    }
}

TEST(SimKeyboard, RecordsShortAndUnexpectedBulkData) {
    SimKeyboard kb;
    Output(kb, 0x01);
    EXPECT_EQ(kb.ProtocolErrors().size(), 1u);
    Feature(kb, {0x0D, 1, 0, 0x02});
    Output(kb, 0x33);
    Feature(kb, {0x01, 0x01});
    ASSERT_EQ(kb.ProtocolErrors().size(), 2u);
    EXPECT_NE(kb.ProtocolErrors()[1].find("got 1 of 2"), std::string::npos) << kb.ProtocolErrors()[1];
    EXPECT_EQ(kb.State().definitions[1][0], 0);
    EXPECT_EQ(kb.State().activeProfile, 1) << "the next command itself is fine";

    Feature(kb, {0x0B, 0, 0, 0x1E});
    Output(kb, 0x44); // colour bytes 30..63 must be zero
    EXPECT_EQ(kb.ProtocolErrors().size(), 3u);
    EXPECT_EQ(kb.State().stageColors[0], 0);
}

TEST(SimKeyboard, OwnKeysQueueInputReportsAndChangeState) {
    SimKeyboard kb;
    kb.PressProfileKey(2);
    kb.PressEffectKey(3);
    SimInputReport r;
    ASSERT_TRUE(kb.PopInputReport(r));
    EXPECT_EQ(r, (SimInputReport{0x04, 0x05, 0x03, 0x02}));
    ASSERT_TRUE(kb.PopInputReport(r));
    EXPECT_EQ(r, (SimInputReport{0x04, 0x06, 0x03, 0x03}));
    EXPECT_FALSE(kb.PopInputReport(r));
    EXPECT_EQ(kb.State().activeProfile, 2);
    EXPECT_EQ(kb.State().effects[2].code, 3);
}

TEST(SimKeyboard, UnpluggedTakesNothing) {
    SimKeyboard kb;
    kb.Unplug();
    Feature(kb, {0x01, 0x02});
    EXPECT_TRUE(kb.Journal().empty());
    EXPECT_EQ(kb.State().activeProfile, 0);
    kb.Plug();
    Feature(kb, {0x01, 0x02});
    EXPECT_EQ(kb.State().activeProfile, 2);
}
