// The NMEA and Tracking profile tables printed as a one-page report.
#include "reports/ProfileReport.h"

#include "forms/Numbers.h"
#include "forms/Text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace qm::reports
{

namespace
{

using forms::kProfileCount;

// Every column starts this far after the widest text of the column before it.
constexpr double kColumnGap = 0.125;
// The tab after the Profile cell moves to the next multiple of half an inch from the line's start.
constexpr double kTabStopSpacing = 0.5;
// The tab inside a Timer cell (between minutes and seconds) and after a Tracking TX delay is a fixed gap,
// so the seconds line up under the header whatever the tab stops of the printer would be.
constexpr double kCellTabGap = 0.125;
// Settings values start at this column, or at the tab stop after the widest label when a large font needs more.
constexpr double kSettingsColumn = 1.75;
// An all-empty Path column still keeps this much room.
constexpr double kEmptyPathWidth = 0.25;

constexpr std::array kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array kPathNames{"Gate", "Relay", "Wide", "Echo"};

enum class Kind
{
    Nmea,
    Tracking,
};

struct Setting
{
    std::string label;
    std::string value;
    /// When set, the value starts at the settings column; otherwise it follows the label directly.
    bool tab = true;
};

struct Row
{
    std::string profile;
    std::string myCall;
    /// My Call, "-" and SSID whatever the SSID holds: the My Call column is measured with it.
    std::string measuredCall;
    std::string path;
    std::string symbol;
    std::string comments;
    std::string minutes;
    std::string seconds;
    /// Minutes and seconds as the Timer column measures them.
    std::string rawMinutes;
    std::string rawSeconds;
    std::string delay;
    std::string tail;
};

struct Report
{
    Kind kind = Kind::Nmea;
    std::string title;
    std::vector<Setting> settings;
    std::array<Row, kProfileCount> rows;
};

struct Columns
{
    double myCall = 0;
    double path = 0;
    double symbol = 0;
    double comments = 0;
    double timer = 0;
    double delay = 0;
};

int readIndex(const std::string& text)
{
    return static_cast<int>(forms::roundHalfEven(forms::numberValue(text)));
}

std::string yesNo(bool set)
{
    return set ? "Yes" : "No";
}

std::string pathName(const forms::StationControls& station, int index)
{
    if (index >= 1 && index <= 4)
        return kPathNames.at(static_cast<std::size_t>(index - 1));
    if (index >= 5 && index <= 8)
        return forms::trimUpper(station.SpecPath.at(static_cast<std::size_t>(index - 5)).text());
    return {};
}

std::string pathText(const forms::StationControls& station, const forms::ProfileEntry& entry)
{
    std::string text;
    for (std::size_t i = 0; i < entry.Path.size(); ++i) {
        const int index = readIndex(entry.Path[i]);
        if (index < 1 || index > 8)
            continue;
        // Paths 2 to 4 bring their own separator, even when no earlier path is used.
        if (i > 0)
            text += ',';
        text += pathName(station, index);
    }
    return text;
}

std::string profileCell(int profile)
{
    return profile < 10 ? "   " + std::to_string(profile) : " " + std::to_string(profile);
}

Row makeRow(Kind kind, const forms::StationControls& station, const forms::ProfileEntry& entry, int profile)
{
    Row row;
    const std::string call = forms::trimUpper(station.MyCall.text());
    row.profile = profileCell(profile);
    row.myCall = forms::numberValue(entry.SSID) > 0 ? call + "-" + entry.SSID : call;
    row.measuredCall = call + "-" + entry.SSID;
    row.path = pathText(station, entry);
    if (kind == Kind::Tracking) {
        const unsigned char code = entry.Symbol.empty() ? 0 : static_cast<unsigned char>(entry.Symbol.front());
        const char symbol = static_cast<char>(code & 0x7F);
        row.symbol = std::string("  ") + (symbol == 0 ? ' ' : symbol);
        row.comments = (code & 0x80) != 0 ? "  Y" : "  N";
    }
    row.rawMinutes = entry.TmrMin;
    row.rawSeconds = entry.TmrSec;
    row.minutes = "     " + entry.TmrMin;
    row.seconds = (kind == Kind::Nmea ? "     " : "  ") + entry.TmrSec;
    row.delay = std::to_string(txDelayMilliseconds(readIndex(entry.TxDelay))) + "ms";
    if (kind == Kind::Nmea)
        row.delay += "     ";
    row.tail = std::to_string(txTailMilliseconds(readIndex(entry.TxTail))) + "ms";
    return row;
}

std::string title(const char* caption, const forms::StationControls& station, const ReportDate& date)
{
    return caption + forms::trimUpper(station.MyCall.text()) + " (" + formatReportDate(date) + ")";
}

double nextTabStop(double lineStart, double x)
{
    return lineStart + (std::floor((x - lineStart) / kTabStopSpacing) + 1.0) * kTabStopSpacing;
}

Columns measureColumns(Printer& printer, const Report& report, double firstColumn)
{
    double callWidth = printer.textWidth("   My Call   ");
    double pathWidth = 0;
    double timerWidth = printer.textWidth("Timer (Min Sec)");
    for (const Row& row : report.rows) {
        callWidth = std::max(callWidth, printer.textWidth(row.measuredCall));
        pathWidth = std::max(pathWidth, printer.textWidth(row.path));
        timerWidth =
            std::max(timerWidth, printer.textWidth(row.rawMinutes) + kCellTabGap + printer.textWidth(row.rawSeconds));
    }
    if (pathWidth <= 0)
        pathWidth = kEmptyPathWidth;

    Columns columns;
    columns.myCall = firstColumn;
    columns.path = columns.myCall + callWidth + kColumnGap;
    if (report.kind == Kind::Tracking) {
        columns.symbol = columns.path + pathWidth + kColumnGap;
        columns.comments = columns.symbol + printer.textWidth("Sym") + kColumnGap;
        columns.timer = columns.comments + printer.textWidth("Com") + kColumnGap;
    } else {
        columns.timer = columns.path + pathWidth + kColumnGap;
    }
    columns.delay = columns.timer + timerWidth + kColumnGap;
    return columns;
}

void printAt(Printer& printer, double x, const std::string& text)
{
    printer.setCurrentX(x);
    printer.print(text, false);
}

void printSettings(Printer& printer, const std::vector<Setting>& settings, double lineStart)
{
    double widestLabel = 0;
    for (const Setting& setting : settings)
        if (setting.tab)
            widestLabel = std::max(widestLabel, printer.textWidth(setting.label));
    const double valueColumn = std::max(lineStart + kSettingsColumn, nextTabStop(lineStart, lineStart + widestLabel));
    for (const Setting& setting : settings) {
        if (!setting.tab) {
            printer.print(setting.label + setting.value, true);
            continue;
        }
        printer.print(setting.label, false);
        printer.setCurrentX(valueColumn);
        printer.print(setting.value, true);
    }
}

void printHeader(Printer& printer, const Report& report, const Columns& columns)
{
    const bool tracking = report.kind == Kind::Tracking;
    printer.setUnderline(true);
    printer.print("Profile", false);
    printAt(printer, columns.myCall, "   My Call   ");
    printAt(printer, columns.path, "Path");
    if (tracking) {
        printAt(printer, columns.symbol, "Sym");
        printAt(printer, columns.comments, "Com");
    }
    printAt(printer, columns.timer, "Timer (Min Sec)");
    printAt(printer, columns.delay, "TxDelay");
    printer.setUnderline(false);
    printer.print(tracking ? "      " : "   ", false);
    printer.setUnderline(true);
    printer.print(tracking ? " Tail " : "  Tail  ", true);
    printer.setUnderline(false);
}

void printRow(Printer& printer, const Report& report, const Columns& columns, const Row& row)
{
    printer.print(row.profile, false);
    printAt(printer, columns.myCall, row.myCall);
    printAt(printer, columns.path, row.path);
    if (report.kind == Kind::Tracking) {
        printAt(printer, columns.symbol, row.symbol);
        printAt(printer, columns.comments, row.comments);
    }
    printAt(printer, columns.timer, row.minutes);
    printAt(printer, columns.timer + printer.textWidth(row.minutes) + kCellTabGap, row.seconds);
    printAt(printer, columns.delay, row.delay);
    if (report.kind == Kind::Tracking)
        printer.setCurrentX(printer.currentX() + kCellTabGap);
    printer.print(row.tail, true);
}

bool printReport(Printer& printer, const Report& report, const PrinterFont& font, const ReportProgress& progress)
{
    if (!printer.beginDocument())
        return false;
    printer.setFont(font.name, font.size, font.bold, font.italic, font.strikethrough, font.underline);
    const double lineStart = printer.currentX();
    printer.print("", true);
    printer.print(report.title, true);
    printer.print("", true);
    printSettings(printer, report.settings, lineStart);
    printer.print("", true);

    // The rows share the header's column starts; the tab after the Profile cell reaches the same stop in
    // every line as long as no profile number is wider than the "Profile" caption, so take the widest.
    double profileWidth = printer.textWidth("Profile");
    for (const Row& row : report.rows)
        profileWidth = std::max(profileWidth, printer.textWidth(row.profile));
    const Columns columns = measureColumns(printer, report, nextTabStop(lineStart, lineStart + profileWidth));

    printHeader(printer, report, columns);
    for (int profile = 1; profile <= kProfileCount; ++profile) {
        if (progress)
            progress(profile);
        printRow(printer, report, columns, report.rows.at(static_cast<std::size_t>(profile - 1)));
    }
    return printer.endDocument();
}

std::string terminationText(const forms::NmeaForm& form)
{
    switch (form.NMEATxOn.selected()) {
    case forms::kCarriageReturn:
        return "Carriage Return";
    case forms::kLineFeed:
        return "Line Feed";
    default:
        return forms::formatNumber(forms::numberValue(form.NMEAUserTrigChar.text())) + " decimal";
    }
}

} // namespace

std::string formatReportDate(const ReportDate& date)
{
    const std::size_t month = static_cast<std::size_t>(std::clamp(date.month, 1, 12) - 1);
    std::string year = std::to_string(date.year);
    if (year.size() < 4)
        year.insert(0, 4 - year.size(), '0');
    return std::to_string(date.day) + " " + kMonths.at(month) + " " + year;
}

long txDelayMilliseconds(int index)
{
    return std::lround(forms::roundHalfEven(133.3334 + 26.6667 * index));
}

long txTailMilliseconds(int index)
{
    return std::lround(forms::roundHalfEven(26.6667 + 13.3334 * index));
}

bool printNmeaProfiles(Printer& printer, const forms::Windows& windows, const ReportDate& date, const PrinterFont& font,
                       const ReportProgress& progress)
{
    const forms::NmeaForm& form = windows.nmea;
    const forms::MainWindowControls& main = windows.main;
    Report report;
    report.kind = Kind::Nmea;
    report.title = title("NMEA Profiles for ", form.station, date);
    report.settings = {
        {"To Call: ", forms::trimUpper(form.station.ToCall.text())},
        {"Data Header 1:", main.GpsString[0].text()},
        {"Data Header 2:", main.GpsString[1].text()},
        {"Data Header 3:", main.GpsString[2].text()},
        {"Termination Character: ", terminationText(form), false},
        {"Lights Off: ", yesNo(main.LEDDisable.isSet())},
        {"Mode Lock: ", yesNo(main.ModeLock.isSet())},
    };
    for (int profile = 1; profile <= kProfileCount; ++profile)
        report.rows.at(static_cast<std::size_t>(profile - 1)) =
            makeRow(Kind::Nmea, form.station, form.store.entry(profile), profile);
    return printReport(printer, report, font, progress);
}

bool printTrackingProfiles(Printer& printer, const forms::Windows& windows, const ReportDate& date,
                           const PrinterFont& font, const ReportProgress& progress)
{
    const forms::TrackingForm& form = windows.tracking;
    const forms::MainWindowControls& main = windows.main;
    Report report;
    report.kind = Kind::Tracking;
    report.title = title("Tracking Profiles for ", form.station, date);
    report.settings = {
        {"To Call:   ", forms::trimUpper(form.station.ToCall.text())},
        {"Prefix:    ", form.TrkPrefix.text()},
        {"Separator: ", form.TrkSeparator.text()},
        {"Comments:  ", form.TrkComments.text()},
        {"Lights Off: ", yesNo(main.LEDDisable.isSet())},
        {"Mic Encode: ", yesNo(main.MicEncode.isSet())},
        {"Mode Lock: ", yesNo(main.ModeLock.isSet())},
        {"Auto Mode On: ", yesNo(main.AutoMode.isSet())},
    };
    for (int profile = 1; profile <= kProfileCount; ++profile)
        report.rows.at(static_cast<std::size_t>(profile - 1)) =
            makeRow(Kind::Tracking, form.station, form.store.entry(profile), profile);
    return printReport(printer, report, font, progress);
}

forms::MessageBox printFailedBox(const PrintFailure& failure)
{
    const std::string printer = failure.printer.empty() ? "the default printer" : "\"" + failure.printer + "\"";
    std::string text = "The profiles could not be printed on " + printer + ".";
    if (!failure.reason.empty())
        text += "\r\n\r\n" + failure.reason;
    return forms::messageBox("Print Profiles", text, forms::Icon::Critical);
}

} // namespace qm::reports
