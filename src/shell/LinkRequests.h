// What the program asks of the link with the unit: testing and opening the serial port at start-up, closing it
// at exit, and sending a compiled image. The link engine implements it.
#pragma once

#include <functional>
#include <string>

namespace qm::shell
{

/// The requests of the program to the link; UnitLink passes them to the link engine.
class LinkRequests
{
public:
    virtual ~LinkRequests() = default;

    /// Tests the chosen port: opens and closes it; on failure shows the port's message box and sets portError.
    virtual void testPort() = 0;
    /// Opens the tested port and sends the first probe at once; probing for the unit goes on from there.
    virtual void openPort() = 0;
    /// Tells the user to choose a serial port from the Setup menu.
    virtual void askToChoosePort() = 0;
    /// Sends "E" when the port is open, then closes it.
    virtual void closePort() = 0;
    /// A read or write with the unit is under way.
    virtual bool transferUnderWay() const = 0;
    /// Breaks off a transfer under way with the abort burst, sends "E", lets it all leave, closes the port and
    /// then runs closed (from the event loop).
    virtual void closeWhenSent(std::function<void()> closed) = 0;
    /// Starts the echo-verified write of a compiled stream ("D" and the 128 image bytes).
    virtual void startDownload(const std::string& downloadImage) = 0;
    /// The Read command.
    virtual void read() = 0;
    /// Setup > Serial Port > COMn.
    virtual void selectComPort(int n) = 0;
    /// Setup > Serial Port > Other Device with the device's path.
    virtual void selectOtherDevice(const std::string& path) = 0;
    /// The Disconnect button.
    virtual void disconnectUnit() = 0;
};

} // namespace qm::shell
