// The link's answers to each event, decided without a port: the bytes of one notification (probe echoes, a reply
// gathered, a write's echoes checked), probe ticks, time-outs, a failure of the port, and the wait for sent bytes.
#include "link/Transitions.h"
#include "link/LinkBytes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <variant>

namespace qm::link::transitions
{
namespace
{

const std::string kProbe(1, kProbeByte);

std::string replyOf(char first, std::size_t size)
{
    std::string reply(size, '\x07');
    reply[0] = first;
    return reply;
}

TEST(TransitionsTest, ProbeEchoesAreCountedAmongOtherBytes)
{
    struct Row
    {
        const char* name;
        bool awaiting;
        std::string bytes;
        bool awaitingAfter;
        int echoes;
    };
    const Row rows[] = {
        {"nothing", true, "", true, 0},
        {"a foreign byte", true, "U", true, 0},
        {"the echo", true, kProbe, false, 1},
        {"two echoes in one notification", true, kProbe + "x" + kProbe, false, 2},
        {"an echo not awaited", false, kProbe, false, 1},
    };
    for (const Row& row : rows) {
        const ProbeStep step = probeBytes(states::Probing{.awaitingEcho = row.awaiting}, row.bytes);
        EXPECT_EQ(step.state.awaitingEcho, row.awaitingAfter) << row.name;
        EXPECT_EQ(step.echoes, row.echoes) << row.name;
    }
}

TEST(TransitionsTest, AReplyIsTakenAtItsSizeOnlyAndOnlyWhenItBeginsWithU)
{
    struct Row
    {
        const char* name;
        std::string before;
        std::string bytes;
        std::size_t size;
        ReplyOutcome outcome;
    };
    const Row rows[] = {
        {"a first part", "", replyOf('U', 60), 60, ReplyOutcome::Waiting},
        {"the rest", replyOf('U', 60), std::string(71, 'x'), kReplySize, ReplyOutcome::Complete},
        {"one byte short", "", replyOf('U', kReplySize - 1), kReplySize - 1, ReplyOutcome::Waiting},
        {"probe echoes ahead of it", "", kProbe + kProbe + replyOf('U', kReplySize), kReplySize,
         ReplyOutcome::Complete},
        // Inside the reply 0xAA is a data byte like any other.
        {"0xAA after the first byte", "U", std::string(kReplySize - 1, kProbeByte), kReplySize, ReplyOutcome::Complete},
        {"shifted bytes", "", replyOf('D', kReplySize), kReplySize, ReplyOutcome::Foreign},
        {"one byte too many", "", replyOf('U', kReplySize + 1), kReplySize + 1, ReplyOutcome::Waiting},
        {"a flood keeps one byte past the size", "", replyOf('U', 5000), kReplySize + 1, ReplyOutcome::Waiting},
    };
    for (const Row& row : rows) {
        const ReplyStep step = replyBytes(row.before, row.bytes);
        EXPECT_EQ(step.reply.size(), row.size) << row.name;
        EXPECT_EQ(step.outcome, row.outcome) << row.name;
    }
    const ReplyStep split = replyBytes(replyOf('U', 60), std::string(71, 'x'));
    EXPECT_EQ(split.reply, replyOf('U', 60) + std::string(71, 'x')) << "the bytes are kept in their order";
}

TEST(TransitionsTest, AWriteAnswersEachMatchingEchoAndStopsAtTheFirstThatDiffers)
{
    const std::string image = "D" + std::string("ABCDEFGH");
    struct Row
    {
        const char* name;
        int echoedBefore;
        std::string bytes;
        WriteOutcome outcome;
        int matchedAfter;
        int echoedAfter;
    };
    const Row rows[] = {
        {"nothing yet", 0, "", WriteOutcome::Sending, 0, 0},
        {"the echo of D", 0, "D", WriteOutcome::Sending, 1, 1},
        {"a probe echo ahead of D", 0, kProbe + "D", WriteOutcome::Sending, 1, 1},
        {"a probe echo in place of A", 1, kProbe, WriteOutcome::Mismatch, 1, 2},
        {"two echoes at once", 1, "AB", WriteOutcome::Sending, 3, 3},
        {"a wrong echo after good ones", 1, "ABX", WriteOutcome::Mismatch, 3, 4},
        {"the last echo", 8, "H", WriteOutcome::AllEchoed, 9, 9},
        {"an echo past the image", 8, "HH", WriteOutcome::AllEchoed, 9, 9},
        {"the wrong last echo", 8, "G", WriteOutcome::Mismatch, 8, 9},
    };
    for (const Row& row : rows) {
        const WriteStep step = echoBytes(states::Writing{.image = image, .echoed = row.echoedBefore}, row.bytes);
        EXPECT_EQ(step.outcome, row.outcome) << row.name;
        EXPECT_EQ(step.matchedBefore, row.echoedBefore) << row.name;
        EXPECT_EQ(step.matchedAfter, row.matchedAfter) << row.name;
        EXPECT_EQ(step.state.echoed, row.echoedAfter) << row.name;
        EXPECT_EQ(step.state.image, image) << row.name;
    }
}

TEST(TransitionsTest, TheCommandIsTheOneTheExchangeRunsOrRan)
{
    struct Row
    {
        const char* name;
        states::Exchange exchange;
        Command command;
    };
    const Row rows[] = {
        {"probing", states::Probing{}, Command::Probe},
        {"identifying", states::Reading{.identifyOnly = true, .reply = {}}, Command::Upload},
        {"reading", states::Reading{}, Command::Upload},
        {"writing", states::Writing{}, Command::Download},
        {"reading back", states::ReadingBack{}, Command::Upload},
        {"a write ended", states::Ended{Command::Download}, Command::Download},
        {"a read ended", states::Ended{Command::Upload}, Command::Upload},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(commandOf(row.exchange), row.command) << row.name;
    }
}

TEST(TransitionsTest, AWaitForSentBytesStartsAfreshAndEndsWithWhatItOwes)
{
    struct Row
    {
        const char* name;
        states::Outgoing before;
        bool waitingBefore;
        // After awaitSent:
        bool closingAfter;
        bool offerAfter;
        // How the wait before ends:
        bool closePort;
        bool offerCommands;
    };
    const Row rows[] = {
        {"nothing waits", states::Free{}, false, false, false, false, false},
        {"a burst leaving", states::Draining{.ticks = 3, .offerCommands = false}, true, false, false, false, false},
        {"a burst with Read and Write offered", states::Draining{.ticks = 2, .offerCommands = true}, true, false, true,
         false, true},
        {"the final E leaving", states::Closing{.ticks = 3, .draining = true}, true, true, false, true, false},
        {"the final E, the port closed", states::Closing{.ticks = 1, .draining = false}, false, true, false, true,
         false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(waitingToLeave(row.before), row.waitingBefore) << row.name;
        const states::Outgoing after = awaitSent(row.before);
        EXPECT_TRUE(waitingToLeave(after)) << row.name;
        if (row.closingAfter) {
            ASSERT_TRUE(std::holds_alternative<states::Closing>(after)) << row.name;
            EXPECT_EQ(std::get<states::Closing>(after).ticks, 0) << row.name;
        } else {
            ASSERT_TRUE(std::holds_alternative<states::Draining>(after)) << row.name;
            EXPECT_EQ(std::get<states::Draining>(after).ticks, 0) << row.name;
            EXPECT_EQ(std::get<states::Draining>(after).offerCommands, row.offerAfter) << row.name;
        }
        const DrainEnd end = drainEnd(row.before);
        EXPECT_EQ(end.closePort, row.closePort) << row.name;
        EXPECT_EQ(end.offerCommands, row.offerCommands) << row.name;
    }
}

TEST(TransitionsTest, AProbeTickBoundsAWaitOrProbesAndCountsTowardsReopening)
{
    struct Row
    {
        const char* name;
        states::Exchange exchange;
        states::Outgoing outgoing;
        states::PortWatch watch;
        bool portOpen;
        bool drainGivenUp;
        bool unanswered;
        bool reopen;
        bool probe;
        // The ticks counted after: the wait's, or the lost port's towards reopening (-1: neither).
        int ticksAfter;
    };
    const states::PortWatch watched = states::Watched{};
    const Row rows[] = {
        {"a probe answered", states::Probing{.awaitingEcho = false}, states::Free{}, watched, true, false, false, false,
         true, -1},
        {"a probe unanswered", states::Probing{.awaitingEcho = true}, states::Free{}, watched, true, false, true, false,
         true, -1},
        {"a transfer found under way", states::Writing{}, states::Free{}, watched, true, false, false, false, true, -1},
        {"a burst leaving", states::Probing{.awaitingEcho = true}, states::Draining{.ticks = 0, .offerCommands = false},
         watched, true, false, false, false, false, 1},
        {"a burst's last tick", states::Probing{}, states::Draining{.ticks = kDrainTicks - 1, .offerCommands = true},
         watched, true, true, false, false, false, kDrainTicks},
        {"the final E leaving", states::Probing{}, states::Closing{.ticks = kDrainTicks - 2, .draining = true}, watched,
         true, false, false, false, false, kDrainTicks - 1},
        {"the final E's last tick", states::Probing{}, states::Closing{.ticks = kDrainTicks - 1, .draining = true},
         watched, true, true, false, false, false, kDrainTicks},
        {"the final E cut short", states::Probing{.awaitingEcho = true}, states::Closing{.ticks = 0, .draining = false},
         watched, false, false, true, false, true, 0},
        {"a lost port counting", states::Probing{}, states::Free{}, states::Lost{.reopenTicks = 0}, false, false, false,
         false, true, 1},
        {"a lost port tried again", states::Probing{}, states::Free{}, states::Lost{.reopenTicks = kReopenTicks - 1},
         false, false, false, true, true, 0},
        {"a lost port found open", states::Probing{}, states::Free{}, states::Lost{.reopenTicks = kReopenTicks - 1},
         true, false, false, false, true, kReopenTicks - 1},
    };
    for (const Row& row : rows) {
        const ProbeTickStep step = probeTick(row.exchange, row.outgoing, row.watch, row.portOpen);
        EXPECT_EQ(step.drainGivenUp, row.drainGivenUp) << row.name;
        EXPECT_EQ(step.unanswered, row.unanswered) << row.name;
        EXPECT_EQ(step.reopen, row.reopen) << row.name;
        EXPECT_EQ(step.probe, row.probe) << row.name;
        if (const auto* drain = std::get_if<states::Draining>(&step.outgoing)) {
            EXPECT_EQ(drain->ticks, row.ticksAfter) << row.name;
            EXPECT_EQ(drain->offerCommands, std::get<states::Draining>(row.outgoing).offerCommands) << row.name;
        } else if (const auto* closing = std::get_if<states::Closing>(&step.outgoing)) {
            EXPECT_EQ(closing->ticks, row.ticksAfter) << row.name;
        } else if (const auto* lost = std::get_if<states::Lost>(&step.portWatch)) {
            EXPECT_EQ(lost->reopenTicks, row.ticksAfter) << row.name;
        } else {
            EXPECT_EQ(row.ticksAfter, -1) << row.name;
        }
        if (row.probe) {
            ASSERT_TRUE(std::holds_alternative<states::Probing>(step.exchange)) << row.name;
            EXPECT_TRUE(std::get<states::Probing>(step.exchange).awaitingEcho) << row.name;
        } else {
            EXPECT_EQ(step.exchange.index(), row.exchange.index()) << row.name << ": a wait leaves the exchange alone";
        }
    }
}

TEST(TransitionsTest, ASilentPortIsHintedAtOnceAfterItsTicks)
{
    struct Row
    {
        const char* name;
        states::PortWatch watch;
        bool portOpen;
        bool hint;
        std::optional<int> silentAfter;
    };
    const Row rows[] = {
        {"counting", states::Watched{.silentTicks = 0, .silenceHinted = false}, true, false, 1},
        {"the last tick", states::Watched{.silentTicks = kSilenceHintTicks - 1, .silenceHinted = false}, true, true,
         std::nullopt},
        {"not counting", states::Watched{.silentTicks = std::nullopt, .silenceHinted = true}, true, false,
         std::nullopt},
        {"the port closed", states::Watched{.silentTicks = kSilenceHintTicks - 1, .silenceHinted = false}, false, false,
         kSilenceHintTicks - 1},
    };
    for (const Row& row : rows) {
        const SilenceStep step = silenceTick(row.watch, row.portOpen);
        EXPECT_EQ(step.hint, row.hint) << row.name;
        const auto& watched = std::get<states::Watched>(step.portWatch);
        EXPECT_EQ(watched.silentTicks, row.silentAfter) << row.name;
        EXPECT_EQ(watched.silenceHinted, row.hint || std::get<states::Watched>(row.watch).silenceHinted) << row.name;
    }
    const SilenceStep lost = silenceTick(states::Lost{.reopenTicks = 1}, true);
    EXPECT_FALSE(lost.hint) << "a lost port is not silent";
    EXPECT_EQ(std::get<states::Lost>(lost.portWatch).reopenTicks, 1);
}

TEST(TransitionsTest, ATimeOutEndsTheTransferWithTheBoxOfWhatBrokeOff)
{
    struct Row
    {
        const char* name;
        states::Exchange exchange;
        bool read;
        BrokenTransfer broken;
        Command ended;
    };
    const Row rows[] = {
        {"a read", states::Reading{}, true, BrokenTransfer::Read, Command::Upload},
        {"the identification", states::Reading{.identifyOnly = true, .reply = {}}, true, BrokenTransfer::Read,
         Command::Upload},
        {"a read-back", states::ReadingBack{.image = "D", .reply = "U"}, true, BrokenTransfer::ReadBack,
         Command::Upload},
        {"a write", states::Writing{.image = "DAB", .echoed = 1}, false, BrokenTransfer::Write, Command::Download},
    };
    for (const Row& row : rows) {
        const TimeOutStep step = row.read ? readTimedOut(row.exchange) : writeTimedOut(row.exchange);
        EXPECT_EQ(step.broken, row.broken) << row.name;
        ASSERT_TRUE(std::holds_alternative<states::Ended>(step.exchange)) << row.name;
        EXPECT_EQ(std::get<states::Ended>(step.exchange).command, row.ended) << row.name;
    }
}

TEST(TransitionsTest, AFailedPortIsLostAndBreaksOffWhatWasUnderWay)
{
    struct Row
    {
        const char* name;
        states::Exchange exchange;
        states::Outgoing outgoing;
        bool boxUp;
        PortFailureAnswer answer;
    };
    const Row rows[] = {
        {"between transfers", states::Probing{}, states::Free{}, false, PortFailureAnswer::UnitGone},
        {"while a burst leaves", states::Probing{}, states::Draining{}, false, PortFailureAnswer::UnitGone},
        {"a read", states::Reading{}, states::Free{}, false, PortFailureAnswer::ReadBroken},
        {"a read-back", states::ReadingBack{}, states::Free{}, false, PortFailureAnswer::ReadBroken},
        {"a write", states::Writing{}, states::Free{}, false, PortFailureAnswer::WriteBroken},
        {"a write's box under way", states::Ended{Command::Download}, states::Free{}, false,
         PortFailureAnswer::WriteBroken},
        {"a box up", states::Writing{}, states::Free{}, true, PortFailureAnswer::Unheeded},
        {"the port closing", states::Writing{}, states::Closing{}, false, PortFailureAnswer::Closed},
        {"the port closing, a box up", states::Probing{}, states::Closing{}, true, PortFailureAnswer::Closed},
    };
    for (const Row& row : rows) {
        const PortFailureStep step = portFailed(row.exchange, row.outgoing, states::Watched{}, row.boxUp);
        EXPECT_EQ(step.answer, row.answer) << row.name;
        EXPECT_TRUE(std::holds_alternative<states::Free>(step.outgoing)) << row.name << ": nothing more leaves it";
        EXPECT_EQ(std::holds_alternative<states::Lost>(step.portWatch), row.answer != PortFailureAnswer::Closed)
            << row.name;
    }
}

} // namespace
} // namespace qm::link::transitions
