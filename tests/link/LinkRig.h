// The link on a fake port and fake timers, with a host that records what the user is shown and told, its
// connection reports shown in windows as the program shows them, and the steps a scenario is written in.
#pragma once

#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "forms/Windows.h"
#include "link/Link.h"
#include "link/LinkMessages.h"
#include "shell/ConnectionDisplay.h"

#include <gtest/gtest.h>

namespace qm::link
{

using Completed = std::vector<std::pair<Transaction, std::string>>;
using Boxes = std::vector<forms::MessageBox>;
using Text = const std::string&;

struct RecordingHost : LinkHost
{
    Boxes boxes;
    std::vector<std::string> decoded;
    Completed completed;
    /// Written, read back and before, of every mismatch described.
    std::vector<std::array<std::string, 3>> mismatches;
    WriteMismatch mismatchAnswer{"My Call (written \"N0CALL\", read back \"N0CALM\")", "/backups/before.vq3"};
    std::pair<int, int> lastProgress;
    int profileSaves = 0, iniSaves = 0, portsClosed = 0, boxesWithBusyPointer = 0;
    bool busy = false;
    std::function<void()> duringBox = [] {};

    void showBox(const forms::MessageBox& box) override
    {
        boxesWithBusyPointer += busy ? 1 : 0;
        boxes.push_back(box);
        duringBox();
    }
    void setBusyPointer(bool isBusy) override { busy = isBusy; }
    void saveShownProfiles() override { ++profileSaves; }
    void decodeUpload(Text uploadData) override { decoded.push_back(uploadData); }
    void saveComPortToIni() override { ++iniSaves; }
    void transactionCompleted(Transaction done, Text image) override { completed.emplace_back(done, image); }
    void progress(int done, int total) override { lastProgress = {done, total}; }
    WriteMismatch describeMismatch(Text written, Text readBack, Text before) override
    {
        mismatches.push_back({written, readBack, before});
        return mismatchAnswer;
    }
    void portClosed() override { ++portsClosed; }
};

inline const std::string kProbe = "\xAA";
inline const std::string kBurst = std::string(128, '\0') + "E";

/// 128 bytes with every kind of value: 0x00, 0xAA, "U", "D", "E" and high bytes.
inline std::string testImage(int seed = 0)
{
    std::string image(std::string("\0\xAAUDE", 5));
    for (int i = 5; i < 128; ++i)
        image.push_back(static_cast<char>((i * 37 + seed) % 256));
    return image;
}

inline std::string reply(int model, int firmware, Text image)
{
    return std::string{'U', static_cast<char>(model), static_cast<char>(firmware)} + image;
}

/// The program's display of the link's reports, keeping the port hints in the order they were reported.
struct HintRecordingDisplay : shell::ConnectionDisplay
{
    using ConnectionDisplay::ConnectionDisplay;
    std::vector<PortHint> hints;

    void portHint(PortHint hint, const std::string& device) override
    {
        hints.push_back(hint);
        ConnectionDisplay::portHint(hint, device);
    }
};

struct LinkRig
{
    fakes::FakeSerialPort port;
    fakes::FakeTimer probeTimer{500}, readTimer{5000}, writeTimer{5000};
    forms::Windows windows;
    /// The program's display of the link's reports, over windows.
    HintRecordingDisplay display{windows};
    LinkStatus state;
    RecordingHost host;
    Link link{port, probeTimer, readTimer, writeTimer, display, state, host};

    ~LinkRig() { EXPECT_EQ(host.boxesWithBusyPointer, 0); }

    void run(const std::vector<std::function<void(LinkRig&)>>& steps)
    {
        for (const auto& step : steps)
            step(*this);
    }

    /// Chooses COM n; forgets what was sent and shown.
    void openPort(int n = 1)
    {
        link.selectComPort(n);
        port.takeSent();
        host.boxes.clear();
    }

    /// Opens COM1, answers the probe and the identification read; forgets what was sent and shown.
    void connect(Text image = testImage())
    {
        openPort();
        probeTimer.tick();
        port.deliver(kProbe);
        port.deliver(reply(1, 2, image));
        port.takeSent();
        host.completed.clear();
    }

    bool showsConnected() const
    {
        const auto& main = windows.main;
        return main.VQ3Status.caption() == "Connected" && main.VQ3Status.background() == 0x80FF80 &&
               main.ConnectButton.visible() && main.menus.read.enabled();
    }

    bool showsDisconnected() const
    {
        const auto& main = windows.main;
        return main.VQ3Status.caption() == "Disconnected" && main.VQ3Status.background() == 0xFFFF80 &&
               !main.ConnectButton.visible() && !main.menus.read.enabled() && !main.menus.write.enabled() &&
               main.window.caption() == "Quellmark Configuration Program" && state.firmwareVersion == 0 &&
               !link.firmwareWarned();
    }

    /// Probing again: nothing under way, no time-out left to fire later, only the probe timer running.
    bool probing() const
    {
        return link.activity() == Command::Probe && !link.awaitingEcho() && probeTimer.isActive() &&
               !readTimer.isActive() && !writeTimer.isActive() && link.echoesReceived() == 0 &&
               link.imageInFlight().empty() && !host.busy;
    }
};

/// What the user or the unit does: one step of a scenario.
using Step = std::function<void(LinkRig&)>;
inline const Step askRead = [](LinkRig& r) { r.link.read(); };
inline const Step clickDisconnect = [](LinkRig& r) { r.link.disconnectUnit(); };
inline const Step tickProbe = [](LinkRig& r) { r.probeTimer.tick(); };
inline const Step tickRead = [](LinkRig& r) { r.readTimer.tick(); };
inline const Step tickWrite = [](LinkRig& r) { r.writeTimer.tick(); };
inline const Step portFails = [](LinkRig& r) { r.port.fail({8020, "gone"}); };
inline const auto askWrite = [](std::string image) -> Step { return [=](LinkRig& r) { r.link.startDownload(image); }; };
inline const auto deliver = [](std::string bytes) -> Step { return [=](LinkRig& r) { r.port.deliver(bytes); }; };
/// The unit echoes the last byte sent, n times over, as during a write.
inline const auto echo = [](std::size_t n) -> Step {
    return [=](LinkRig& r) {
        for (std::size_t i = 0; i < n; ++i)
            r.port.deliver(r.port.sent.substr(r.port.sent.size() - 1));
    };
};
template <class... Steps>
Step seq(Steps... steps)
{
    return [all = std::vector<Step>{steps...}](LinkRig& r) { r.run(all); };
}

} // namespace qm::link
