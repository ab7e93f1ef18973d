// The simulated keyboard: the keyboard's side of the report protocol, used by the
// tests, the benchmarks and the demo in place of the real device. It checks every
// frame it is given, keeps what it was sent, journals every report and can press
// its own profile and effect keys. Portable: the Wine side only carries reports.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

constexpr uint16_t kSimUsagePage_Command = 0xFF01;
constexpr uint16_t kSimUsagePage_Event = 0xFF00;
constexpr size_t kSimFeatureReportLength = 9; // report ID 0 + 8 bytes
constexpr size_t kSimOutputReportLength = 65; // report ID 0 + 64 bytes
constexpr size_t kSimInputReportLength = 8;   // report ID 4 + 7 bytes (4 meaningful)

using SimInputReport = std::array<uint8_t, kSimInputReportLength>;

// The keyboard's USB identity is the build's.
constexpr uint16_t kSimVendorId = TREMO_VID;
constexpr uint16_t kSimProductId = TREMO_PID;
constexpr uint16_t kSimCollectionUsage = 0x0001;

struct SimCollection {
    uint16_t usagePage;
    uint16_t usage;
    uint16_t featureReportLength;
    uint16_t inputReportLength;
    uint16_t outputReportLength;
};

// The two collections in the order the keyboard lists them: events first.
constexpr SimCollection kSimCollections[2] = {
    {kSimUsagePage_Event, kSimCollectionUsage, 0, kSimInputReportLength, 0},
    {kSimUsagePage_Command, kSimCollectionUsage, kSimFeatureReportLength, 0, kSimOutputReportLength},
};

// Everything the keyboard holds, as it was last sent.
struct SimKeyboardState {
    uint8_t keyMatrix[640];
    uint8_t definitions[4][128];
    uint8_t macroBodies[4][6][128]; // [profile][slot]
    uint8_t stageColors[30];
    struct Effect {
        bool set;
        uint8_t code, speed, colour;
    } effects[4];
    uint8_t pollingRate;
    uint8_t responseTime;
    uint8_t activeProfile;
    uint8_t fwMajor, fwMinor;
    uint32_t startCommands; // how often 02 FF 10 01 arrived
};

class SimKeyboard {
public:
    // nowMs gives the time for journal stamps; without it lines carry no stamp.
    explicit SimKeyboard(std::function<uint64_t()> nowMs = {});

    // Host -> keyboard. Malformed frames are recorded as protocol errors and not applied.
    void FeatureWrite(const uint8_t* report, size_t length);
    // Host reads a feature report: the answer to the last read command (0x80, 0x81),
    // zeros otherwise. Fills kSimFeatureReportLength bytes; a buffer of another
    // length is a protocol error and gets what fits.
    void FeatureRead(uint8_t* report, size_t length);
    void OutputWrite(const uint8_t* report, size_t length);

    // Keyboard -> host: the keyboard's own keys. Each queues an input report and
    // changes the keyboard's state as the real keys do.
    void PressProfileKey(uint8_t profile);
    void PressEffectKey(uint8_t code);
    bool PopInputReport(SimInputReport& report);

    // Unplugged, the keyboard takes and answers nothing; the transport in front of
    // it reports its writes as failed. It starts plugged in.
    void Plug() { plugged_ = true; }
    void Unplug() { plugged_ = false; }
    bool Plugged() const { return plugged_; }
    void SetFirmwareVersion(uint8_t major, uint8_t minor);

    const SimKeyboardState& State() const { return state_; }
    const std::vector<std::string>& ProtocolErrors() const { return errors_; }

    // One line per report: "F <hex>" feature written, "O <hex>" output written,
    // "R <hex>" feature read (what was returned); upper-case hex, no separators,
    // optionally " @<ms since the journal began>". Lines starting with '#' are comments.
    const std::vector<std::string>& Journal() const { return journal_; }
    std::string JournalText() const;
    void AddJournalComment(const std::string& text);
    void ClearJournal();

    // A human-readable dump of the state (for scripts/sim state).
    std::string DescribeState() const;

private:
    std::function<uint64_t()> nowMs_;
    SimKeyboardState state_{};
    std::vector<std::string> errors_;
    std::vector<std::string> journal_;
    std::deque<SimInputReport> input_;
    // Bulk transfer in progress: its command and the output reports still expected.
    uint8_t bulkCommand_[8]{};
    int bulkRemaining_ = 0;
    int bulkReceived_ = 0;
    uint8_t bulkPayload_[640]{};
    uint8_t readAnswer_[8]{};
    uint64_t journalStart_ = 0;
    bool plugged_ = true;

    void Record(char kind, const uint8_t* report, size_t length);
    void Error(const std::string& text);
    void HandleCommand(const uint8_t* c, const std::string& frame);
    void BeginBulk(const uint8_t* c, int reports);
    void FinishBulk();
};
