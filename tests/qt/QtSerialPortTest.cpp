// Tests of the serial-port adapter on a real pseudo-terminal through QSerialPort.
#include "qt/QtSerialPort.h"

#include "EventLoop.h"
#include "PseudoTerminal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace qm::qt
{
namespace
{

using namespace std::chrono_literals;
using link::PortError;
using qttest::PseudoTerminal;
using qttest::runEventsFor;
using qttest::waitUntil;

class RecordingListener : public link::SerialPortListener
{
public:
    int notifications = 0;
    std::vector<PortError> failures;
    int sentReports = 0;

    void dataArrived() override { ++notifications; }
    void portFailed(const PortError& error) override { failures.push_back(error); }
    void allSent() override { ++sentReports; }
};

std::string allByteValues()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

std::string takeAll(QtSerialPort& port)
{
    std::string bytes;
    while (const std::optional<char> byte = port.takeByte())
        bytes.push_back(*byte);
    return bytes;
}

class QtSerialPortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qttest::ensureApplication();
        ASSERT_TRUE(terminal.valid());
        ::setenv("QUELLMARK_COM1", terminal.slavePath().c_str(), 1);
        port.setListener(&listener);
        port.setCommPort(1);
    }

    void TearDown() override { ::unsetenv("QUELLMARK_COM1"); }

    PseudoTerminal terminal;
    RecordingListener listener;
    QtSerialPort port;
};

TEST_F(QtSerialPortTest, OpensTheDeviceNamedByTheEnvironmentAt4800Baud8N1WithoutFlowControl)
{
    ASSERT_EQ(port.open(), std::nullopt);

    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.devicePath(), terminal.slavePath());
    termios settings{};
    ASSERT_EQ(::tcgetattr(terminal.slave(), &settings), 0);
    EXPECT_EQ(::cfgetispeed(&settings), B4800);
    EXPECT_EQ(::cfgetospeed(&settings), B4800);
    EXPECT_EQ(settings.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
    runEventsFor(20ms);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(listener.failures.empty());
}

TEST_F(QtSerialPortTest, OpensThroughASymbolicLinkNamedByTheEnvironment)
{
    const std::string link = ::testing::TempDir() + "qm-unit-link-" + std::to_string(::getpid());
    std::filesystem::remove(link);
    std::filesystem::create_symlink(terminal.slavePath(), link);
    ::setenv("QUELLMARK_COM1", link.c_str(), 1);

    ASSERT_EQ(port.open(), std::nullopt);

    EXPECT_EQ(port.devicePath(), link);
    port.send("\xAA");
    EXPECT_EQ(terminal.read(1), "\xAA");
    port.close();
    std::filesystem::remove(link);
}

TEST_F(QtSerialPortTest, SendsEveryByteValueToTheOtherSide)
{
    ASSERT_EQ(port.open(), std::nullopt);

    port.send(allByteValues());

    EXPECT_EQ(terminal.read(256), allByteValues());
}

TEST_F(QtSerialPortTest, DeliversReceivedBytesThroughTheNotificationInOrder)
{
    ASSERT_EQ(port.open(), std::nullopt);

    terminal.write(std::string("\xAA\x00U\xFF", 4));

    ASSERT_TRUE(waitUntil([&] { return port.bytesWaiting() == 4; }));
    EXPECT_GE(listener.notifications, 1);
    EXPECT_EQ(takeAll(port), std::string("\xAA\x00U\xFF", 4));
    EXPECT_EQ(port.bytesWaiting(), 0u);
    EXPECT_EQ(port.takeByte(), std::nullopt);
}

TEST_F(QtSerialPortTest, HasAWholeBurstOf131BytesWaitingAfterItsNotifications)
{
    ASSERT_EQ(port.open(), std::nullopt);
    std::string reply = "U\x02\x02" + allByteValues().substr(100, 128);

    terminal.write(reply);

    ASSERT_TRUE(waitUntil([&] { return port.bytesWaiting() == 131; }));
    EXPECT_GE(listener.notifications, 1);
    EXPECT_EQ(takeAll(port), reply);
}

TEST_F(QtSerialPortTest, FlushInputDiscardsTheBytesWaiting)
{
    ASSERT_EQ(port.open(), std::nullopt);
    terminal.write("abc");
    ASSERT_TRUE(waitUntil([&] { return port.bytesWaiting() == 3; }));

    port.flushInput();

    EXPECT_EQ(port.bytesWaiting(), 0u);
    EXPECT_EQ(port.takeByte(), std::nullopt);
    terminal.write("d");
    ASSERT_TRUE(waitUntil([&] { return port.bytesWaiting() == 1; }));
    EXPECT_EQ(port.takeByte(), 'd');
}

