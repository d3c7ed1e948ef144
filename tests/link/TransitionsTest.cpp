// The exchange's answers to the bytes of one notification, decided without a port: probe echoes, a reply gathered,
// a write's echoes checked.
#include "link/Transitions.h"
#include "link/LinkBytes.h"

#include <gtest/gtest.h>

#include <string>

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

} // namespace
} // namespace qm::link::transitions
