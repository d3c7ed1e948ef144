// What vq3 tells a terminal or a script: questions answered with the safe choice, the progress line, and output
// that reaches a pipe whole.
#include "cli/CliUi.h"
#include "cli/DescriptorBuffer.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace qm::cli
{
namespace
{

TEST(CliTest, QuestionsGetTheSafeChoiceAndProgressIsOneLineOnATerminalOnly)
{
    std::ostringstream err;
    CliUi ui(err, true);
    using forms::Buttons;
    EXPECT_EQ(ui.messageBox(forms::messageBox("A", "a", forms::Icon::None, Buttons::YesNo)), forms::Button::No);
    EXPECT_EQ(ui.messageBox(forms::messageBox("B", "b", forms::Icon::None, Buttons::OkCancel)), forms::Button::Cancel);
    EXPECT_EQ(ui.inputBox("Callsign?", "Input", "N0CALL"), std::nullopt);
    EXPECT_EQ(ui.saveFileDialog({}).path, "");
    ui.showProgress(0, 129);
    ui.showProgress(129, 129);
    ui.endProgressLine();
    ui.endProgressLine();
    EXPECT_EQ(err.str(), "\rbytes 0 of 129\x1b[K\rbytes 129 of 129\x1b[K\n");

    std::ostringstream pipe;
    CliUi quiet(pipe, false);
    quiet.showProgress(5, 131);
    quiet.endProgressLine();
    EXPECT_EQ(pipe.str(), "");
}

TEST(CliTest, ANonBlockingPipeThatFillsUpLosesNoByte)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::fcntl(ends[1], F_SETFL, O_NONBLOCK), 0);
    std::string bytes(1 << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 31 % 251);
    std::string received;
    std::thread reader([&] {
        char chunk[65536];
        for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<std::size_t>(n));
    });
    {
        DescriptorBuffer buffer(ends[1]);
        std::ostream out(&buffer);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        EXPECT_EQ(buffer.failure(), 0);
    }
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    EXPECT_EQ(received, bytes);
}

} // namespace
} // namespace qm::cli
