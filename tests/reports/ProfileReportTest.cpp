#include "reports/ProfileReport.h"
#include "fakes/RecordingPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm::reports
{
namespace
{

using fakes::RecordingPrinter;

struct Cell
{
    double x;
    std::string text;
};

struct ExpectedLine
{
    std::size_t line;
    std::vector<Cell> cells;
};

const PrinterFont kFont{"Courier New", 12, true, false, true, false};
const ReportDate kDate{2026, 12, 5};

void expectLines(const RecordingPrinter& printer, const std::vector<ExpectedLine>& expected)
{
    for (const ExpectedLine& want : expected) {
        SCOPED_TRACE("line " + std::to_string(want.line));
        ASSERT_LT(want.line, printer.lines.size());
        const auto& pieces = printer.lines[want.line];
        ASSERT_EQ(pieces.size(), want.cells.size()) << printer.lineText(want.line);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            EXPECT_EQ(pieces[i].text, want.cells[i].text);
            EXPECT_NEAR(pieces[i].x, want.cells[i].x, 1e-9) << pieces[i].text;
        }
    }
}

void setEntry(forms::ProfileEntry& entry, std::string ssid, std::array<std::string, 4> path, std::string min,
              std::string sec, std::string delay, std::string tail, std::string symbol = "")
{
    entry.SSID = std::move(ssid);
    entry.Path = std::move(path);
    entry.TmrMin = std::move(min);
    entry.TmrSec = std::move(sec);
    entry.TxDelay = std::move(delay);
    entry.TxTail = std::move(tail);
    entry.Symbol = std::move(symbol);
}

void fillStation(forms::StationControls& station, forms::ProfileStore& store)
{
    station.MyCall.setText(" k1abc");
    station.ToCall.setText(" aprs ");
    station.SpecPath[0].setText("wide5-5");
    station.SpecPath[3].setText(" x ");
    for (int profile = 1; profile <= forms::kProfileCount; ++profile)
        setEntry(store.entry(profile), "", {"0", "0", "0", "0"}, "1", "0", "0", "0");
    setEntry(store.entry(1), "9", {"3", "2", "5", "0"}, "10", "30", "0", "0");
    setEntry(store.entry(2), "0", {"0", "4", "0", "0"}, "2", "5", "3", "2");
    setEntry(store.entry(3), "", {"1", "0", "0", "8"}, "0", "45", "1", "1");
    store.entry(10).SSID = "15";
}

forms::Windows nmeaWindows()
{
    forms::Windows windows;
    fillStation(windows.nmea.station, windows.nmea.store);
    windows.main.GpsString[0].setText("$GPRMC");
    windows.main.GpsString[1].setText(" $GPGGA");
    windows.main.GpsString[2].setText("");
    windows.nmea.NMEATxOn.setValue(forms::kCarriageReturn, true);
    windows.main.LEDDisable.setValue(1);
    windows.main.MicEncode.setValue(1);
    return windows;
}

forms::Windows trackingWindows()
{
    forms::Windows windows;
    fillStation(windows.tracking.station, windows.tracking.store);
    auto& store = windows.tracking.store;
    store.entry(1).Symbol = std::string(1, static_cast<char>('>' | 0x80));
    store.entry(2).Symbol = "";
    store.entry(3).Symbol = std::string(1, '\0');
    store.entry(4).Symbol = "/";
    windows.tracking.TrkPrefix.setText("P");
    windows.tracking.TrkSeparator.setText(",");
    windows.tracking.TrkComments.setText("hello");
    windows.main.ModeLock.setValue(1);
    windows.main.AutoMode.setValue(1);
    return windows;
}

RecordingPrinter printNmea(const forms::Windows& windows)
{
    RecordingPrinter printer;
    printNmeaProfiles(printer, windows, kDate, kFont,
                      [&printer](int profile) { printer.calls.push_back("progress " + std::to_string(profile)); });
    return printer;
}

RecordingPrinter printTracking(const forms::Windows& windows)
{
    RecordingPrinter printer;
    printTrackingProfiles(printer, windows, kDate, kFont,
                          [&printer](int profile) { printer.calls.push_back("progress " + std::to_string(profile)); });
    return printer;
}

TEST(ProfileReportTest, NmeaReportPrintsTitleSettingsHeaderAndRowsAtTheirColumns)
{
    const RecordingPrinter printer = printNmea(nmeaWindows());
    ASSERT_EQ(printer.lines.size(), 22u);
    expectLines(printer, {
                             {0, {{0, ""}}},
                             {1, {{0, "NMEA Profiles for K1ABC (5 Dec 2026)"}}},
                             {2, {{0, ""}}},
                             {3, {{0, "To Call: "}, {1.75, "APRS"}}},
                             {4, {{0, "Data Header 1:"}, {1.75, "$GPRMC"}}},
                             {5, {{0, "Data Header 2:"}, {1.75, " $GPGGA"}}},
                             {6, {{0, "Data Header 3:"}, {1.75, ""}}},
                             {7, {{0, "Termination Character: Carriage Return"}}},
                             {8, {{0, "Lights Off: "}, {1.75, "Yes"}}},
                             {9, {{0, "Mode Lock: "}, {1.75, "No"}}},
                             {10, {{0, ""}}},
                             {11,
                              {{0, "Profile"},
                               {1.0, "   My Call   "},
                               {2.425, "Path"},
                               {4.35, "Timer (Min Sec)"},
                               {5.975, "TxDelay"},
                               {6.675, "   "},
                               {6.975, "  Tail  "}}},
                             {12,
                              {{0, "   1"},
                               {1.0, "K1ABC-9"},
                               {2.425, "Wide,Relay,WIDE5-5"},
                               {4.35, "     10"},
                               {5.175, "     30"},
                               {5.975, "133ms     "},
                               {6.975, "27ms"}}},
                             {13,
                              {{0, "   2"},
                               {1.0, "K1ABC"},
                               {2.425, ",Echo"},
                               {4.35, "     2"},
                               {5.075, "     5"},
                               {5.975, "213ms     "},
                               {6.975, "53ms"}}},
                             {14,
                              {{0, "   3"},
                               {1.0, "K1ABC"},
                               {2.425, "Gate,X"},
                               {4.35, "     0"},
                               {5.075, "     45"},
                               {5.975, "160ms     "},
                               {6.975, "40ms"}}},
                             {21,
                              {{0, " 10"},
                               {1.0, "K1ABC-15"},
                               {2.425, ""},
                               {4.35, "     1"},
                               {5.075, "     0"},
                               {5.975, "133ms     "},
                               {6.975, "27ms"}}},
                         });
}

TEST(ProfileReportTest, TrackingReportPrintsSymbolsCommentsAndTwoSpaceSeconds)
{
    const RecordingPrinter printer = printTracking(trackingWindows());
    ASSERT_EQ(printer.lines.size(), 23u);
    expectLines(printer, {
                             {1, {{0, "Tracking Profiles for K1ABC (5 Dec 2026)"}}},
                             {3, {{0, "To Call:   "}, {1.75, "APRS"}}},
                             {4, {{0, "Prefix:    "}, {1.75, "P"}}},
                             {5, {{0, "Separator: "}, {1.75, ","}}},
                             {6, {{0, "Comments:  "}, {1.75, "hello"}}},
                             {7, {{0, "Lights Off: "}, {1.75, "No"}}},
                             {8, {{0, "Mic Encode: "}, {1.75, "No"}}},
                             {9, {{0, "Mode Lock: "}, {1.75, "Yes"}}},
                             {10, {{0, "Auto Mode On: "}, {1.75, "Yes"}}},
                             {11, {{0, ""}}},
                             {12,
                              {{0, "Profile"},
                               {1.0, "   My Call   "},
                               {2.425, "Path"},
                               {4.35, "Sym"},
                               {4.775, "Com"},
                               {5.2, "Timer (Min Sec)"},
                               {6.825, "TxDelay"},
                               {7.525, "      "},
                               {8.125, " Tail "}}},
                             {13,
                              {{0, "   1"},
                               {1.0, "K1ABC-9"},
                               {2.425, "Wide,Relay,WIDE5-5"},
                               {4.35, "  >"},
                               {4.775, "  Y"},
                               {5.2, "     10"},
                               {6.025, "  30"},
                               {6.825, "133ms"},
                               {7.45, "27ms"}}},
                             {14,
                              {{0, "   2"},
                               {1.0, "K1ABC"},
                               {2.425, ",Echo"},
                               {4.35, "   "},
                               {4.775, "  N"},
                               {5.2, "     2"},
                               {5.925, "  5"},
                               {6.825, "213ms"},
                               {7.45, "53ms"}}},
                             {15,
                              {{0, "   3"},
                               {1.0, "K1ABC"},
                               {2.425, "Gate,X"},
                               {4.35, "   "},
                               {4.775, "  N"},
                               {5.2, "     0"},
                               {5.925, "  45"},
                               {6.825, "160ms"},
                               {7.45, "40ms"}}},
                             {16,
                              {{0, "   4"},
                               {1.0, "K1ABC"},
                               {2.425, ""},
                               {4.35, "  /"},
                               {4.775, "  N"},
                               {5.2, "     1"},
                               {5.925, "  0"},
                               {6.825, "133ms"},
                               {7.45, "27ms"}}},
                         });
}

TEST(ProfileReportTest, EmptyPathsKeepAQuarterInchColumn)
{
    forms::Windows windows = nmeaWindows();
    for (int profile = 1; profile <= forms::kProfileCount; ++profile)
        windows.nmea.store.entry(profile).Path = {"0", "0", "0", "0"};
    const RecordingPrinter printer = printNmea(windows);
    expectLines(printer, {{11,
                           {{0, "Profile"},
                            {1.0, "   My Call   "},
                            {2.425, "Path"},
                            {2.8, "Timer (Min Sec)"},
                            {4.425, "TxDelay"},
                            {5.125, "   "},
                            {5.425, "  Tail  "}}},
                          {12,
                           {{0, "   1"},
                            {1.0, "K1ABC-9"},
                            {2.425, ""},
                            {2.8, "     10"},
                            {3.625, "     30"},
                            {4.425, "133ms     "},
                            {5.425, "27ms"}}}});
}

TEST(ProfileReportTest, WideTimerTextsWidenTheTimerColumn)
{
    forms::Windows windows = trackingWindows();
    windows.tracking.store.entry(5).TmrMin = "12345678";
    windows.tracking.store.entry(5).TmrSec = "1234567";
    const RecordingPrinter printer = printTracking(windows);
    expectLines(printer, {{17,
                           {{0, "   5"},
                            {1.0, "K1ABC"},
                            {2.425, ""},
                            {4.35, "   "},
                            {4.775, "  N"},
                            {5.2, "     12345678"},
                            {6.625, "  1234567"},
                            {6.95, "133ms"},
                            {7.575, "27ms"}}}});
}

TEST(ProfileReportTest, HeaderUnderlinesCaptionsButNotTheSpacer)
{
    for (const bool tracking : {false, true}) {
        const RecordingPrinter printer = tracking ? printTracking(trackingWindows()) : printNmea(nmeaWindows());
        const std::size_t header = tracking ? 12 : 11;
        const auto& pieces = printer.lines.at(header);
        for (std::size_t i = 0; i < pieces.size(); ++i)
            EXPECT_EQ(pieces[i].underline, i != pieces.size() - 2) << pieces[i].text;
        for (const auto& piece : printer.lines.at(header + 1))
            EXPECT_FALSE(piece.underline);
        for (const auto& piece : printer.lines.at(1))
            EXPECT_FALSE(piece.underline);
    }
}

TEST(ProfileReportTest, BeginThenFontProgressBeforeEachRowAndEndDocumentLast)
{
    for (const bool tracking : {false, true}) {
        const RecordingPrinter printer = tracking ? printTracking(trackingWindows()) : printNmea(nmeaWindows());
        const auto& calls = printer.calls;
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.at(0), "beginDocument");
        EXPECT_EQ(calls.at(1), "font Courier New 12 1010");
        EXPECT_EQ(calls.back(), "endDocument");
        std::vector<std::size_t> progressAt;
        for (std::size_t i = 0; i < calls.size(); ++i)
            if (calls[i].rfind("progress ", 0) == 0)
                progressAt.push_back(i);
        ASSERT_EQ(progressAt.size(), 10u);
        for (std::size_t p = 0; p < progressAt.size(); ++p) {
            const int profile = static_cast<int>(p) + 1;
            EXPECT_EQ(calls[progressAt[p]], "progress " + std::to_string(profile));
            EXPECT_EQ(calls.at(progressAt[p] + 1),
                      profile < 10 ? "print    " + std::to_string(profile) : std::string("print  10"));
        }
        EXPECT_EQ(calls.at(progressAt.front() - 1), "underline 0");
        EXPECT_EQ(calls.at(calls.size() - 2), "endLine");
    }
}

