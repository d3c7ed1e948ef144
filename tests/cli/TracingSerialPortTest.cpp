#include "cli/TracingSerialPort.h"
#include "cli/SimRunner.h"
#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "forms/Windows.h"
#include "link/Link.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace qm::cli
{
namespace
{

struct CountingListener : link::SerialPortListener
{
    int arrivals = 0;
    std::vector<link::PortError> failures;
    void dataArrived() override { ++arrivals; }
    void portFailed(const link::PortError& error) override { failures.push_back(error); }
    void allSent() override {}
};

struct NullHost : link::LinkHost
{
    std::vector<std::pair<link::Transaction, std::string>> completed;
    std::vector<forms::MessageBox> boxes;
    void showBox(const forms::MessageBox& box) override { boxes.push_back(box); }
    void setBusyPointer(bool) override {}
    void saveShownProfiles() override {}
    void decodeUpload(const std::string&) override {}
    void saveComPortToIni() override {}
    void transactionCompleted(link::Transaction transaction, const std::string& bytes) override
    {
        completed.emplace_back(transaction, bytes);
    }
    void progress(int, int) override {}
    link::WriteMismatch describeMismatch(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    void portClosed() override {}
};

std::vector<std::string> linesWithoutTimes(const std::string& trace)
{
    std::vector<std::string> lines;
    std::istringstream in(trace);
    const std::regex timed(R"(^\d+\.\d{3} (.*)$)");
    for (std::string line; std::getline(in, line);) {
        std::smatch match;
        EXPECT_TRUE(std::regex_match(line, match, timed)) << line;
        lines.push_back(match[1]);
    }
    return lines;
}

class TracingSerialPortTest : public ::testing::Test
{
protected:
    fakes::FakeSerialPort port;
    std::ostringstream trace;
    TracingSerialPort tracer{port, trace};
    CountingListener listener;
};

TEST(TraceLineTest, ShowsTimeDirectionHexAndPrintableCharacter)
{
    struct Case
    {
        double ms;
        bool sent;
        char byte;
        const char* line;
    };
    const Case cases[] = {
        {0.0, true, '\xAA', "0.000 -> AA"},         {12.3456, false, 'U', "12.346 <- 55 'U'"},
        {1500.25, true, ' ', "1500.250 -> 20 ' '"}, {3.0, false, '~', "3.000 <- 7E '~'"},
        {3.0, false, '\x7F', "3.000 <- 7F"},        {3.0, true, '\0', "3.000 -> 00"},
        {3.0, true, '\x1F', "3.000 -> 1F"},         {3.0, false, '\xE9', "3.000 <- E9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TracingSerialPort::traceLine(c.ms, c.sent, c.byte), c.line);
}

TEST(UnitLogLineTest, ShowsArrivalTimeHexAndPrintableCharacter)
{
    struct Case
    {
        double ms;
        char byte;
        const char* line;
    };
    const Case cases[] = {
        {0.0, '\0', "0.000 00"},    {269.3754, 'E', "269.375 45 'E'"}, {2.0, '\xAA', "2.000 AA"},
        {2.0, ' ', "2.000 20 ' '"}, {2.0, '\x7F', "2.000 7F"},         {2.0, '\'', "2.000 27 '''"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(unitLogLine(c.ms, c.byte), c.line);
}

TEST_F(TracingSerialPortTest, TracesBytesSentOnlyWhileOpenAndPassesThemOn)
{
    tracer.send("U");
    ASSERT_FALSE(tracer.open());
    tracer.send(std::string("D\0", 2));
    EXPECT_EQ(port.takeSent(), std::string("D\0", 2));
    EXPECT_EQ(linesWithoutTimes(trace.str()), (std::vector<std::string>{"-> 44 'D'", "-> 00"}));
}

TEST_F(TracingSerialPortTest, TracesEveryByteReceivedEvenWhenItIsFlushedUntaken)
{
    tracer.setListener(&listener);
    ASSERT_FALSE(tracer.open());
    port.deliver("\xAA");
    EXPECT_EQ(listener.arrivals, 1);
    port.receive("U\x01");
    EXPECT_EQ(tracer.bytesWaiting(), 3u);
    EXPECT_EQ(tracer.takeByte(), '\xAA');
    tracer.flushInput();
    EXPECT_EQ(tracer.bytesWaiting(), 0u);
    EXPECT_EQ(tracer.takeByte(), std::nullopt);
    EXPECT_EQ(linesWithoutTimes(trace.str()), (std::vector<std::string>{"<- AA", "<- 55 'U'", "<- 01"}));
}

TEST_F(TracingSerialPortTest, HandsBytesOutInTheOrderTheyCame)
{
    tracer.setListener(&listener);
    ASSERT_FALSE(tracer.open());
    port.deliver("AB");
    port.receive("C");
    std::string taken;
    while (const auto byte = tracer.takeByte())
        taken.push_back(*byte);
    EXPECT_EQ(taken, "ABC");
}

TEST_F(TracingSerialPortTest, PassesAFailureOnAndDropsWhatWasWaiting)
{
    tracer.setListener(&listener);
    ASSERT_FALSE(tracer.open());
    port.deliver("U");
    port.fail({link::port_error::kErrorReading, "gone"});
    ASSERT_EQ(listener.failures.size(), 1u);
    EXPECT_EQ(listener.failures[0].reason, "gone");
    EXPECT_EQ(tracer.bytesWaiting(), 0u);
}

TEST_F(TracingSerialPortTest, TheLinkIdentifiesAUnitThroughIt)
{
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    forms::Windows windows;
    link::LinkState state;
    state.comPort = 1;
    NullHost host;
    link::Link engine(tracer, echoTimer, readTimer, writeTimer, windows, state, host);
    engine.testPort();
    engine.openPort();
    engine.probeTick();
    port.deliver("\xAA");
    const std::string image(128, '\x42');
    port.deliver(std::string("U\x01\x02", 3) + image.substr(0, 60));
    port.deliver(image.substr(60));
    ASSERT_EQ(host.completed.size(), 1u);
    EXPECT_EQ(host.completed[0].second, image);
    EXPECT_EQ(state.modelName, "VQ-3+ ");
    const auto lines = linesWithoutTimes(trace.str());
    ASSERT_EQ(lines.size(), 3u + 131u);
    EXPECT_EQ(lines[0], "-> AA");
    EXPECT_EQ(lines[1], "<- AA");
    EXPECT_EQ(lines[2], "-> 55 'U'");
    EXPECT_EQ(lines.back(), "<- 42 'B'");
}

} // namespace
} // namespace qm::cli
