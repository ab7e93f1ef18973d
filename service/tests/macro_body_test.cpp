#include "service/macro_body.h"

#include "golden.h"

#include "service/report_protocol.h"
#include "service/testing/sim_transport.h"
#include "settings/factory_defaults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using Bytes = std::vector<uint8_t>;

struct Slot {
    std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
    Slot() { ResetAllProfiles(*block); }
    MacroKeyInfo& At(int p, int s) { return block->profiles[p].MacroKeyInfo[s]; }
    Bytes Body(int p, int s, size_t from = 0, size_t count = 12) {
        uint8_t body[kMacroBodyBytes];
        std::memset(body, 0xCC, sizeof body);
        EncodeMacroKey(*block, p, s, body);
        return Bytes(body + from, body + from + count);
    }
};

MacroKeyInfo Recorded(std::vector<MacroEvent> events, int32_t repeat = 1) {
    MacroKeyInfo slot{};
    slot.AssignType = kAssignMacro;
    slot.RepeatCount = repeat;
    slot.EventCount = static_cast<uint16_t>(events.size());
    std::copy(events.begin(), events.end(), slot.Events);
    return slot;
}

} // namespace

TEST(MacroBody, ByAssignType) {
    struct Case {
        const char* name;
        uint8_t type, bits;
        uint16_t key;
        int slot;
        Bytes start; // body bytes 0..11
    } cases[] = {
        {"factory slot 0", 2, 1, 0x1E, 0, {0x00, 0x01, 0x01, 0xE0, 0x01, 0x1E, 0x81, 0xE0, 0x81, 0x1E, 0, 0}},
        {"two modifier bits",
         2,
         0x03,
         0x04,
         1,
         {0x00, 0x01, 0x01, 0xE1, 0x01, 0x04, 0x81, 0xE1, 0x81, 0x04, 0, 0}},
        {"Windows wins",
         2,
         0x0F,
         0x104,
         1,
         {0x00, 0x01, 0x01, 0xE3, 0x01, 0x04, 0x81, 0xE3, 0x81, 0x04, 0, 0}},
        {"no modifier bit", 2, 0x10, 0x04, 1, {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"volume up", 6, 0, 0xB0, 2, {0x00, 0x01, 0x01, 0xE9, 0x81, 0xE9, 0, 0, 0, 0, 0, 0}},
        {"mute chord", 6, 0, 0xB4, 2, {0x00, 0x01, 0x01, 0xE2, 0x01, 0x4A, 0x81, 0x4A, 0x81, 0xE2, 0, 0}},
        {"consumer", 6, 0, 0xB7, 2, {0x03, 0x00, 0x8A, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"C3", 6, 0, 0xC3, 2, {0x00, 0x04, 0x2C, 0x1B, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"media without body", 6, 0, 0xB5, 2, {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"Ctrl+X", 9, 1, 0x1B, 3, {0x00, 0x01, 0x01, 0xE0, 0x01, 0x1B, 0x81, 0x1B, 0x81, 0xE0, 0, 0}},
        {"Alt+F4", 9, 4, 0x3D, 3, {0x00, 0x01, 0x01, 0xE2, 0x01, 0x3D, 0x81, 0x3D, 0x81, 0xE2, 0, 0}},
        {"Win+D", 9, 8, 0x07, 3, {0x00, 0x01, 0x01, 0xE3, 0x01, 0x07, 0x81, 0x07, 0x81, 0xE3, 0, 0}},
        {"not a shortcut", 9, 1, 0x2B, 3, {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"high byte of a shortcut", 9, 1, 0x11B, 3, {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"Ctrl+digit of slot 4",
         10,
         0,
         0,
         4,
         {0x00, 0x01, 0x01, 0xE0, 0x01, 0x22, 0x81, 0x22, 0x81, 0xE0, 0, 0}},
        {"none", 1, 1, 0x1E, 5, {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"launch", 11, 1, 0x1E, 5, {0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Slot slot;
        MacroKeyInfo& m = slot.At(1, c.slot);
        m.AssignType = c.type;
        m.ModifierBits = c.bits;
        m.KeyCode = c.key;
        EXPECT_EQ(slot.Body(1, c.slot), c.start) << c.name;
        EXPECT_EQ(slot.Body(1, c.slot, 12, 248), Bytes(248, 0)) << c.name;
    }
}

TEST(MacroBody, RecordedMacroWorkedExample) {
    Slot slot;
    slot.At(0, 2) = Recorded({{0x04, 1, 20}, {0x04, 2, 0}}, 3);
    EXPECT_EQ(slot.Body(0, 2, 0, 8), (Bytes{0x00, 0x03, 0x01, 0x04, 0x82, 0x04, 0, 0}));
}

TEST(MacroBody, EventStreamForms) {
    struct Case {
        const char* name;
        std::vector<MacroEvent> events;
        int32_t repeat;
        Bytes stream;
    } cases[] = {
        {"long delay, key up", {{0x04, 2, 65535}}, 1, {0x81, 0x04, 0x00, 0x03, 0x02, 0x8F, 0x23}},
        {"long delay, key down", {{0x04, 1, 65535}}, 1, {0x01, 0x04, 0x00, 0x03, 0x02, 0x8F, 0xA3}},
        {"1270 is long", {{0x05, 0, 1270}}, 1, {0x01, 0x05, 0x00, 0x03, 0x00, 0x0C, 0xC6}},
        {"1269 is short", {{0x05, 0, 1269}}, 1, {0x01, 0x05, 0xFE}},
        {"unknown action skipped with its delay",
         {{0x04, 1, 0}, {0x09, 3, 500}, {0x04, 2, 0}},
         1,
         {0x01, 0x04, 0x04}},
        {"delay before the first event", {{0x04, 1, 0}}, 0x00140001, {0x04}},
        {"no prefix after a delay",
         {{0x04, 1, 30}, {0x05, 1, 0}, {0x05, 2, 10}},
         1,
         {0x01, 0x04, 0x83, 0x05, 0x81, 0x05, 0x01}},
    };
    for (const Case& c : cases) {
        MacroKeyInfo slot = Recorded(c.events, c.repeat);
        uint8_t stream[kEventStreamBytes];
        size_t n = EncodeEventStream(slot, stream);
        EXPECT_EQ(Bytes(stream, stream + n), c.stream) << c.name;
    }
}

TEST(MacroBody, StreamNeverPassesItsBuffer) {
    std::vector<MacroEvent> events(kMaxMacroEvents, MacroEvent{0x04, 1, 60000});
    MacroKeyInfo slot = Recorded(events);
    slot.EventCount = 60; // hand-edited past the 50 events a slot holds
    uint8_t stream[kEventStreamBytes];
    EXPECT_EQ(EncodeEventStream(slot, stream), kEventStreamBytes);
}

TEST(MacroBody, Only128BytesReachTheKeyboard) {
    Slot slot;
    std::vector<MacroEvent> events(kMaxMacroEvents, MacroEvent{0x04, 1, 2000});
    for (size_t i = 0; i < events.size(); ++i)
        events[i].Usage = static_cast<uint8_t>(0x04 + i % 26);
    slot.At(3, 5) = Recorded(events, 2);
    uint8_t body[kMacroBodyBytes];
    EncodeMacroKey(*slot.block, 3, 5, body);
    SimKeyboard keyboard;
    SimTransport device(keyboard);
    VirtualClock clock;
    SetTKeyMacro2KB(device, clock, 3, 5, body, sizeof body);
    EXPECT_TRUE(keyboard.ProtocolErrors().empty());
    EXPECT_EQ(0, std::memcmp(keyboard.State().macroBodies[3][5], body, 128));
    EXPECT_NE(body[128], 0) << "the stream goes on past what is sent";
    EXPECT_EQ(keyboard.Journal()[0], "F 001000170200000083") << "profile 3, slot 5 is c2 = 23";
    EXPECT_TRUE(MatchesGolden("macro_126_byte_cut.txt", keyboard));
}
