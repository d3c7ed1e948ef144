// A link double for the program's tests: records what the program asks of the link.
#pragma once

#include "shell/LinkRequests.h"
#include "shell/Session.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qm::fakes
{

class RecordingLink : public shell::LinkRequests
{
public:
    explicit RecordingLink(shell::ProgramState& state) : m_state(state) {}

    std::vector<std::string> calls;
    /// The images handed over for download.
    std::vector<std::string> downloads;
    /// The port test fails when set.
    bool portFails = false;
    /// What transferUnderWay() answers.
    bool transferring = false;
    /// What closeWhenSent() runs once the port is closed.
    std::function<void()> whenClosed;

    void testPort() override
    {
        calls.push_back("testPort");
        m_state.link.portTestFailed = portFails;
    }
    void openPort() override { calls.push_back("openPort"); }
    void askToChoosePort() override { calls.push_back("askToChoosePort"); }
    void closePort() override { calls.push_back("closePort"); }
    bool transferUnderWay() const override { return transferring; }
    void closeWhenSent(std::function<void()> closed) override
    {
        calls.push_back("closeWhenSent");
        whenClosed = std::move(closed);
    }
    void read() override { calls.push_back("read"); }
    void selectComPort(int n) override
    {
        calls.push_back("selectComPort " + std::to_string(n));
        m_state.link.otherDevice.clear();
    }
    void selectOtherDevice(const std::string& path) override
    {
        calls.push_back("otherdevice:" + path);
        m_state.link.otherDevice = path;
    }
    void disconnectUnit() override { calls.push_back("disconnectUnit"); }
    void startDownload(const std::string& downloadImage) override
    {
        calls.push_back("startDownload");
        downloads.push_back(downloadImage);
    }

private:
    shell::ProgramState& m_state;
};

} // namespace qm::fakes
