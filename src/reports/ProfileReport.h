// The NMEA and Tracking profile tables printed as a one-page report.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"
#include "reports/Printer.h"

#include <functional>
#include <string>

namespace qm::reports
{

/// A calendar date as the report's title shows it.
struct ReportDate
{
    int year = 2000;
    int month = 1;
    int day = 1;
};

/// Called with the profile number (1 to 10) at the start of each profile row.
using ReportProgress = std::function<void(int profile)>;

/// Returns the date as "d mmm yyyy", for example "5 Dec 2026".
std::string formatReportDate(const ReportDate& date);

/// Returns the printed delay of a TX delay list index in milliseconds (1200-baud spacing).
long txDelayMilliseconds(int index);

/// Returns the printed tail of a TX tail list index in milliseconds (1200-baud spacing).
long txTailMilliseconds(int index);

/// Prints the NMEA settings and the ten NMEA profiles of the NMEA window as one document. Returns false when the
/// printer could not be opened or the document did not reach it.
bool printNmeaProfiles(Printer& printer, const forms::Windows& windows, const ReportDate& date, const PrinterFont& font,
                       const ReportProgress& progress);

/// Prints the Tracking settings and the ten Tracking profiles of the Tracking window as one document. Returns false
/// when the printer could not be opened or the document did not reach it.
bool printTrackingProfiles(Printer& printer, const forms::Windows& windows, const ReportDate& date,
                           const PrinterFont& font, const ReportProgress& progress);

/// Returns the box that tells the user a report did not reach the printer, naming the printer and the reason.
forms::MessageBox printFailedBox(const PrintFailure& failure);

} // namespace qm::reports