TEST_F(QtSerialPortTest, ReportsOnceFromTheEventLoopWhenEverythingSentHasLeft)
{
    ASSERT_EQ(port.open(), std::nullopt);
    const std::string burst = std::string(128, '\0') + "E";

    port.send(burst);
    port.notifyWhenSent();

    EXPECT_EQ(listener.sentReports, 0);
    ASSERT_TRUE(waitUntil([&] { return listener.sentReports == 1; }));
    EXPECT_EQ(terminal.read(burst.size()), burst);
    runEventsFor(50ms);
    EXPECT_EQ(listener.sentReports, 1);
}

TEST_F(QtSerialPortTest, WaitsForBytesQueuedBehindAFullDriverBeforeReportingThemSent)
{
    ASSERT_EQ(port.open(), std::nullopt);
    // Far more than the terminal holds: the rest waits in the port's own queue until the other side reads.
    const std::string bulk(200'000, 'x');
    port.send(bulk);
    port.send("E");
    port.notifyWhenSent();

    runEventsFor(100ms);
    EXPECT_EQ(listener.sentReports, 0);
    EXPECT_GT(port.bytesToSend(), 0u);
    std::string arrived;
    ASSERT_TRUE(waitUntil(
        [&] {
            arrived += terminal.read(65536, 20ms);
            return listener.sentReports == 1;
        },
        10s));
    arrived += terminal.read(bulk.size() + 1 - arrived.size());
    EXPECT_EQ(arrived.size(), bulk.size() + 1);
    EXPECT_EQ(arrived.back(), 'E');
}

TEST_F(QtSerialPortTest, OtherSideGoingAwayClosesThePortAndReportsOneFailure)
{
    ASSERT_EQ(port.open(), std::nullopt);

    terminal.closeMaster();

    ASSERT_TRUE(waitUntil([&] { return !listener.failures.empty(); }));
    runEventsFor(200ms);
    ASSERT_EQ(listener.failures.size(), 1u);
    EXPECT_EQ(listener.failures[0].number, link::port_error::kErrorReading);
    EXPECT_FALSE(port.isOpen());
    port.send("E");
    EXPECT_EQ(port.bytesWaiting(), 0u);
    EXPECT_EQ(listener.notifications, 0);
}

TEST_F(QtSerialPortTest, ReopensAfterClose)
{
    ASSERT_EQ(port.open(), std::nullopt);
    port.close();
    EXPECT_FALSE(port.isOpen());

    ASSERT_EQ(port.open(), std::nullopt);

    port.send("U");
    EXPECT_EQ(terminal.read(1), "U");
    terminal.write("x");
    ASSERT_TRUE(waitUntil([&] { return port.bytesWaiting() == 1; }));
}

TEST_F(QtSerialPortTest, DeviceHeldByAnotherPortGives8005AndLeavesTheHolderWorking)
{
    ASSERT_EQ(port.open(), std::nullopt);
    QtSerialPort second;
    second.setCommPort(1);

    const std::optional<PortError> failure = second.open();

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, link::port_error::kPortAlreadyOpen);
    EXPECT_NE(failure->reason.find("locked by another program"), std::string::npos) << failure->reason;
    EXPECT_FALSE(second.isOpen());
    port.send("E");
    EXPECT_EQ(terminal.read(1), "E");
}

TEST_F(QtSerialPortTest, DeviceHeldThroughAnotherPathGives8005AndLeavesTheHolderWorking)
{
    const std::string link = ::testing::TempDir() + "qm-other-path-" + std::to_string(::getpid());
    std::filesystem::remove(link);
    std::filesystem::create_symlink(terminal.slavePath(), link);
    struct Row
    {
        std::string first;
        std::string second;
    };
    for (const auto& row : {Row{terminal.slavePath(), link}, Row{link, terminal.slavePath()}}) {
        SCOPED_TRACE(row.first + " then " + row.second);
        QtSerialPort holder([&row](int) { return row.first; });
        ASSERT_EQ(holder.open(), std::nullopt);
        QtSerialPort second([&row](int) { return row.second; });

        const std::optional<PortError> failure = second.open();

        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->number, link::port_error::kPortAlreadyOpen) << failure->reason;
        EXPECT_FALSE(second.isOpen());
        holder.send("U");
        EXPECT_EQ(terminal.read(1), "U");
        holder.close();
        ASSERT_EQ(second.open(), std::nullopt);
    }
    std::filesystem::remove(link);
}

PortError openAsAnotherUser(const std::string& path)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(1);
        QtSerialPort port([&](int) { return path; });
        const std::optional<PortError> failure = port.open();
        // Number, reason, device, group and the permission mark, apart by unit separators.
        const std::string message = failure ? std::to_string(failure->number) + " " + failure->reason + "\x1f" +
                                                  failure->device + "\x1f" + failure->deviceGroup + "\x1f" +
                                                  (failure->permissionDenied ? "denied" : "")
                                            : "opened";
        const bool sent = ::write(channel[1], message.data(), message.size()) == static_cast<ssize_t>(message.size());
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    std::string message;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::size_t space = message.find(' ');
    if (space == std::string::npos)
        return PortError{0, message};
    std::vector<std::string> fields;
    std::size_t from = space + 1;
    for (std::size_t end; (end = message.find('\x1f', from)) != std::string::npos; from = end + 1)
        fields.push_back(message.substr(from, end - from));
    fields.push_back(message.substr(from));
    fields.resize(4);
    PortError error{std::stoi(message.substr(0, space)), fields[0]};
    error.device = fields[1];
    error.deviceGroup = fields[2];
    error.permissionDenied = fields[3] == "denied";
    return error;
}

