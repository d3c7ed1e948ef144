// A simulated VQ-3 unit: the unit's side of the serial protocol as a pure state machine. It echoes the probe,
// answers "U" with its identification and configuration, takes a download byte by byte with echoes, and
// accepts "E" and the abort burst. Faults can be switched on to test how the program copes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qm::sim
{

/// Bytes in the unit's configuration.
inline constexpr std::size_t kImageSize = 128;
/// Bytes in the unit's answer to "U": "U", model, firmware and the configuration.
inline constexpr std::size_t kReplySize = kImageSize + 3;

/// Faults the simulated unit can show.
struct Faults
{
    /// Answers nothing at all.
    bool silent = false;
    /// Stops echoing a download after this many echoes (the "D" counts as the first).
    std::optional<int> stopEchoAfter;
    /// Echoes byte number N of a download (the "D" is 1) wrongly.
    std::optional<int> badEchoAt;
    /// Sends only this many bytes of the 131-byte reply to "U".
    std::optional<int> shortReply;
    /// Sends this many more bytes after the 131-byte reply.
    std::optional<int> replyExtra;
    /// Answers with noise: every byte it sends differs from the right one (a foreign device on the port).
    bool garbage = false;
    /// Answers "U" with 131 bytes of noise that do not begin with "U"; probes and downloads are answered rightly.
    bool garbageReply = false;
    /// Stores byte number N of a download (the "D" is 1) wrongly while it echoes it rightly: a unit whose memory
    /// lies, found only by reading the configuration back.
    std::optional<int> storeWrongAt;
};

struct UnitSettings
{
    /// 0 VQ-3, 1 VQ-3+, anything else Custom.
    int model = 1;
    int firmware = 2;
    /// The 128 configuration bytes the unit holds.
    std::string image = std::string(kImageSize, '\0');
    Faults faults;
};

class Unit
{
public:
    explicit Unit(UnitSettings settings);

    /// Takes one byte from the line and returns the bytes the unit sends in answer (possibly none).
    std::string receive(char byte);

    /// Returns the 128 configuration bytes the unit holds.
    const std::string& image() const { return m_settings.image; }

    /// Sets what runs after every completed download (with the new configuration).
    void onDownloadCompleted(std::function<void(const std::string& image)> handler);

private:
    enum class State
    {
        Waiting,
        Downloading,
        /// A download broken by a fault: everything is discarded until "E".
        Broken,
    };

    std::string answerWaiting(char byte);
    std::string answerDownload(char byte);
    std::string identification();
    /// Returns a noise byte other than the given one.
    char noiseOtherThan(char byte);

    UnitSettings m_settings;
    std::function<void(const std::string&)> m_downloadCompleted;
    State m_state = State::Waiting;
    std::string m_download;
    /// Bytes of the current download so far, the "D" included.
    int m_downloadCount = 0;
    /// Echoes sent in the current download, the "D" included.
    int m_echoCount = 0;
    /// The state of the noise generator (xorshift), the same in every run.
    std::uint32_t m_noise = 0x2545F491u;
};

} // namespace qm::sim
