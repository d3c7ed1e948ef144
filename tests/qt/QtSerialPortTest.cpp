// The serial-port adapter on a real pseudo-terminal through QSerialPort: what truly arrives on the other side.
#include "qt/QtSerialPort.h"

#include "qt/DeviceLocks.h"

#include "PseudoTerminal.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qm::qt
{
namespace
{

using namespace std::chrono_literals;
using link::PortError;

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

struct RecordingListener : link::SerialPortListener
{
    int notifications = 0;
    std::vector<PortError> failures;
    int sentReports = 0;
    void dataArrived() override { ++notifications; }
    void portFailed(const PortError& error) override { failures.push_back(error); }
    void allSent() override { ++sentReports; }
};

std::string allByteValues()
{
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), '\0');
    return bytes;
}

class QtSerialPortTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ensureApplication();
        ASSERT_TRUE(terminal.valid());
        std::filesystem::remove(link);
        std::filesystem::create_symlink(terminal.slavePath(), link);
        port.setListener(&listener);
        ASSERT_EQ(port.open(), std::nullopt);
    }
    void TearDown() override { std::filesystem::remove(link); }

    std::string takeAll()
    {
        std::string bytes;
        while (const std::optional<char> byte = port.takeByte())
            bytes.push_back(*byte);
        return bytes;
    }

    qttest::PseudoTerminal terminal;
    const std::string link = ::testing::TempDir() + "qm-unit-link-" + std::to_string(::getpid());
    RecordingListener listener;
    QtSerialPort port{[this](int) { return link; }};
};

TEST_F(QtSerialPortTest, OpensAt4800Baud8N1WithoutFlowControlAndCarriesEveryByteBothWays)
{
    termios settings{};
    ASSERT_EQ(::tcgetattr(terminal.slave(), &settings), 0);
    EXPECT_TRUE(::cfgetispeed(&settings) == B4800 && ::cfgetospeed(&settings) == B4800);
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);

    port.send(allByteValues());
    EXPECT_EQ(terminal.read(256), allByteValues());
    const std::string reply = "U\x02\x02" + allByteValues().substr(100, 128);
    terminal.write(reply);
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.bytesWaiting() == 131; }));
    EXPECT_GE(listener.notifications, 1);
    EXPECT_EQ(takeAll(), reply);

    terminal.write("abc");
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.bytesWaiting() == 3; }));
    port.flushInput();
    EXPECT_EQ(port.bytesWaiting(), 0u);
    terminal.write("d");
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.bytesWaiting() == 1; }));
    EXPECT_EQ(takeAll(), "d");
    EXPECT_TRUE(listener.failures.empty());
}

TEST_F(QtSerialPortTest, ReportsOnceWhenEverythingSentHasLeftEvenBehindAFullDriver)
{
    // Far more than the terminal holds: the rest waits in the port's own queue until the other side reads.
    for (const std::size_t size : {std::size_t{128}, std::size_t{200'000}}) {
        listener.sentReports = 0;
        port.send(std::string(size, 'x'));
        port.send("E");
        port.notifyWhenSent();
        EXPECT_EQ(listener.sentReports, 0);
        std::string arrived;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                arrived += terminal.read(65536, 20ms);
                return listener.sentReports == 1;
            },
            10000));
        arrived += terminal.read(size + 1 - arrived.size());
        EXPECT_EQ(arrived, std::string(size, 'x') + "E");
        QTest::qWait(50);
        EXPECT_EQ(listener.sentReports, 1);
    }
}

TEST_F(QtSerialPortTest, OtherSideGoingAwayClosesThePortAndReportsOneFailure)
{
    terminal.closeMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener.failures.empty(); }));
    QTest::qWait(200);
    ASSERT_EQ(listener.failures.size(), 1u);
    EXPECT_EQ(listener.failures[0].number, link::port_error::kErrorReading);
    EXPECT_FALSE(port.isOpen());
    port.send("E");
    QTest::qWait(50);
    EXPECT_EQ(listener.failures.size(), 1u);
    EXPECT_EQ(listener.notifications, 0);
}

TEST_F(QtSerialPortTest, ADeviceHeldThroughAnyPathGives8005AndLeavesTheHolderWorking)
{
    for (const std::string& path : {link, terminal.slavePath()}) {
        QtSerialPort second([&](int) { return path; });
        const std::optional<PortError> failure = second.open();
        ASSERT_TRUE(failure) << path;
        EXPECT_EQ(failure->number, link::port_error::kPortAlreadyOpen) << failure->reason;
        EXPECT_FALSE(second.isOpen());
        port.send("E");
        EXPECT_EQ(terminal.read(1), "E");
    }
    port.close();
    QtSerialPort second([&](int) { return terminal.slavePath(); });
    EXPECT_EQ(second.open(), std::nullopt);
}

TEST_F(QtSerialPortTest, AFloodingDeviceIsReadAndDiscardedBeyondTheReceiveLimit)
{
    std::size_t flooded = 0;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            flooded += terminal.writeSome(std::string(4096, 'x'));
            return flooded >= 200'000;
        },
        20000));
    // Everything sent has been read from the terminal once nothing waits at its end.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        int unread = -1;
        return ::ioctl(terminal.slave(), FIONREAD, &unread) == 0 && unread == 0;
    }));
    EXPECT_EQ(takeAll(), std::string(QtSerialPort::kReceiveLimit, 'x'));

    port.flushInput();
    const std::string reply = "U\x01\x02" + allByteValues().substr(0, 128);
    terminal.write(reply);
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.bytesWaiting() == reply.size(); }));
    EXPECT_EQ(takeAll(), reply);
    EXPECT_TRUE(listener.failures.empty());
}

