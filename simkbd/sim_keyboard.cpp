#include "simkbd/sim_keyboard.h"

#include "simkbd/sim_journal.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr size_t kChunk = 64;

bool ZeroFrom(const uint8_t* c, int from) {
    for (int i = from; i < 7; ++i)
        if (c[i] != 0)
            return false;
    return true;
}

std::string Hex2(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

} // namespace

SimKeyboard::SimKeyboard(std::function<uint64_t()> nowMs) : nowMs_(std::move(nowMs)) {
    state_.fwMajor = 0x01;
    state_.fwMinor = 0x05;
    journalStart_ = nowMs_ ? nowMs_() : 0;
}

void SimKeyboard::SetFirmwareVersion(uint8_t major, uint8_t minor) {
    state_.fwMajor = major;
    state_.fwMinor = minor;
}

void SimKeyboard::Record(char kind, const uint8_t* report, size_t length) {
    std::string line(1, kind);
    line += ' ';
    line += HexBytes(report, length);
    if (nowMs_)
        line += " @" + std::to_string(nowMs_() - journalStart_);
    journal_.push_back(std::move(line));
}

void SimKeyboard::Error(const std::string& text) { errors_.push_back(text); }

void SimKeyboard::FeatureWrite(const uint8_t* report, size_t length) {
    if (!plugged_)
        return;
    Record('F', report, length);
    std::string frame = "F " + HexBytes(report, length);
    if (bulkRemaining_ > 0) {
        Error(frame + ": header " + Hex2(bulkCommand_[0]) + " got " + std::to_string(bulkReceived_) + " of " +
              std::to_string(bulkReceived_ + bulkRemaining_) + " output reports");
        bulkRemaining_ = 0;
    }
    std::memset(readAnswer_, 0, sizeof readAnswer_);
    if (length != kSimFeatureReportLength) {
        Error(frame + ": feature report of " + std::to_string(length) + " bytes");
        return;
    }
    if (report[0] != 0) {
        Error(frame + ": report ID " + Hex2(report[0]));
        return;
    }
    unsigned sum = 0;
    for (int i = 1; i <= 7; ++i)
        sum += report[i];
    uint8_t expected = static_cast<uint8_t>((sum & 0xFF) ^ 0xAA);
    if (report[8] != expected) {
        Error(frame + ": checksum " + Hex2(report[8]) + ", expected " + Hex2(expected));
        return;
    }
    HandleCommand(report + 1, frame);
}

void SimKeyboard::HandleCommand(const uint8_t* c, const std::string& frame) {
    auto refuse = [&](const char* why) { Error(frame + ": " + why); };
    switch (c[0]) {
    case 0x01:
        if (c[1] > 3 || !ZeroFrom(c, 2))
            return refuse("bad profile command");
        state_.activeProfile = c[1];
        return;
    case 0x02:
        if (c[1] != 0xFF || c[2] != 0x10 || c[3] != 0x01 || !ZeroFrom(c, 4))
            return refuse("bad start command");
        ++state_.startCommands;
        return;
    case 0x07:
        if (c[1] > 3 || c[2] != 0 || c[3] > 4 || c[6] != 0)
            return refuse("bad effect command");
        state_.effects[c[1]] = SimKeyboardState::Effect{true, c[3], c[4], c[5]};
        return;
    case 0x0B:
        if (c[1] != 0 || c[2] != 0 || c[3] != 0x1E || !ZeroFrom(c, 4))
            return refuse("bad colour list header");
        return BeginBulk(c, 1);
    case 0x0C:
        if (c[1] != 0 || c[2] != 0 || c[3] != 0x0A || !ZeroFrom(c, 4))
            return refuse("bad key matrix header");
        return BeginBulk(c, 10);
    case 0x0D:
        if (c[1] > 3 || c[2] != 0 || c[3] != 0x02 || !ZeroFrom(c, 4))
            return refuse("bad definitions header");
        return BeginBulk(c, 2);
    case 0x10:
        if (c[1] != 0 || c[2] >= 24 || c[3] != 0x02 || !ZeroFrom(c, 4))
            return refuse("bad macro body header");
        return BeginBulk(c, 2);
    case 0x11:
        if (c[1] != 0 || !ZeroFrom(c, 4))
            return refuse("bad performance command");
        state_.pollingRate = c[2];
        state_.responseTime = c[3];
        return;
    case 0x80:
        if (!ZeroFrom(c, 1))
            return refuse("bad version query");
        readAnswer_[0] = 0x80;
        readAnswer_[1] = state_.fwMajor;
        readAnswer_[2] = state_.fwMinor;
        return;
    case 0x81:
        if (!ZeroFrom(c, 1))
            return refuse("bad profile query");
        readAnswer_[0] = 0x81;
        readAnswer_[1] = state_.activeProfile;
        return;
    default:
        return refuse("unknown command");
    }
}

void SimKeyboard::BeginBulk(const uint8_t* c, int reports) {
    std::memcpy(bulkCommand_, c, 7);
    bulkCommand_[7] = 0;
    bulkRemaining_ = reports;
    bulkReceived_ = 0;
    std::memset(bulkPayload_, 0, sizeof bulkPayload_);
}

