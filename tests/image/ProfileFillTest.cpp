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

TEST(NmeaFillTest, TerminationIsReadFromProfileOneOnly)
{
    const std::pair<int, int> cases[] = {{3, forms::kUserDefined}, {0, forms::kUserDefined}, {10, forms::kLineFeed}};
    for (const auto& [code, option] : cases) {
        SCOPED_TRACE(code);
        forms::Windows windows = readyWindows();
        windows.nmea.NMEAUserTrigChar.setText("9");
        ImageFields fields = tenProfileFields(0x02);
        fields.profileByte(1, 5) = static_cast<std::uint8_t>(code);
        fields.profileByte(2, 5) = 13;
        fillNmeaWindow(windows, fields);
        EXPECT_EQ(windows.nmea.NMEATxOn.selected(), option);
        EXPECT_EQ(windows.nmea.NMEAUserTrigChar.text(), option == forms::kUserDefined ? std::to_string(code) : "9");
        EXPECT_EQ(windows.main.GpsString[1].text(), "$GPGG");
    }
}

TEST(ProfileFillTest, DeltaBoxFollowsBitSixOnlyForAnImageOfItsMode)
{
    const std::array<int, 3> cases[] = {{0x42, 1, 1}, {0x02, 0, 1}, {0x43, 1, 1}, {0x03, 1, 0}};
    for (const auto& [modeByte, nmeaDelta, trackingDelta] : cases) {
        SCOPED_TRACE(modeByte);
        forms::Windows windows = readyWindows();
        windows.nmea.NMEADeltaEnable.setValue(1);
        windows.tracking.TrkDeltaEnable.setValue(1);
        fillNmeaWindow(windows, tenProfileFields(modeByte));
        fillTrackingWindow(windows, tenProfileFields(modeByte));
        EXPECT_EQ(windows.nmea.NMEADeltaEnable.value(), nmeaDelta);
        EXPECT_EQ(windows.tracking.TrkDeltaEnable.value(), trackingDelta);
    }
}

struct TabCase
{
    int selectedTab;
    int profileIndexByte;
    int shownTab;
};

const TabCase kTabCases[] = {{5, 0, 0}, {0, 0, 0}, {0, 3, 3}, {4, 12, 0}, {3, 0xFF, 0}, {9, 9, 9}, {2, 10, 0}};

TEST(ProfileFillTest, ShowsTheProfileOfTheIndexByteWithoutSavingTheOldWindow)
{
    for (const forms::Mode mode : {forms::Mode::Nmea, forms::Mode::Tracking}) {
        const bool nmea = mode == forms::Mode::Nmea;
        for (const auto& c : kTabCases) {
            SCOPED_TRACE(std::to_string(forms::codeOfMode(mode)) + " " + std::to_string(c.selectedTab) + " " +
                         std::to_string(c.profileIndexByte));
            forms::Windows windows = readyWindows();
            nmea ? forms::selectNmeaProfileTab(windows, c.selectedTab)
                 : forms::selectTrackingProfileTab(windows, c.selectedTab);
            forms::StationControls& station = windows.station(mode);
            station.SSID.setText("14");
            station.TmrMin.setText("55");
            windows.tracking.TrkSymbol.setText("Z");
            ImageFields fields = tenProfileFields(nmea ? 0x02 : 0x03);
            fields.profileIndexByte = static_cast<std::uint8_t>(c.profileIndexByte);
            fillMode(mode, windows, fields);
            const int shown = c.shownTab + 1;
            const forms::ProfileStore& store = nmea ? windows.nmea.store : windows.tracking.store;
            EXPECT_EQ((nmea ? windows.nmea.NMEAProfile : windows.tracking.TrkProfile).selectedIndex(), c.shownTab);
            EXPECT_EQ(station.SSID.text(), std::to_string(shown));
            EXPECT_EQ(station.TmrMin.text(), std::to_string(61 * shown / 60));
            EXPECT_EQ(station.TxDelay.listIndex(), shown);
            if (!nmea) {
                EXPECT_EQ(windows.tracking.TrkSymbol.text(),
                          shown == 1 ? "\r" : std::string(1, static_cast<char>(0x40 + shown)));
            }
            EXPECT_EQ(store.entry(c.selectedTab + 1).SSID, std::to_string(c.selectedTab + 1));
            EXPECT_FALSE(windows.profiles.skipProfileSave);
        }
    }
}

TEST(TrackingFillTest, PrefixSeparatorAndCommentEndAtTheirFirstZeroByte)
{
    forms::Windows windows = readyWindows();
    windows.tracking.TrkSeparator.setText("/");
    fillTrackingWindow(windows, tenProfileFields(0x03));
    EXPECT_EQ(windows.tracking.TrkPrefix.text(), "!");
    EXPECT_EQ(windows.tracking.TrkSeparator.text(), "");
    EXPECT_EQ(windows.tracking.TrkComments.text(), "ABC");

    ImageFields fields = tenProfileFields(0x03);
    fields.comment = std::string(21, 'c');
    fillTrackingWindow(windows, fields);
    EXPECT_EQ(windows.tracking.TrkComments.text(), std::string(21, 'c'));
}

TEST(TrackingFillTest, UnknownPathCodesAreStoredAsNoSelection)
{
    forms::Windows windows = readyWindows();
    ImageFields fields = tenProfileFields(0x03);
    fields.profileByte(1, 1) = 0xB5;
    fields.profileByte(1, 2) = 0xFE;
    fillTrackingWindow(windows, fields);
    const forms::ProfileEntry& entry = windows.tracking.store.entry(1);
    EXPECT_EQ(entry.Path, (std::array<std::string, 4>{"-1", "-1", "7", "8"}));
    EXPECT_EQ(windows.tracking.station.Path[0].listIndex(), -1);
    EXPECT_EQ(windows.tracking.station.Path[3].listIndex(), 8);
}

} // namespace
} // namespace qm::image
