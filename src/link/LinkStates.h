// The link's states. What the exchange with the unit is doing, what still has to leave the port, and how the port
// is watched change independently of each other (a port can go away while a read's box is up, and an abort burst
// drains while its box is up), so each is a variant of its own; each alternative holds the counters and bytes
// only it needs, and a combination the link never is in cannot be written down.
#pragma once

#include <optional>
#include <string>
#include <variant>

namespace qm::link
{

/// What the link is doing, named by the command it last sent to the unit.
enum class Command
{
    /// 0xAA: probing for the unit between transfers.
    Probe,
    /// "U": a read (upload) of the unit's configuration.
    Upload,
    /// "D": a write (download) of a configuration to the unit.
    Download,
};

namespace states
{

// The exchange with the unit.

/// Between transfers: a probe goes out every tick.
struct Probing
{
    /// A probe went out and its echo has not come back.
    bool awaitingEcho = false;
};

/// "U" sent, for the identification or for the user's read: the 131-byte reply is gathered.
struct Reading
{
    /// The automatic identification read: its data bytes are not decoded.
    bool identifyOnly = false;
    /// The reply received so far (probe echoes ahead of it left out).
    std::string reply;
};

/// "D" and the 128 image bytes go out one at a time, each after the unit echoed the one before.
struct Writing
{
    std::string image;
    /// Echo bytes received.
    int echoed = 0;
};

/// Every byte of the image echoed: "U" sent, the reply is gathered to be compared with what was written.
struct ReadingBack
{
    std::string image;
    std::string reply;
};

/// A transfer has ended and its last words (a box, a record) are under way; probing follows.
struct Ended
{
    /// The command the transfer ran.
    Command command = Command::Probe;
};

using Exchange = std::variant<Probing, Reading, Writing, ReadingBack, Ended>;

// What still has to leave the port.

/// Nothing sent waits to leave before anything else happens.
struct Free
{};

/// An abort burst is on its way out: no probe goes out, and what arrives is discarded.
struct Draining
{
    /// Probe ticks waited so far.
    int ticks = 0;
    /// Read and Write are offered once the burst has left.
    bool offerCommands = false;
};

/// The program ends: the port closes once the final "E" has left. Nothing arriving is acted on any more.
struct Closing
{
    /// Probe ticks waited so far.
    int ticks = 0;
    /// Still waiting for what was sent to leave (false: the wait was cut short by the port being closed).
    bool draining = true;
};

using Outgoing = std::variant<Free, Draining, Closing>;

// How the port is watched.

/// The port is watched for silence after it opened.
struct Watched
{
    /// Probe ticks since the port opened without a byte received; none while not counting (something arrived,
    /// or the hint is shown).
    std::optional<int> silentTicks;
    /// The silence hint is the port's hint.
    bool silenceHinted = false;
};

/// The open port went away; the same device is opened again when it is back.
struct Lost
{
    /// Probe ticks since the last try to open it.
    int reopenTicks = 0;
};

using PortWatch = std::variant<Watched, Lost>;

} // namespace states

} // namespace qm::link
