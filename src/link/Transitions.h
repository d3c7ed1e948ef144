// What the link does on each event, as pure functions: the states before and the event (the bytes of one
// notification, a probe tick, a time-out, a failure of the port, everything sent gone out) give the states after
// and what the link has to do about it. The link carries that out (the port, the timers, the boxes); nothing here
// touches any of it, so every answer can be tried on its own.
#pragma once

#include "link/LinkStates.h"

#include <string_view>

namespace qm::link::transitions
{

/// Probe ticks an abort burst or the final "E" may take to leave before it is discarded (about 2 s: 129 bytes need
/// 269 ms at 4800 baud).
inline constexpr int kDrainTicks = 4;
/// Probe ticks between two tries to open a lost port again (about a second).
inline constexpr int kReopenTicks = 2;
/// Probe ticks of silence after the port opened before the status panel hints at the cause (10 s).
inline constexpr int kSilenceHintTicks = 20;

/// The command the exchange runs (or, once it has ended, ran): Probe between transfers.
Command commandOf(const states::Exchange& exchange);

// The bytes of one notification.

/// Between transfers: the probe echoes among the bytes.
struct ProbeStep
{
    states::Probing state;
    /// Probe echoes received; each one says the unit is there.
    int echoes = 0;
};

ProbeStep probeBytes(states::Probing state, std::string_view bytes);

/// Where a reply stands once the bytes are gathered.
enum class ReplyOutcome
{
    /// Not all of it yet, or more than a reply holds (never taken: the time-out ends the read).
    Waiting,
    /// 131 bytes beginning with "U".
    Complete,
    /// 131 bytes that do not begin with "U": shifted or foreign bytes.
    Foreign,
};

struct ReplyStep
{
    /// The reply received so far, probe echoes ahead of it left out, never more than one byte past its size.
    std::string reply;
    ReplyOutcome outcome = ReplyOutcome::Waiting;
};

ReplyStep replyBytes(std::string reply, std::string_view bytes);

/// Where a write stands once the echoes are taken.
enum class WriteOutcome
{
    /// Every echo so far matched: the byte after the last one echoed goes out next.
    Sending,
    /// An echo differed from the byte sent (or came after the last one).
    Mismatch,
    /// Every byte of the image came back as it was sent.
    AllEchoed,
};

struct WriteStep
{
    /// The write with its echoes counted; on a mismatch the differing echo is counted too.
    states::Writing state;
    WriteOutcome outcome = WriteOutcome::Sending;
    /// Echoes that matched, before these bytes and after them: each new one is reported and answered with the
    /// next byte of the image.
    int matchedBefore = 0;
    int matchedAfter = 0;
};

WriteStep echoBytes(states::Writing state, std::string_view bytes);

// What was sent leaving the port.

/// Still waiting for what was sent to leave the port: no probe goes out meanwhile.
bool waitingToLeave(const states::Outgoing& outgoing);

/// Something was sent that has to leave before anything else happens: the wait (re)starts, and Read and Write,
/// when offered during an earlier wait, still come once it is over.
states::Outgoing awaitSent(states::Outgoing outgoing);

/// How a wait for sent bytes ends (it has left, or the wait ran out); what still has to leave is then nothing.
struct DrainEnd
{
    /// The program ends: the port closes.
    bool closePort = false;
    /// Read and Write were offered during the wait and are accepted now.
    bool offerCommands = false;
};

DrainEnd drainEnd(const states::Outgoing& outgoing);

// The probe tick.

/// A probe tick's answer, its actions in the order the link carries them out.
struct ProbeTickStep
{
    states::Exchange exchange;
    states::Outgoing outgoing;
    states::PortWatch portWatch;
    /// The wait for sent bytes ran out: what is still queued is discarded and the wait ends; nothing else happens.
    bool drainGivenUp = false;
    /// The probe before this one went unanswered: the unit is shown disconnected.
    bool unanswered = false;
    /// The lost port's device is tried again.
    bool reopen = false;
    /// The probe byte goes out.
    bool probe = false;
};

/// While sent bytes are leaving, the tick only bounds the wait. Otherwise it ends a transfer it finds (the probe
/// timer runs only between transfers), marks an unanswered probe, counts towards reopening a lost port, and probes.
ProbeTickStep probeTick(states::Exchange exchange, states::Outgoing outgoing, states::PortWatch portWatch,
                        bool portOpen);

/// A probe tick for the watch on a silent port.
struct SilenceStep
{
    states::PortWatch portWatch;
    /// The port has been silent long enough since it opened: the status panel hints at the cause.
    bool hint = false;
};

SilenceStep silenceTick(states::PortWatch portWatch, bool portOpen);

// Time-outs and failures.

/// The box a transfer broken off by its time-out (or by its port) ends with.
enum class BrokenTransfer
{
    /// A read or the identification got no whole reply.
    Read,
    /// A complete write's read-back got no whole reply: the write went through but is not known to be stored.
    ReadBack,
    /// A write's echoes stopped.
    Write,
};

struct TimeOutStep
{
    /// The transfer has ended.
    states::Exchange exchange;
    BrokenTransfer broken = BrokenTransfer::Read;
};

/// The read time-out: the reply (of a read or a read-back) did not come whole in time.
TimeOutStep readTimedOut(const states::Exchange& exchange);
/// The write time-out: the echoes did not all come in time.
TimeOutStep writeTimedOut(const states::Exchange& exchange);

/// What a failure of the open port means for what the link was doing.
enum class PortFailureAnswer
{
    /// The port was closing for the program's end: it is closed now, nothing more leaves it.
    Closed,
    /// A box is up: the link takes the port as lost and does nothing else until the box is answered.
    Unheeded,
    /// A read or read-back under way is broken off as by its time-out.
    ReadBroken,
    /// A write under way is broken off as by its time-out.
    WriteBroken,
    /// Between transfers: the unit is shown disconnected.
    UnitGone,
};

struct PortFailureStep
{
    /// Nothing more leaves a failed port: no wait for it.
    states::Outgoing outgoing;
    /// Lost, to be opened again when the device is back (unchanged when the port was closing).
    states::PortWatch portWatch;
    PortFailureAnswer answer = PortFailureAnswer::UnitGone;
};

PortFailureStep portFailed(const states::Exchange& exchange, const states::Outgoing& outgoing,
                           states::PortWatch portWatch, bool boxUp);

} // namespace qm::link::transitions
