// The printed NMEA and Tracking profile tables: every line's texts at their columns, and the document's order;
// the summary's reading of a stored Tracking symbol.
#include "reports/ProfileReport.h"
#include "fakes/RecordingPrinter.h"
#include "forms/WindowDefaults.h"
#include "reports/ConfigurationSummary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace qm::reports
{
namespace
{

using fakes::RecordingPrinter;

const PrinterFont kFont{"Courier New", 12, true, false, true, false};

// Each line as "x:text" pieces (x in thousandths of an inch, "_" before an underlined piece), joined by "|".
std::vector<std::string> page(const RecordingPrinter& printer)
{
    std::vector<std::string> lines;
    for (const auto& line : printer.lines) {
        std::string text;
        for (const auto& piece : line)
            text += (text.empty() ? "" : "|") + std::string(piece.underline ? "_" : "") +
                    std::to_string(std::lround(piece.x * 1000)) + ":" + piece.text;
        lines.push_back(text);
    }
    return lines;
}

forms::Windows reportWindows()
{
    forms::Windows w;
    for (forms::Mode mode : {forms::Mode::Nmea, forms::Mode::Tracking}) {
        forms::StationControls& station = w.station(mode);
        forms::ProfileStore& store = mode == forms::Mode::Nmea ? w.nmea.store : w.tracking.store;
        station.MyCall.setText(" k1abc");
        station.ToCall.setText(" aprs ");
        station.SpecPath[0].setText("wide5-5");
        station.SpecPath[3].setText(" x ");
        for (int profile = 4; profile <= forms::kProfileCount; ++profile)
            store.entry(profile) = {"", {"0", "0", "0", "0"}, "", "1", "0", "0", "0"};
        store.entry(1) = {"9", {"3", "2", "5", "0"}, "\xBE", "10", "30", "0", "0"};
        store.entry(2) = {"0", {"0", "4", "0", "0"}, "", "2", "5", "3", "2"};
        store.entry(3) = {"", {"1", "0", "0", "8"}, std::string(1, '\0'), "0", "45", "1", "1"};
        store.entry(4).Symbol = "/";
        store.entry(10).SSID = "15";
    }
    // The Tracking table has no paths, so its path column keeps its least room, and one wide timer.
    for (int profile = 1; profile <= forms::kProfileCount; ++profile)
        w.tracking.store.entry(profile).Path = {"0", "0", "0", "0"};
    w.tracking.store.entry(5).TmrMin = "12345678";
    w.tracking.store.entry(5).TmrSec = "1234567";
    w.main.GpsString[0].setText("$GPRMC");
    w.main.GpsString[1].setText(" $GPGGA");
    w.nmea.NMEATxOn.setValue(forms::kCarriageReturn, true);
    w.tracking.TrkPrefix.setText("P");
    w.tracking.TrkSeparator.setText(",");
    w.tracking.TrkComments.setText("hello");
    w.main.LEDDisable.setValue(1);
    w.main.ModeLock.setValue(1);
    w.main.AutoMode.setValue(1);
    return w;
}

RecordingPrinter print(bool tracking, const forms::Windows& windows)
{
    RecordingPrinter printer;
    const ReportProgress progress = [&printer, tracking](int profile) {
        // Each row starts after its progress report: the settings, the header and the rows before it are done.
        EXPECT_EQ(printer.lines.size(), (tracking ? 13u : 12u) + static_cast<std::size_t>(profile) - 1);
        printer.calls.push_back("progress " + std::to_string(profile));
    };
    const ReportDate date{2026, 12, 5};
    EXPECT_TRUE(tracking ? printTrackingProfiles(printer, windows, date, kFont, progress)
                         : printNmeaProfiles(printer, windows, date, kFont, progress));
    return printer;
}

TEST(ProfileReportTest, NmeaReportPrintsEveryLineAtItsColumnsAndNamesTheTermination)
{
    const std::vector<std::string> expected{
        "0:",
        "0:NMEA Profiles for K1ABC (5 Dec 2026)",
        "0:",
        "0:To Call: |1750:APRS",
        "0:Data Header 1:|1750:$GPRMC",
        "0:Data Header 2:|1750: $GPGGA",
        "0:Data Header 3:|1750:",
        "0:Termination Character: Carriage Return",
        "0:Lights Off: |1750:Yes",
        "0:Mode Lock: |1750:Yes",
        "0:",
        "_0:Profile|_1000:   My Call   |_2425:Path|_4350:Timer (Min Sec)|_5975:TxDelay|6675:   |_6975:  Tail  ",
        "0:   1|1000:K1ABC-9|2425:Wide,Relay,WIDE5-5|4350:     10|5175:     30|5975:133ms     |6975:27ms",
        "0:   2|1000:K1ABC|2425:,Echo|4350:     2|5075:     5|5975:213ms     |6975:53ms",
        "0:   3|1000:K1ABC|2425:Gate,X|4350:     0|5075:     45|5975:160ms     |6975:40ms",
        "0:   4|1000:K1ABC|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
        "0:   5|1000:K1ABC|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
        "0:   6|1000:K1ABC|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
        "0:   7|1000:K1ABC|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
        "0:   8|1000:K1ABC|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
        "0:   9|1000:K1ABC|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
        "0: 10|1000:K1ABC-15|2425:|4350:     1|5075:     0|5975:133ms     |6975:27ms",
    };
    EXPECT_EQ(page(print(false, reportWindows())), expected);
    const std::tuple<int, std::string, std::string> cases[] = {{forms::kLineFeed, "13", "Line Feed"},
                                                               {forms::kUserDefined, " 9", "9 decimal"},
                                                               {forms::kUserDefined, "", "0 decimal"}};
    for (const auto& [option, userText, shown] : cases) {
        forms::Windows windows = reportWindows();
        windows.nmea.NMEATxOn.setValue(option, true);
        windows.nmea.NMEAUserTrigChar.setText(userText);
        EXPECT_EQ(page(print(false, windows)).at(7), "0:Termination Character: " + shown);
    }
}

TEST(ProfileReportTest, TrackingReportPrintsEveryLineAtItsColumns)
{
    const std::vector<std::string> expected{
        "0:",
        "0:Tracking Profiles for K1ABC (5 Dec 2026)",
        "0:",
        "0:To Call:   |1750:APRS",
        "0:Prefix:    |1750:P",
        "0:Separator: |1750:,",
        "0:Comments:  |1750:hello",
        "0:Lights Off: |1750:Yes",
        "0:Mic Encode: |1750:No",
        "0:Mode Lock: |1750:Yes",
        "0:Auto Mode On: |1750:Yes",
        "0:",
        "_0:Profile|_1000:   My Call   |_2425:Path|_2800:Sym|_3225:Com|_3650:Timer (Min Sec)|_5400:TxDelay|6100:      "
        "|_6700: Tail ",
        "0:   1|1000:K1ABC-9|2425:|2800:  >|3225:  Y|3650:     10|4475:  30|5400:133ms|6025:27ms",
        "0:   2|1000:K1ABC|2425:|2800:   |3225:  N|3650:     2|4375:  5|5400:213ms|6025:53ms",
        "0:   3|1000:K1ABC|2425:|2800:   |3225:  N|3650:     0|4375:  45|5400:160ms|6025:40ms",
        "0:   4|1000:K1ABC|2425:|2800:  /|3225:  N|3650:     1|4375:  0|5400:133ms|6025:27ms",
        "0:   5|1000:K1ABC|2425:|2800:   |3225:  N|3650:     12345678|5075:  1234567|5400:133ms|6025:27ms",
        "0:   6|1000:K1ABC|2425:|2800:   |3225:  N|3650:     1|4375:  0|5400:133ms|6025:27ms",
        "0:   7|1000:K1ABC|2425:|2800:   |3225:  N|3650:     1|4375:  0|5400:133ms|6025:27ms",
        "0:   8|1000:K1ABC|2425:|2800:   |3225:  N|3650:     1|4375:  0|5400:133ms|6025:27ms",
        "0:   9|1000:K1ABC|2425:|2800:   |3225:  N|3650:     1|4375:  0|5400:133ms|6025:27ms",
        "0: 10|1000:K1ABC-15|2425:|2800:   |3225:  N|3650:     1|4375:  0|5400:133ms|6025:27ms",
    };
    const RecordingPrinter printer = print(true, reportWindows());
    EXPECT_EQ(page(printer), expected);
    EXPECT_EQ(printer.calls.at(0), "beginDocument");
    EXPECT_EQ(printer.calls.at(1), "font Courier New 12 1010");
    EXPECT_EQ(printer.calls.back(), "endDocument");
}

TEST(ProfileReportTest, APrinterThatFailsGetsNothingMoreAndDatesAreDayMonthYear)
{
    RecordingPrinter closed;
    closed.failOnBegin = true;
    EXPECT_FALSE(printTrackingProfiles(closed, reportWindows(), {}, kFont, nullptr));
    EXPECT_EQ(closed.calls, std::vector<std::string>{"beginDocument"});
    RecordingPrinter failing;
    failing.failOnEnd = true;
    EXPECT_FALSE(printNmeaProfiles(failing, reportWindows(), {}, kFont, nullptr));
    EXPECT_EQ(failing.lines.size(), 22u);
    EXPECT_EQ(formatReportDate({2027, 1, 31}), "31 Jan 2027");
    EXPECT_EQ(formatReportDate({2024, 2, 29}), "29 Feb 2024");
}

TEST(ConfigurationSummaryTest, SendCommentsIsTheTopBitOfTheStoredSymbolAlone)
{
    // The stored symbol character; the Symbol and Send Comments the summary shows for it.
    const std::tuple<std::string, std::string, std::string> rows[] = {
        {">", ">", "No"}, {"k", "k", "No"}, {"\xBE", ">", "Yes"}, {"\xEB", "k", "Yes"}, {"", "(none)", "No"}};
    for (const auto& [stored, symbol, sendComments] : rows) {
        forms::Windows windows = forms::startUpWindows(forms::WindowDefaults{});
        windows.tracking.store.entry(1).Symbol = stored;
        const ConfigurationSummary summary = summarizeConfiguration(windows, forms::Mode::Tracking);
        const std::vector<SummaryItem>& profile = summary.profiles.at(0);
        const auto valueOf = [&profile](const std::string& label) {
            for (const SummaryItem& item : profile)
                if (item.label == label)
                    return item.value;
            return std::string("(missing)");
        };
        EXPECT_EQ(valueOf("Symbol"), symbol) << stored;
        EXPECT_EQ(valueOf("Send Comments"), sendComments) << stored;
    }
}

} // namespace
} // namespace qm::reports
