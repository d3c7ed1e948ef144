// What the exchange does with the bytes the unit sends, as pure functions: the state before and the bytes that
// arrived in one notification give the state after and what the link has to do about them. The link carries that
// out (the port, the timers, the boxes); nothing here touches any of it, so every answer can be tried on its own.
#pragma once

#include "link/LinkStates.h"

#include <string_view>

namespace qm::link::transitions
{

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

} // namespace qm::link::transitions
