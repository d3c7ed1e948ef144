// The link on a fake port and fake timers, with a recording host and helpers that play the unit's side.
#pragma once

#include "fakes/FakeSerialPort.h"
#include "fakes/FakeTimer.h"
#include "forms/Windows.h"
#include "link/Link.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qm::link
{

class RecordingHost : public LinkHost
{
public:
    std::vector<std::string> events;
    std::vector<forms::MessageBox> boxes;
    std::vector<std::string> decoded;
    std::vector<std::pair<Transaction, std::string>> completed;
    std::vector<std::pair<int, int>> progressReports;
    /// written, read back and before of every mismatch described.
    std::vector<std::array<std::string, 3>> mismatches;
    WriteMismatch mismatchAnswer{"My Call (written \"N0CALL\", read back \"N0CALM\")", "/backups/before.vq3"};
    int portsClosed = 0;
    bool busy = false;
    int boxesWithBusyPointer = 0;
    std::function<void()> duringBox;

    void showBox(const forms::MessageBox& box) override
    {
        if (busy) {
            ++boxesWithBusyPointer;
        }
        events.push_back("box:" + box.title);
        boxes.push_back(box);
        if (duringBox) {
            duringBox();
        }
    }
    void setBusyPointer(bool isBusy) override
    {
        busy = isBusy;
        events.push_back(isBusy ? "pointer:busy" : "pointer:normal");
    }
    void saveShownProfiles() override { events.push_back("saveShownProfiles"); }
    void decodeUpload(const std::string& uploadData) override
    {
        events.push_back("decodeUpload");
        decoded.push_back(uploadData);
    }
    void saveComPortToIni() override { events.push_back("saveComPortToIni"); }
    void transactionCompleted(Transaction transaction, const std::string& imageBytes) override
    {
        events.push_back("transactionCompleted");
        completed.emplace_back(transaction, imageBytes);
    }
    void progress(int done, int total) override { progressReports.emplace_back(done, total); }
    WriteMismatch describeMismatch(const std::string& written, const std::string& readBack,
                                   const std::string& before) override
    {
        events.push_back("describeMismatch");
        mismatches.push_back({written, readBack, before});
        return mismatchAnswer;
    }
    void portClosed() override
    {
        events.push_back("portClosed");
        ++portsClosed;
    }

    void clear()
    {
        events.clear();
        boxes.clear();
        decoded.clear();
        completed.clear();
        progressReports.clear();
        mismatches.clear();
    }
};

inline const std::string kProbe = "\xAA";
inline const std::string kProgramCaption = "Quellmark Configuration Program";

/// 128 bytes with every kind of value: 0x00, 0xAA, "U", "D", "E" and high bytes.
inline std::string testImage(int seed = 0)
{
    std::string image;
    for (int i = 0; i < 128; ++i) {
        image.push_back(static_cast<char>((i * 37 + seed) % 256));
    }
    image[0] = '\0';
    image[1] = '\xAA';
    image[2] = 'U';
    image[3] = 'D';
    image[4] = 'E';
    return image;
}

inline std::string reply(int model, int firmware, const std::string& image)
{
    return std::string("U") + static_cast<char>(model) + static_cast<char>(firmware) + image;
}

struct LinkRig
{
    fakes::FakeSerialPort port;
    fakes::FakeTimer echoTimer{500};
    fakes::FakeTimer readTimer{5000};
    fakes::FakeTimer writeTimer{5000};
    forms::Windows windows;
    LinkState state;
    RecordingHost host;
    Link link{port, echoTimer, readTimer, writeTimer, windows, state, host};

    ~LinkRig() { EXPECT_EQ(host.boxesWithBusyPointer, 0); }

    void openPort(int n = 1)
    {
        link.selectComPort(n);
        port.takeSent();
        host.clear();
    }

    /// Opens COM1, answers the probe and the identification read.
    void connect(int model = 1, int firmware = 2, const std::string& image = testImage())
    {
        openPort();
        echoTimer.tick();
        port.deliver(kProbe);
        port.deliver(reply(model, firmware, image));
        port.takeSent();
        host.clear();
    }

    /// Echoes the last byte sent, as the unit does during a write.
    void echoLastByte() { port.deliver(port.sent.substr(port.sent.size() - 1)); }

    /// Starts the write of the image and echoes all of it: the read-back "U" is the last byte sent.
    void writeAndEcho(const std::string& downloadImage)
    {
        link.startDownload(downloadImage);
        for (std::size_t i = 0; i < downloadImage.size(); ++i) {
            echoLastByte();
        }
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
               main.window.caption() == kProgramCaption && state.firmwareVersion == 0 && !state.firmwareWarned;
    }

    /// Probing again: lastCommand Probe, no echo awaited, only the probe timer running.
    bool inEchoMode() const
    {
        return state.lastCommand == link::Command::Probe && !state.awaitingEcho && echoTimer.isActive() &&
               !readTimer.isActive() && !writeTimer.isActive() && state.echoCount == 0 && state.downloadImage.empty();
    }
};

class LinkTest : public ::testing::Test, public LinkRig
{};

} // namespace qm::link