TEST(ProfileReportTest, ReportWithoutProgressCallbackStillEndsTheDocument)
{
    RecordingPrinter printer;
    EXPECT_TRUE(printNmeaProfiles(printer, nmeaWindows(), kDate, kFont, nullptr));
    EXPECT_EQ(printer.lines.size(), 22u);
    EXPECT_EQ(printer.calls.back(), "endDocument");
}

TEST(ProfileReportTest, PrinterThatCannotBeOpenedGetsNothingAndAFailedDocumentIsReported)
{
    RecordingPrinter closed;
    closed.failOnBegin = true;
    EXPECT_FALSE(printTrackingProfiles(closed, trackingWindows(), kDate, kFont, nullptr));
    EXPECT_EQ(closed.calls, std::vector<std::string>{"beginDocument"});

    RecordingPrinter failing;
    failing.failOnEnd = true;
    EXPECT_FALSE(printNmeaProfiles(failing, nmeaWindows(), kDate, kFont, nullptr));
    EXPECT_EQ(failing.calls.back(), "endDocument");
}

TEST(ProfileReportTest, TerminationCharacterLineNamesEveryOption)
{
    struct Case
    {
        int option;
        std::string userText;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {forms::kCarriageReturn, "13", "Termination Character: Carriage Return"},
        {forms::kLineFeed, "13", "Termination Character: Line Feed"},
        {forms::kUserDefined, "42", "Termination Character: 42 decimal"},
        {forms::kUserDefined, " 9", "Termination Character: 9 decimal"},
        {forms::kUserDefined, "0", "Termination Character: 0 decimal"},
        {forms::kUserDefined, "", "Termination Character: 0 decimal"},
    };
    for (const Case& c : cases) {
        forms::Windows windows = nmeaWindows();
        windows.nmea.NMEATxOn.setValue(c.option, true);
        windows.nmea.NMEAUserTrigChar.setText(c.userText);
        const RecordingPrinter printer = printNmea(windows);
        EXPECT_EQ(printer.lineText(7), c.expected);
    }
}

TEST(ProfileReportTest, DelayAndTailUseTheTwelveHundredBaudSpacing)
{
    struct Case
    {
        int index;
        long delay;
        long tail;
    };
    for (const Case& c : std::vector<Case>{{0, 133, 27}, {1, 160, 40}, {2, 187, 53}, {3, 213, 67}, {9, 373, 147}}) {
        EXPECT_EQ(txDelayMilliseconds(c.index), c.delay) << c.index;
        EXPECT_EQ(txTailMilliseconds(c.index), c.tail) << c.index;
    }
}

TEST(ProfileReportTest, DateIsDayMonthNameYear)
{
    struct Case
    {
        ReportDate date;
        std::string expected;
    };
    for (const Case& c : std::vector<Case>{{{2026, 12, 5}, "5 Dec 2026"},
                                           {{2027, 1, 31}, "31 Jan 2027"},
                                           {{2024, 2, 29}, "29 Feb 2024"},
                                           {{2025, 9, 10}, "10 Sep 2025"}})
        EXPECT_EQ(formatReportDate(c.date), c.expected);
}

} // namespace
} // namespace qm::reports