void SimKeyboard::OutputWrite(const uint8_t* report, size_t length) {
    if (!plugged_)
        return;
    Record('O', report, length);
    std::string frame = "O " + HexBytes(report, std::min<size_t>(length, 8)) + "...";
    if (length != kSimOutputReportLength) {
        Error(frame + ": output report of " + std::to_string(length) + " bytes");
        bulkRemaining_ = 0;
        return;
    }
    if (report[0] != 0) {
        Error(frame + ": report ID " + Hex2(report[0]));
        bulkRemaining_ = 0;
        return;
    }
    if (bulkRemaining_ == 0) {
        Error(frame + ": output report without a bulk header");
        return;
    }
    std::memcpy(bulkPayload_ + kChunk * static_cast<size_t>(bulkReceived_), report + 1, kChunk);
    ++bulkReceived_;
    if (--bulkRemaining_ == 0)
        FinishBulk();
}

void SimKeyboard::FinishBulk() {
    const uint8_t* c = bulkCommand_;
    switch (c[0]) {
    case 0x0B:
        if (std::any_of(bulkPayload_ + sizeof state_.stageColors, bulkPayload_ + kChunk,
                        [](uint8_t b) { return b != 0; })) {
            Error("colour list: bytes after the ten colours are not zero");
            return;
        }
        std::memcpy(state_.stageColors, bulkPayload_, sizeof state_.stageColors);
        return;
    case 0x0C:
        std::memcpy(state_.keyMatrix, bulkPayload_, sizeof state_.keyMatrix);
        return;
    case 0x0D:
        std::memcpy(state_.definitions[c[1]], bulkPayload_, sizeof state_.definitions[0]);
        return;
    case 0x10:
        std::memcpy(state_.macroBodies[c[2] / 6][c[2] % 6], bulkPayload_, sizeof state_.macroBodies[0][0]);
        return;
    }
}

void SimKeyboard::FeatureRead(uint8_t* report, size_t length) {
    if (!plugged_)
        return;
    uint8_t answer[kSimFeatureReportLength] = {};
    std::memcpy(answer + 1, readAnswer_, sizeof readAnswer_);
    size_t n = std::min(length, kSimFeatureReportLength);
    std::memcpy(report, answer, n);
    Record('R', answer, n);
    if (length != kSimFeatureReportLength)
        Error("R: feature read of " + std::to_string(length) + " bytes");
}

void SimKeyboard::PressProfileKey(uint8_t profile) {
    if (profile > 3) {
        Error("no profile key " + std::to_string(profile));
        return;
    }
    state_.activeProfile = profile;
    input_.push_back(SimInputReport{0x04, 0x05, 0x03, profile});
}

void SimKeyboard::PressEffectKey(uint8_t code) {
    SimKeyboardState::Effect& effect = state_.effects[state_.activeProfile];
    effect.set = true;
    effect.code = code;
    input_.push_back(SimInputReport{0x04, 0x06, 0x03, code});
}

bool SimKeyboard::PopInputReport(SimInputReport& report) {
    if (input_.empty())
        return false;
    report = input_.front();
    input_.pop_front();
    return true;
}

std::string SimKeyboard::JournalText() const {
    std::string text;
    for (const std::string& line : journal_)
        text += line + "\n";
    return text;
}

void SimKeyboard::AddJournalComment(const std::string& text) { journal_.push_back("# " + text); }

void SimKeyboard::ClearJournal() {
    journal_.clear();
    journalStart_ = nowMs_ ? nowMs_() : 0;
}

std::string SimKeyboard::DescribeState() const {
    const SimKeyboardState& s = state_;
    std::string text;
    text += "plugged " + std::string(plugged_ ? "yes" : "no") + "\n";
    text += "firmware " + Hex2(s.fwMajor) + "." + Hex2(s.fwMinor) + "\n";
    text += "active profile " + std::to_string(s.activeProfile) + "\n";
    text += "polling rate " + Hex2(s.pollingRate) + " response time " + Hex2(s.responseTime) + "\n";
    text += "start commands " + std::to_string(s.startCommands) + "\n";
    text += "colours " + HexBytes(s.stageColors, sizeof s.stageColors) + "\n";
    for (int p = 0; p < 4; ++p) {
        const SimKeyboardState::Effect& e = s.effects[p];
        text += "effect " + std::to_string(p) + " " +
                (e.set ? "code " + Hex2(e.code) + " speed " + Hex2(e.speed) + " colour " + Hex2(e.colour)
                       : std::string("not set")) +
                "\n";
    }
    for (int row = 0; row < 10; ++row)
        text += "matrix " + std::to_string(row * 16) + " " + HexBytes(s.keyMatrix + row * 64, 64) + "\n";
    for (int p = 0; p < 4; ++p)
        text += "definitions " + std::to_string(p) + " " + HexBytes(s.definitions[p], 128) + "\n";
    for (int p = 0; p < 4; ++p)
        for (int slot = 0; slot < 6; ++slot)
            text += "macro " + std::to_string(p) + "." + std::to_string(slot) + " " +
                    HexBytes(s.macroBodies[p][slot], 128) + "\n";
    if (!errors_.empty())
        text += "protocol errors " + std::to_string(errors_.size()) + "\n";
    for (const std::string& e : errors_)
        text += "error " + e + "\n";
    return text;
}
