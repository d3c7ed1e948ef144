#include "link/Transitions.h"

#include "link/LinkBytes.h"

#include <cstddef>
#include <utility>
#include <variant>

namespace qm::link::transitions
{

Command commandOf(const states::Exchange& exchange)
{
    if (std::holds_alternative<states::Reading>(exchange) || std::holds_alternative<states::ReadingBack>(exchange)) {
        return Command::Upload;
    }
    if (std::holds_alternative<states::Writing>(exchange)) {
        return Command::Download;
    }
    if (const auto* ended = std::get_if<states::Ended>(&exchange)) {
        return ended->command;
    }
    return Command::Probe;
}

ProbeStep probeBytes(states::Probing state, std::string_view bytes)
{
    ProbeStep step{.state = state, .echoes = 0};
    for (const char byte : bytes) {
        if (byte == kProbeByte) {
            ++step.echoes;
            step.state.awaitingEcho = false;
        }
    }
    return step;
}

ReplyStep replyBytes(std::string reply, std::string_view bytes)
{
    for (const char byte : bytes) {
        // The echo of a probe sent just before the request can still be on its way; the reply begins with "U".
        if (reply.empty() && byte == kProbeByte) {
            continue;
        }
        // One byte past the reply's size is enough to know it will never be taken: a device that floods the line
        // costs no memory.
        if (reply.size() <= kReplySize) {
            reply.push_back(byte);
        }
    }
    ReplyOutcome outcome = ReplyOutcome::Waiting;
    if (reply.size() == kReplySize) {
        outcome = reply.front() == kReadRequest ? ReplyOutcome::Complete : ReplyOutcome::Foreign;
    }
    return {.reply = std::move(reply), .outcome = outcome};
}

WriteStep echoBytes(states::Writing state, std::string_view bytes)
{
    WriteStep step{.state = std::move(state), .outcome = WriteOutcome::Sending, .matchedBefore = 0, .matchedAfter = 0};
    states::Writing& writing = step.state;
    step.matchedBefore = writing.echoed;
    step.matchedAfter = writing.echoed;
    const std::size_t size = writing.image.size();
    for (const char byte : bytes) {
        // The echo of a probe sent just before the write can arrive ahead of the echo of "D".
        if (writing.echoed == 0 && byte == kProbeByte) {
            continue;
        }
        const auto echoed = static_cast<std::size_t>(++writing.echoed);
        if (echoed > size || byte != writing.image[echoed - 1]) {
            step.outcome = WriteOutcome::Mismatch;
            return step;
        }
        step.matchedAfter = writing.echoed;
        if (echoed >= size) {
            step.outcome = WriteOutcome::AllEchoed;
            return step;
        }
    }
    return step;
}

bool waitingToLeave(const states::Outgoing& outgoing)
{
    if (const auto* closing = std::get_if<states::Closing>(&outgoing)) {
        return closing->draining;
    }
    return std::holds_alternative<states::Draining>(outgoing);
}

states::Outgoing awaitSent(states::Outgoing outgoing)
{
    if (std::holds_alternative<states::Closing>(outgoing)) {
        return states::Closing{};
    }
    if (auto* drain = std::get_if<states::Draining>(&outgoing)) {
        drain->ticks = 0;
        return outgoing;
    }
    return states::Draining{};
}

DrainEnd drainEnd(const states::Outgoing& outgoing)
{
    const auto* drain = std::get_if<states::Draining>(&outgoing);
    return {.closePort = std::holds_alternative<states::Closing>(outgoing),
            .offerCommands = drain != nullptr && drain->offerCommands};
}

ProbeTickStep probeTick(states::Exchange exchange, states::Outgoing outgoing, states::PortWatch portWatch,
                        bool portOpen)
{
    ProbeTickStep step{.exchange = std::move(exchange), .outgoing = outgoing, .portWatch = portWatch};
    // No probe joins an abort burst or a final "E" on its way out.
    int* drainTicks = nullptr;
    if (auto* drain = std::get_if<states::Draining>(&step.outgoing)) {
        drainTicks = &drain->ticks;
    } else if (auto* closing = std::get_if<states::Closing>(&step.outgoing); closing != nullptr && closing->draining) {
        drainTicks = &closing->ticks;
    }
    if (drainTicks != nullptr) {
        step.drainGivenUp = ++*drainTicks >= kDrainTicks;
        return step;
    }
    auto* probing = std::get_if<states::Probing>(&step.exchange);
    if (probing == nullptr) {
        step.exchange = states::Probing{};
        probing = &std::get<states::Probing>(step.exchange);
    }
    step.unanswered = probing->awaitingEcho;
    if (auto* lost = std::get_if<states::Lost>(&step.portWatch); lost != nullptr && !portOpen) {
        if (++lost->reopenTicks >= kReopenTicks) {
            lost->reopenTicks = 0;
            step.reopen = true;
        }
    }
    // A probe that cannot go out gets no echo either: a port that was lost turns the display Disconnected.
    probing->awaitingEcho = true;
    step.probe = true;
    return step;
}

SilenceStep silenceTick(states::PortWatch portWatch, bool portOpen)
{
    SilenceStep step{.portWatch = portWatch, .hint = false};
    auto* watched = std::get_if<states::Watched>(&step.portWatch);
    if (watched == nullptr || !watched->silentTicks || !portOpen || ++*watched->silentTicks < kSilenceHintTicks) {
        return step;
    }
    watched->silentTicks.reset();
    watched->silenceHinted = true;
    step.hint = true;
    return step;
}

TimeOutStep readTimedOut(const states::Exchange& exchange)
{
    const bool readingBack = std::holds_alternative<states::ReadingBack>(exchange);
    return {.exchange = states::Ended{commandOf(exchange)},
            .broken = readingBack ? BrokenTransfer::ReadBack : BrokenTransfer::Read};
}

TimeOutStep writeTimedOut(const states::Exchange& exchange)
{
    return {.exchange = states::Ended{commandOf(exchange)}, .broken = BrokenTransfer::Write};
}

PortFailureStep portFailed(const states::Exchange& exchange, const states::Outgoing& outgoing,
                           states::PortWatch portWatch, bool boxUp)
{
    if (std::holds_alternative<states::Closing>(outgoing)) {
        return {.outgoing = states::Free{}, .portWatch = portWatch, .answer = PortFailureAnswer::Closed};
    }
    PortFailureStep step{
        .outgoing = states::Free{}, .portWatch = states::Lost{}, .answer = PortFailureAnswer::UnitGone};
    if (boxUp) {
        step.answer = PortFailureAnswer::Unheeded;
        return step;
    }
    const Command command = commandOf(exchange);
    if (command == Command::Upload) {
        step.answer = PortFailureAnswer::ReadBroken;
    } else if (command == Command::Download) {
        step.answer = PortFailureAnswer::WriteBroken;
    }
    return step;
}

} // namespace qm::link::transitions
