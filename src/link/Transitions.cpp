#include "link/Transitions.h"

#include "link/LinkBytes.h"

#include <cstddef>
#include <utility>

namespace qm::link::transitions
{

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

} // namespace qm::link::transitions