TEST_F(QtSerialPortTest, TheExclusiveModeLastsWhileTheDeviceIsOpenAndGoesWithEveryClose)
{
    const auto exclusive = [&] {
        int mode = -1;
        return ::ioctl(terminal.slave(), TIOCGEXCL, &mode) == 0 ? mode : -1;
    };
    EXPECT_EQ(exclusive(), 1);
    port.close();
    EXPECT_EQ(exclusive(), 0);
    ASSERT_EQ(port.open(), std::nullopt);
    EXPECT_EQ(exclusive(), 1);
    QtSerialPort second([&](int) { return terminal.slavePath(); });
    EXPECT_TRUE(second.open());
    EXPECT_EQ(exclusive(), 1);
    port.close();
    EXPECT_EQ(exclusive(), 0);
}

TEST(QtSerialPortLockFileTest, OnlyALockFileOfTheDevicesUserNamingARunningProgramDeniesTheDevice)
{
    ensureApplication();
    qttest::PseudoTerminal terminal;
    ASSERT_TRUE(terminal.valid());
    const std::string lockFile = "/run/lock/" + lockFileName(terminal.slavePath());
    ASSERT_EQ(lockFileName(terminal.slavePath()).substr(0, 9), "LCK..pts_");
    // The lock's owner (another user: only root can plant that), the process it names, and whether it denies.
    const std::tuple<uid_t, std::string, bool> cases[] = {
        {::getuid(), std::to_string(::getpid()) + "\n", true},
        {::getuid(), "      1\n", true},
        {::getuid(), "999999999\n", false},
        {::getuid(), "quellmark\n", false},
        {65534, "1\n", false},
    };
    for (const auto& [owner, text, denies] : cases) {
        if (owner != ::getuid() && ::getuid() != 0)
            continue;
        {
            std::ofstream(lockFile, std::ios::binary | std::ios::trunc) << text;
        }
        ASSERT_EQ(::chown(lockFile.c_str(), owner, static_cast<gid_t>(-1)), 0);
        QtSerialPort port([&](int) { return terminal.slavePath(); });
        const std::optional<PortError> failure = port.open();
        std::filesystem::remove(lockFile);
        if (denies) {
            ASSERT_TRUE(failure) << text;
            EXPECT_EQ(failure->number, link::port_error::kPortAlreadyOpen);
            EXPECT_NE(failure->reason.find("lock/" + lockFileName(terminal.slavePath()) + ")"), std::string::npos)
                << failure->reason;
        } else {
            EXPECT_EQ(failure, std::nullopt) << text << failure.value_or(PortError{}).reason;
        }
    }
}

TEST(DeviceLocksTest, AFlockOnAFileIsSeenInTheSystemsListUntilItIsReleased)
{
    const std::string path = ::testing::TempDir() + "qm-flock-" + std::to_string(::getpid());
    std::ofstream(path) << "x";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    struct stat info = {};
    ASSERT_EQ(::fstat(fd, &info), 0);
    // Locked, shared (another kind of lock), released.
    const std::tuple<int, bool> cases[] = {{LOCK_EX, true}, {LOCK_SH, true}, {LOCK_UN, false}};
    for (const auto& [operation, held] : cases) {
        ASSERT_EQ(::flock(fd, operation), 0);
        EXPECT_EQ(flockHeldOn(info.st_dev, info.st_ino), held) << operation;
        EXPECT_EQ(flockHeldOn(info.st_dev, info.st_ino + 1), false);
    }
    ::close(fd);
    std::filesystem::remove(path);
}

TEST(QtSerialPortFailureTest, OpenFailuresMapToTheirPortErrors)
{
    ensureApplication();
    const std::tuple<std::string, int, std::string> devices[] = {
        {"", 8002, "The port does not exist: no serial device was found for COM3 (QUELLMARK_COM3 can name one)."},
        {"/dev/null", 8006, "Inappropriate ioctl for device"},
    };
    for (const auto& [path, number, reason] : devices) {
        QtSerialPort port([&](int) { return path; });
        port.setCommPort(3);
        const std::optional<PortError> failure = port.open();
        ASSERT_TRUE(failure) << path;
        EXPECT_EQ(failure->number, number) << path;
        EXPECT_NE(failure->reason.find(reason), std::string::npos) << failure->reason;
        EXPECT_FALSE(port.isOpen());
    }
    const std::pair<OpenFailure, PortError> mapped[] = {
        {{EACCES, "Permission denied", true, "dialout", "", 0, false, false},
         PortError::permissionRefused("Permission denied", "/dev/ttyUSB0", "dialout")},
        {{0, "", false, "dialout", "/run/lock/LCK..ttyUSB0", 4242, false, false},
         {8005, "The device is locked by another program (process 4242, lock file /run/lock/LCK..ttyUSB0)."}},
        {{EAGAIN, "Resource temporarily unavailable", false, "", "", 0, false, false},
         {8019, "Resource temporarily unavailable"}},
        {{ENOENT, "No such file or directory", false, "", "", 0, false, false}, {8002, "No such file or directory"}},
        {{EBUSY, "Device or resource busy", false, "", "", 0, false, false}, {8005, "Device or resource busy"}},
        {{EIO, "Input/output error", false, "", "", 0, false, false}, {EIO, "Input/output error"}},
        {{0, "Unknown error", false, "", "", 0, false, false}, {8012, "Unknown error"}},
    };
    for (const auto& [failure, expected] : mapped)
        EXPECT_EQ(portErrorFor(failure, "/dev/ttyUSB0"), expected) << expected.reason;
}

} // namespace
} // namespace qm::qt