TEST_F(QtSerialPortTest, DeviceWithoutPermissionGives8010WithTheGroupToJoin)
{
    if (::geteuid() == 0) {
        const group* dialout = ::getgrnam("dialout");
        if (dialout == nullptr)
            GTEST_SKIP() << "no group dialout on this machine";
        ASSERT_EQ(::chown(terminal.slavePath().c_str(), 0, dialout->gr_gid), 0);
        ASSERT_EQ(::chmod(terminal.slavePath().c_str(), 0660), 0);

        EXPECT_EQ(openAsAnotherUser(terminal.slavePath()),
                  PortError::permissionRefused("Permission denied", terminal.slavePath(), "dialout"));
    } else {
        ASSERT_EQ(::chmod(terminal.slavePath().c_str(), 0), 0);

        const PortError failure = openAsAnotherUser(terminal.slavePath());

        EXPECT_EQ(failure.number, 8010);
        EXPECT_TRUE(failure.permissionDenied);
        EXPECT_EQ(failure.device, terminal.slavePath());
        EXPECT_EQ(failure.reason, "Permission denied");
    }
}

struct OpenFailureCase
{
    const char* name;
    std::string path;
    int number;
    std::string reasonPart;
};

class QtSerialPortOpenFailureTest : public ::testing::TestWithParam<OpenFailureCase>
{};

TEST_P(QtSerialPortOpenFailureTest, MapsTheFailureToItsPortError)
{
    qttest::ensureApplication();
    const OpenFailureCase& data = GetParam();
    QtSerialPort port([&](int) { return data.path; });
    port.setCommPort(3);

    const std::optional<PortError> failure = port.open();

    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->number, data.number);
    EXPECT_NE(failure->reason.find(data.reasonPart), std::string::npos) << failure->reason;
    EXPECT_FALSE(port.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Devices, QtSerialPortOpenFailureTest,
    ::testing::Values(OpenFailureCase{"NoDevice", "", 8002,
                                      "The port does not exist: no serial device was found "
                                      "for COM3 (QUELLMARK_COM3 can name one)."},
                      OpenFailureCase{"MissingDevice", "/dev/qm-no-such-tty", 8002, "No such file or directory"},
                      OpenFailureCase{"NotATerminal", "/dev/null", 8006, "Inappropriate ioctl for device"},
                      OpenFailureCase{"Folder", std::filesystem::temp_directory_path().string(), EISDIR,
                                      "Is a directory"}),
    [](const ::testing::TestParamInfo<OpenFailureCase>& param) { return std::string(param.param.name); });

struct MappingCase
{
    const char* name;
    OpenFailure failure;
    PortError expected;
};

class PortErrorMappingTest : public ::testing::TestWithParam<MappingCase>
{};

TEST_P(PortErrorMappingTest, MapsTheOpenFailure)
{
    EXPECT_EQ(portErrorFor(GetParam().failure, "/dev/ttyUSB0"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PortErrorMappingTest,
    ::testing::Values(
        MappingCase{"PermissionDeniedRootGroup",
                    {QSerialPort::PermissionError, EACCES, "Permission denied", true, "root", "", 0},
                    PortError::permissionRefused("Permission denied", "/dev/ttyUSB0", "root")},
        MappingCase{"PermissionDeniedDialout",
                    {QSerialPort::PermissionError, EACCES, "Permission denied", true, "dialout", "", 0},
                    PortError::permissionRefused("Permission denied", "/dev/ttyUSB0", "dialout")},
        MappingCase{"Busy",
                    {QSerialPort::PermissionError, EBUSY, "Device or resource busy", false, "dialout", "", 0},
                    {8005, "Device or resource busy"}},
        MappingCase{"Locked",
                    {QSerialPort::PermissionError, 0, "Permission error while locking the device", false, "dialout",
                     "/run/lock/LCK..ttyUSB0", 4242},
                    {8005, "The device is locked by another program (process 4242, lock file "
                           "/run/lock/LCK..ttyUSB0)."}},
        MappingCase{"WouldBlock",
                    {QSerialPort::ResourceError, EAGAIN, "Resource temporarily unavailable", false, "", "", 0},
                    {8019, "Resource temporarily unavailable"}},
        MappingCase{"Unmapped",
                    {QSerialPort::UnknownError, EROFS, "Read-only file system", false, "", "", 0},
                    {EROFS, "Read-only file system"}},
        MappingCase{"UnmappedWithoutNumber",
                    {QSerialPort::UnknownError, 0, "Unknown error", false, "", "", 0},
                    {8012, "Unknown error"}}),
    [](const ::testing::TestParamInfo<MappingCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace qm::qt
