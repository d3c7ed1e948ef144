// Tests of the NMEA and Tracking window fills: the ten store entries, the shared fields and the profile shown.
#include "image/Decode.h"

#include "forms/ProfileEditing.h"
#include "image/Encoding.h"

#include "ReadyWindows.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace qm::image
{
namespace
{

ImageFields tenProfileFields(int modeByte)
{
    ImageFields fields;
    fields.modeByte = static_cast<std::uint8_t>(modeByte);
    for (auto& path : fields.specialPath)
        path = encodeAddress("", std::nullopt);
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        const auto [high, low] = splitTimer(61 * k);
        fields.profileByte(k, 1) = static_cast<std::uint8_t>(k % 5);
        fields.profileByte(k, 3) = static_cast<std::uint8_t>((k << 4) | high);
        fields.profileByte(k, 4) = low;
        fields.profileByte(k, 5) = static_cast<std::uint8_t>(k == 1 ? 13 : 0x40 + k);
        fields.profileByte(k, 6) = static_cast<std::uint8_t>((k << 4) | 1);
    }
    fields.dataHeader = {padNul("$GPRMC", 7), padNul("  $GPGGA", 7).substr(0, 7), std::string(7, '\0')};
    fields.prefixByte = '!';
    fields.separatorByte = 0;
    fields.comment = padNul("ABC", 21);
    return fields;
}

TEST(NmeaFillTest, EveryProfileIsWrittenIntoTheStore)
{
    forms::Windows windows = readyWindows();
    UpdateEntireNMEAForm(windows, tenProfileFields(0x02));
    const forms::ProfileStore& store = windows.Form3.store;
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        SCOPED_TRACE(k);
        const forms::ProfileEntry& entry = store.entry(k);
        EXPECT_EQ(entry.SSID, std::to_string(k));
        EXPECT_EQ(entry.Path[0], std::to_string(k % 5));
        EXPECT_EQ(entry.Path[1], "0");
        EXPECT_EQ(entry.TmrMin, std::to_string(61 * k / 60));
        EXPECT_EQ(entry.TmrSec, std::to_string(61 * k % 60));
        EXPECT_EQ(entry.TxDelay, std::to_string(k));
        EXPECT_EQ(entry.TxTail, "1");
        EXPECT_EQ(entry.Symbol, "");
    }
    EXPECT_EQ(windows.Form3.NMEATxOn.selected(), forms::kCarriageReturn);
    EXPECT_EQ(windows.MDIForm1.GpsString[0].text(), "$GPRMC");
    EXPECT_EQ(windows.MDIForm1.GpsString[1].text(), "$GPGG");
    EXPECT_EQ(windows.MDIForm1.GpsString[2].text(), "");
}

TEST(NmeaFillTest, TerminationIsReadFromProfileOneOnly)
{
    const std::pair<int, int> cases[] = {{3, forms::kUserDefined}, {0, forms::kUserDefined}, {10, forms::kLineFeed}};
    for (const auto& [code, option] : cases) {
        SCOPED_TRACE(code);
        forms::Windows windows = readyWindows();
        windows.Form3.NMEAUserTrigChar.setText("9");
        ImageFields fields = tenProfileFields(0x02);
        fields.profileByte(1, 5) = static_cast<std::uint8_t>(code);
        fields.profileByte(2, 5) = 13;
        UpdateEntireNMEAForm(windows, fields);
        EXPECT_EQ(windows.Form3.NMEATxOn.selected(), option);
        EXPECT_EQ(windows.Form3.NMEAUserTrigChar.text(), option == forms::kUserDefined ? std::to_string(code) : "9");
    }
}

TEST(ProfileFillTest, DeltaBoxFollowsBitSixOnlyForAnImageOfItsMode)
{
    const std::array<int, 3> cases[] = {{0x42, 1, 1}, {0x02, 0, 1}, {0x43, 1, 1}, {0x03, 1, 0}};
    for (const auto& [modeByte, nmeaDelta, trackingDelta] : cases) {
        SCOPED_TRACE(modeByte);
        forms::Windows windows = readyWindows();
        windows.Form3.NMEADeltaEnable.setValue(1);
        windows.Form4.TrkDeltaEnable.setValue(1);
        UpdateEntireNMEAForm(windows, tenProfileFields(modeByte));
        UpDateEntireTrackingForm(windows, tenProfileFields(modeByte));
        EXPECT_EQ(windows.Form3.NMEADeltaEnable.value(), nmeaDelta);
        EXPECT_EQ(windows.Form4.TrkDeltaEnable.value(), trackingDelta);
    }
}

struct TabCase
{
    int selectedTab;
    int profileIndexByte;
    int shownTab;
};

const TabCase kTabCases[] = {{5, 0, 0}, {0, 0, 0}, {0, 3, 3}, {4, 12, 0}, {3, 0xFF, 0}, {9, 9, 9}, {2, 10, 0}};

