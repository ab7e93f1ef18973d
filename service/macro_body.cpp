#include "service/macro_body.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

namespace {

class StreamWriter {
public:
    explicit StreamWriter(uint8_t (&stream)[kEventStreamBytes]) : stream_(stream) {}
    void Put(std::initializer_list<uint8_t> bytes) {
        for (uint8_t b : bytes)
            if (size_ < kEventStreamBytes)
                stream_[size_++] = b;
    }
    size_t Size() const { return size_; }

private:
    uint8_t (&stream_)[kEventStreamBytes];
    size_t size_ = 0;
};

void Put(uint8_t (&body)[kMacroBodyBytes], size_t at, std::initializer_list<uint8_t> bytes) {
    std::copy(bytes.begin(), bytes.end(), body + at);
}

void KeyWithModifier(uint8_t (&body)[kMacroBodyBytes], uint8_t m, uint8_t k) {
    Put(body, 2, {0x01, m, 0x01, k, 0x81, k, 0x81, m});
}

struct MediaBody {
    uint16_t keyCode;
    uint8_t at; // 0: a consumer usage body 03 00 lo hi; 2: key events
    uint8_t bytes[8];
    uint8_t count;
};

const MediaBody kMediaBodies[] = {
    {0xB0, 2, {0x01, 0xE9, 0x81, 0xE9}, 4},
    {0xB1, 2, {0x01, 0xEA, 0x81, 0xEA}, 4},
    {0xB2, 2, {0x01, 0xE2, 0x81, 0xE2}, 4},
    {0xB3, 2, {0x01, 0x3C, 0x81, 0x3C}, 4},
    {0xB4, 2, {0x01, 0xE2, 0x01, 0x4A, 0x81, 0x4A, 0x81, 0xE2}, 8},
    {0xB7, 0, {0x03, 0x00, 0x8A, 0x01}, 4},
    {0xB8, 0, {0x03, 0x00, 0xB7, 0x00}, 4},
    {0xB9, 0, {0x03, 0x00, 0xB5, 0x00}, 4},
    {0xBA, 0, {0x03, 0x00, 0xCD, 0x00}, 4},
    {0xBB, 0, {0x03, 0x00, 0xB6, 0x00}, 4},
    {0xBD, 0, {0x03, 0x00, 0x24, 0x02}, 4},
    {0xBE, 0, {0x03, 0x00, 0x25, 0x02}, 4},
    {0xBF, 0, {0x03, 0x00, 0x26, 0x00}, 4},
    {0xC1, 0, {0x03, 0x00, 0x2A, 0x02}, 4},
    {0xC2, 0, {0x03, 0x00, 0x94, 0x01}, 4},
    {0xC3, 0, {0x00, 0x04, 0x2C, 0x1B}, 4},
    {0xC4, 0, {0x03, 0x00, 0x83, 0x01}, 4},
    {0xC5, 2, {0x01, 0xE3, 0x01, 0x08, 0x81, 0x08, 0x81, 0xE3}, 8},
    {0xC7, 2, {0x01, 0x3E, 0x81, 0x3E}, 4},
};

struct Shortcut {
    uint8_t modifierBits;
    uint8_t modifier;
    uint8_t keys[9];
    uint8_t count;
};

const Shortcut kShortcuts[] = {
    {1, 0xE0, {0x1B, 0x06, 0x19, 0x04, 0x09, 0x11, 0x13, 0x16, 0x1D}, 9},
    {4, 0xE2, {0x2B, 0x3D}, 2},
    {8, 0xE3, {0x0F, 0x15, 0x07}, 3},
};

uint8_t DelayBits(uint32_t value, uint8_t action) {
    return static_cast<uint8_t>((value & 0x7F) | (action == 2 ? 0x00 : 0x80));
}

} // namespace

size_t EncodeEventStream(const MacroKeyInfo& slot, uint8_t (&stream)[kEventStreamBytes]) {
    StreamWriter out(stream);
    const int count = std::min<int>(slot.EventCount, kMaxMacroEvents);
    uint32_t previousDelay = static_cast<uint32_t>(slot.RepeatCount) >> 16;
    for (int i = 0; i < count; ++i) {
        const MacroEvent& e = slot.Events[i];
        if (i > 0)
            previousDelay = slot.Events[i - 1].DelayMs;
        if (e.Action > 2)
            continue;
        if (previousDelay == 0)
            out.Put({static_cast<uint8_t>(e.Action == 2 ? 0x81 : 0x01), e.Usage});
        else
            out.Put({e.Usage});
        const uint32_t d = e.DelayMs;
        if (d == 0)
            continue;
        if (d < 1270) {
            out.Put({DelayBits(d / 10, e.Action)});
        } else {
            const uint32_t hundreds = d / 100;
            out.Put({0x00, 0x03, static_cast<uint8_t>(hundreds >> 8), static_cast<uint8_t>(hundreds),
                     DelayBits(d % 100, e.Action)});
        }
    }
    return out.Size();
}

void EncodeMacroKey(const SettingsBlock& block, int p, int s, uint8_t (&body)[kMacroBodyBytes]) {
    std::memset(body, 0, sizeof body);
    body[1] = 0x01;
    if (p < 0 || p >= kProfileCount || s < 0 || s >= kMacroKeyCount)
        return;
    const MacroKeyInfo& slot = block.profiles[p].MacroKeyInfo[s];
    const uint8_t key = static_cast<uint8_t>(slot.KeyCode);
    switch (slot.AssignType) {
    case kAssignKey: {
        for (int bit = 3; bit >= 0; --bit)
            if (slot.ModifierBits & (1 << bit)) {
                const uint8_t m = static_cast<uint8_t>(0xE0 + bit);
                Put(body, 2, {0x01, m, 0x01, key, 0x81, m, 0x81, key});
                break;
            }
        break;
    }
    case kAssignMacro: {
        body[0] = 0x00;
        body[1] = static_cast<uint8_t>(slot.RepeatCount);
        uint8_t stream[kEventStreamBytes];
        size_t n = EncodeEventStream(slot, stream);
        std::memcpy(body + 2, stream, n);
        break;
    }
    case kAssignMedia:
        for (const MediaBody& m : kMediaBodies)
            if (m.keyCode == slot.KeyCode) {
                std::memcpy(body + m.at, m.bytes, m.count);
                break;
            }
        break;
    case kAssignShortcut:
        for (const Shortcut& sc : kShortcuts)
            if (sc.modifierBits == slot.ModifierBits &&
                std::find(sc.keys, sc.keys + sc.count, slot.KeyCode) != sc.keys + sc.count)
                KeyWithModifier(body, sc.modifier, key);
        break;
    case kAssignCtrlDigit:
        KeyWithModifier(body, 0xE0, static_cast<uint8_t>(0x1E + s));
        break;
    default:
        break;
    }
}
