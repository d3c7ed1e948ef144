// Tests of the NMEA and Tracking compiles, which take their ten profiles from the profile stores.
#include "image/Compile.h"

#include "forms/ProfileEditing.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <string>

namespace qm::image
{
namespace
{

std::size_t profileStart(int profile)
{
    return 46 + 6 * static_cast<std::size_t>(profile - 1);
}

std::string compiled(forms::Mode mode, forms::Windows& windows)
{
    ImageFields fields;
    const CompileResult result = compileMode(mode, windows, fields);
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.downloadImage.size(), kDownloadSize);
    return result.downloadImage;
}

forms::ProfileEntry clearedEntry(std::string symbol)
{
    forms::ProfileEntry entry;
    entry.Path = {"0", "0", "0", "0"};
    entry.Symbol = std::move(symbol);
    entry.TmrMin = "0";
    entry.TmrSec = "0";
    entry.TxDelay = "6";
    entry.TxTail = "2";
    return entry;
}

TEST(NmeaCompileTest, EachProfileComesFromItsStoreEntry)
{
    forms::Windows windows = readyWindows();
    forms::ProfileStore& store = windows.nmea.store;
    for (int k = 1; k <= forms::kProfileCount; ++k)
        store.entry(k) = clearedEntry("");
    store.entry(4) = {"5", {"1", "2", "0", "0"}, "", "1", "30", "3", "4"};
    store.entry(10) = {"15", {"5", "6", "7", "8"}, "", "68", "0", "15", "0"};
    store.entry(7) = {"", {"9", "-1", "2.5", "abc"}, "", "", "00", "", "-1"};
    windows.nmea.NMEATxOn.setValue(forms::kCarriageReturn, true);

    const std::string stream = compiled(forms::Mode::Nmea, windows);
    EXPECT_EQ(stream.substr(profileStart(4), 6), bytes({0x21, 0x00, 0x50, 0x5A, 0x0D, 0x34}));
    EXPECT_EQ(stream.substr(profileStart(10), 6), bytes({0xDC, 0xFE, 0xFF, 0xF0, 0x0D, 0xF0}));
    EXPECT_EQ(stream.substr(profileStart(7), 6), bytes({0x00, 0x02, 0x00, 0x00, 0x0D, 0x00}));
    EXPECT_EQ(stream.substr(profileStart(1), 6), bytes({0x00, 0x00, 0x00, 0x00, 0x0D, 0x62}));
    EXPECT_EQ(store.entry(7).TmrMin, "0");
    EXPECT_EQ(store.entry(7).TmrSec, "0");
    EXPECT_EQ(store.entry(4).TmrMin, "1");
}

TEST(NmeaCompileTest, StoredNumbersAreRoundedHalfToEven)
{
    struct Case
    {
        std::string ssid, minutes, seconds;
        int byte3, byte4;
    };
    const Case cases[] = {
        {"7.5", "0", "2.5", 0x80, 0x02}, {"8.5", "0", "1.5", 0x80, 0x02},  {"0.5", "0.025", "0", 0x00, 0x02},
        {"", "", "0.5", 0x00, 0x00},     {"1 5", "4.25", "0", 0xF0, 0xFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ssid + " " + c.minutes + ":" + c.seconds);
        forms::Windows windows = readyWindows();
        forms::ProfileEntry& entry = windows.nmea.store.entry(9);
        entry.SSID = c.ssid;
        entry.TmrMin = c.minutes;
        entry.TmrSec = c.seconds;
        const std::string stream = compiled(forms::Mode::Nmea, windows);
        EXPECT_EQ(at(stream, profileStart(9) + 2), c.byte3);
        EXPECT_EQ(at(stream, profileStart(9) + 3), c.byte4);
    }
}

TEST(NmeaCompileTest, TheShownProfileFieldsAreNotRead)
{
    forms::Windows windows = readyWindows();
    forms::StationControls& station = windows.nmea.station;
    station.SSID.setText("7");
    station.Path[0].setListIndex(2);
    station.TmrMin.setText("5");
    station.TxDelay.setListIndex(9);
    const std::string stream = compiled(forms::Mode::Nmea, windows);
    EXPECT_EQ(stream.substr(profileStart(1), 6), std::string(6, '\0'));
    EXPECT_EQ(station.TmrMin.text(), "5");
}

TEST(NmeaCompileTest, TerminationCharacterGoesIntoEveryProfile)
{
    const std::pair<int, int> cases[] = {
        {-1, 0x00}, {forms::kCarriageReturn, 0x0D}, {forms::kLineFeed, 0x0A}, {forms::kUserDefined, 0x03}};
    for (const auto& [option, code] : cases) {
        SCOPED_TRACE(option);
        forms::Windows windows = readyWindows();
        if (option >= 0)
            windows.nmea.NMEATxOn.setValue(option, true);
        windows.nmea.NMEAUserTrigChar.setText("3");
        const std::string stream = compiled(forms::Mode::Nmea, windows);
        for (int k = 1; k <= forms::kProfileCount; ++k)
            EXPECT_EQ(at(stream, profileStart(k) + 4), code) << "profile " << k;
    }
}

TEST(NmeaCompileTest, DataHeadersAreTakenAsTypedAndPaddedToSevenBytes)
{
    forms::Windows windows = readyWindows();
    windows.main.GpsString[0].setListIndex(0);
    windows.main.GpsString[1].setText(" $gp");
    const std::string stream = compiled(forms::Mode::Nmea, windows);
    EXPECT_EQ(stream.substr(106, 7), std::string("$GPRMC\0", 7));
    EXPECT_EQ(stream.substr(113, 7), std::string(" $gp\0\0\0", 7));
    EXPECT_EQ(stream.substr(120, 7), std::string(7, '\0'));
    EXPECT_EQ(stream.substr(127), std::string(2, '\0'));

    windows.main.GpsString[0].setText("$GP");
    EXPECT_EQ(compiled(forms::Mode::Nmea, windows).substr(106, 7), std::string("$GP\0\0\0\0", 7));
}

TEST(TrackingCompileTest, ClearedWindowCompilesToTheDefaultProfiles)
{
    forms::Windows windows = readyWindows();
    for (int k = 1; k <= forms::kProfileCount; ++k)
        windows.tracking.store.entry(k) = clearedEntry(">");
    windows.tracking.TrkPrefix.setText("!");
    windows.tracking.TrkSeparator.setText("/");
    const std::string stream = compiled(forms::Mode::Tracking, windows);
    for (int k = 1; k <= forms::kProfileCount; ++k)
        EXPECT_EQ(stream.substr(profileStart(k), 6), bytes({0x00, 0x00, 0x00, 0x00, 0x3E, 0x62})) << "profile " << k;
    EXPECT_EQ(stream.substr(106), "!/" + std::string(21, '\0'));
}

TEST(TrackingCompileTest, SymbolByteIsTheStoredCharacterUnlessEmptyOrASpace)
{
    const std::pair<std::string, int> cases[] = {
        {">", 0x3E},
        {forms::symbolEntry("/", true), 0xAF},
        {forms::symbolEntry("", true), 0x80},
        {forms::symbolEntry(" ", false), 0x00},
        {forms::symbolEntry(" ", true), 0xA0},
        {"", 0x00},
        {" ", 0x00},
        {std::string(1, '\0'), 0x00},
        {"\xFF", 0xFF},
    };
    for (const auto& [symbol, byte] : cases) {
        SCOPED_TRACE(byte);
        forms::Windows windows = readyWindows();
        windows.tracking.store.entry(6).Symbol = symbol;
        EXPECT_EQ(at(compiled(forms::Mode::Tracking, windows), profileStart(6) + 4), byte);
    }
}

TEST(TrackingCompileTest, PrefixSeparatorAndCommentFillTheTail)
{
    struct Case
    {
        std::string prefix, separator, comment, tail;
    };
    const Case cases[] = {
        {"!", "/", "ABC", "!/ABC" + std::string(18, '\0')},
        {"", "", "", std::string(23, '\0')},
        {"=", "", std::string(21, 'c'), std::string("=\0", 2) + std::string(21, 'c')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comment);
        forms::Windows windows = readyWindows();
        windows.tracking.TrkPrefix.setText(c.prefix);
        windows.tracking.TrkSeparator.setText(c.separator);
        windows.tracking.TrkComments.setText(c.comment);
        EXPECT_EQ(compiled(forms::Mode::Tracking, windows).substr(106), c.tail);
    }
}

TEST(TrackingCompileTest, StoredNoSelectionCompilesAsTheFirstEntryAtEitherBaudRate)
{
    for (bool baud300 : {false, true}) {
        SCOPED_TRACE(baud300);
        forms::Windows windows = readyWindows();
        setOutputBaud(windows, baud300);
        windows.tracking.store.entry(3).TxDelay = "-1";
        windows.tracking.store.entry(3).TxTail = "-1";
        windows.tracking.store.entry(4).TxDelay = "0";
        windows.tracking.store.entry(4).TxTail = "14";
        const std::string stream = compiled(forms::Mode::Tracking, windows);
        EXPECT_EQ(at(stream, profileStart(3) + 5), 0x00);
        EXPECT_EQ(at(stream, profileStart(4) + 5), baud300 ? 0x1F : 0x0E);
    }
}

} // namespace
} // namespace qm::image