TEST(NmeaFillTest, ShowsTheProfileOfTheIndexByteWithoutSavingTheOldWindow)
{
    for (const auto& c : kTabCases) {
        SCOPED_TRACE(std::to_string(c.selectedTab) + " " + std::to_string(c.profileIndexByte));
        forms::Windows windows = readyWindows();
        forms::selectNMEAProfileTab(windows, c.selectedTab);
        windows.Form3.station.SSID.setText("14");
        windows.Form3.station.TmrMin.setText("55");
        ImageFields fields = tenProfileFields(0x02);
        fields.profileIndexByte = static_cast<std::uint8_t>(c.profileIndexByte);
        UpdateEntireNMEAForm(windows, fields);
        const int shown = c.shownTab + 1;
        EXPECT_EQ(windows.Form3.NMEAProfile.selectedIndex(), c.shownTab);
        EXPECT_EQ(windows.Form3.station.SSID.text(), std::to_string(shown));
        EXPECT_EQ(windows.Form3.station.TmrMin.text(), std::to_string(61 * shown / 60));
        EXPECT_EQ(windows.Form3.station.TxDelay.listIndex(), shown);
        EXPECT_EQ(windows.Form3.store.entry(c.selectedTab + 1).SSID, std::to_string(c.selectedTab + 1));
        EXPECT_FALSE(windows.profiles.SkipProfileSave);
    }
}

TEST(TrackingFillTest, ShowsTheProfileOfTheIndexByteWithoutSavingTheOldWindow)
{
    for (const auto& c : kTabCases) {
        SCOPED_TRACE(std::to_string(c.selectedTab) + " " + std::to_string(c.profileIndexByte));
        forms::Windows windows = readyWindows();
        forms::selectTrkProfileTab(windows, c.selectedTab);
        windows.Form4.station.SSID.setText("14");
        windows.Form4.TrkSymbol.setText("Z");
        ImageFields fields = tenProfileFields(0x03);
        fields.profileIndexByte = static_cast<std::uint8_t>(c.profileIndexByte);
        UpDateEntireTrackingForm(windows, fields);
        const int shown = c.shownTab + 1;
        EXPECT_EQ(windows.Form4.TrkProfile.selectedIndex(), c.shownTab);
        EXPECT_EQ(windows.Form4.station.SSID.text(), std::to_string(shown));
        EXPECT_EQ(windows.Form4.TrkSymbol.text(), shown == 1 ? "\r" : std::string(1, static_cast<char>(0x40 + shown)));
        EXPECT_EQ(windows.Form4.store.entry(c.selectedTab + 1).SSID, std::to_string(c.selectedTab + 1));
        EXPECT_FALSE(windows.profiles.SkipProfileSave);
    }
}

TEST(TrackingFillTest, SymbolIsTheRawByteAndLoadsWithItsSendCommentsBit)
{
    const std::pair<int, std::pair<std::string, int>> cases[] = {
        {0xAF, {"/", 1}}, {0x3E, {">", 0}}, {0x80, {"", 1}}, {0x00, {"", 0}}, {0xA0, {" ", 1}},
    };
    for (const auto& [byte, shown] : cases) {
        SCOPED_TRACE(byte);
        forms::Windows windows = readyWindows();
        ImageFields fields = tenProfileFields(0x03);
        fields.profileByte(1, 5) = static_cast<std::uint8_t>(byte);
        UpDateEntireTrackingForm(windows, fields);
        EXPECT_EQ(windows.Form4.store.entry(1).Symbol, std::string(1, static_cast<char>(byte)));
        EXPECT_EQ(windows.Form4.TrkSymbol.text(), shown.first);
        EXPECT_EQ(windows.Form4.TrkSendComments.value(), shown.second);
    }
}

TEST(TrackingFillTest, PrefixSeparatorAndCommentEndAtTheirFirstZeroByte)
{
    forms::Windows windows = readyWindows();
    windows.Form4.TrkSeparator.setText("/");
    UpDateEntireTrackingForm(windows, tenProfileFields(0x03));
    EXPECT_EQ(windows.Form4.TrkPrefix.text(), "!");
    EXPECT_EQ(windows.Form4.TrkSeparator.text(), "");
    EXPECT_EQ(windows.Form4.TrkComments.text(), "ABC");

    ImageFields fields = tenProfileFields(0x03);
    fields.comment = std::string(21, 'c');
    UpDateEntireTrackingForm(windows, fields);
    EXPECT_EQ(windows.Form4.TrkComments.text(), std::string(21, 'c'));
}

TEST(TrackingFillTest, At300BaudAZeroNibbleStoresMinusOneAndLoadsTheFirstEntry)
{
    forms::Windows windows = readyWindows();
    setOutputBaud(windows, true);
    ImageFields fields = tenProfileFields(0x23);
    fields.profileByte(1, 6) = 0x00;
    fields.profileByte(2, 6) = 0xFF;
    UpDateEntireTrackingForm(windows, fields);
    EXPECT_EQ(windows.Form4.store.entry(1).TxDelay, "-1");
    EXPECT_EQ(windows.Form4.store.entry(1).TxTail, "-1");
    EXPECT_EQ(windows.Form4.store.entry(2).TxDelay, "14");
    EXPECT_EQ(windows.Form4.station.TxDelay.listIndex(), 0);
    EXPECT_EQ(windows.Form4.station.TxTail.listIndex(), 0);
}

TEST(TrackingFillTest, UnknownPathCodesAreStoredAsNoSelection)
{
    forms::Windows windows = readyWindows();
    ImageFields fields = tenProfileFields(0x03);
    fields.profileByte(1, 1) = 0xB5;
    fields.profileByte(1, 2) = 0xFE;
    UpDateEntireTrackingForm(windows, fields);
    const forms::ProfileEntry& entry = windows.Form4.store.entry(1);
    EXPECT_EQ(entry.Path, (std::array<std::string, 4>{"-1", "-1", "7", "8"}));
    EXPECT_EQ(windows.Form4.station.Path[0].listIndex(), -1);
    EXPECT_EQ(windows.Form4.station.Path[3].listIndex(), 8);
}

} // namespace
} // namespace qm::image
