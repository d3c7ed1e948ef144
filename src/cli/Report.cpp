// vq3 report: the profile table of a configuration file as a PDF file.
#include "cli/Report.h"

#include "cli/Output.h"
#include "cli/Show.h"
#include "forms/ProfileEditing.h"
#include "qt/QtPrinter.h"
#include "reports/ProfileReport.h"
#include "shell/Session.h"
#include "storage/ConfigFile.h"

#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <variant>

namespace qm::cli
{

namespace
{

/// Reads "YYYY-MM-DD" as a calendar date.
std::optional<reports::ReportDate> parseDate(const std::string& text)
{
    reports::ReportDate date;
    char end = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &date.year, &date.month, &date.day, &end) != 3)
        return std::nullopt;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > kDays[date.month - 1])
        return std::nullopt;
    const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    if (date.month == 2 && date.day == 29 && !leap)
        return std::nullopt;
    return date;
}

/// Keeps Qt's own notes (no runtime folder, font substitutions) off the command's output; real errors still show.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

int runReport(const ReportOptions& options, storage::FileSystem& files, shell::Clock& clock, Streams streams)
{
    reports::ReportDate date;
    if (options.date.empty()) {
        const shell::LocalTime now = clock.now();
        date = {now.year, now.month, now.day};
    } else if (auto parsed = parseDate(options.date)) {
        date = *parsed;
    } else {
        printBox(streams.err, errorBox("The date " + options.date + " is not a date written YYYY-MM-DD."));
        return kInputError;
    }

    shell::Session program(files);
    program.startUp();
    if (auto failure = openConfiguration(program, options.config)) {
        printBox(streams.err, failure->box);
        return failure->status;
    }
    const std::optional<forms::Mode> mode = program.state().currentMode;
    if (mode != forms::Mode::Nmea && mode != forms::Mode::Tracking) {
        printBox(streams.err, errorBox("The file " + options.config +
                                       " is not an NMEA or Tracking configuration: only those hold profiles."));
        return kRefused;
    }

    // Only a PDF is drawn here: no window is ever shown, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQtMessages);
    int argc = 1;
    char name[] = "vq3";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    const QFont standard = QGuiApplication::font();
    reports::PrinterFont font;
    font.name = options.font.empty() ? standard.family().toStdString() : options.font;
    font.size = options.size > 0 ? options.size : std::max(standard.pointSize(), 1);

    // The PDF is drawn in memory and then written as every file is: a temporary file beside the output renamed
    // over it, so a full disk or the file-size limit fails the command and leaves the old file as it was.
    qt::QtPrinter printer = qt::QtPrinter::pdfDocument();
    const bool printed = mode == forms::Mode::Nmea
                             ? reports::printNmeaProfiles(printer, program.windows(), date, font, nullptr)
                             : reports::printTrackingProfiles(printer, program.windows(), date, font, nullptr);
    if (!printed) {
        reports::PrintFailure failure = printer.failure();
        failure.printer = options.output;
        printBox(streams.err, reports::printFailedBox(failure));
        return kInputError;
    }
    if (auto error = files.writeFileAtomically(options.output, printer.pdfBytes())) {
        printBox(streams.err, storage::writeErrorBox(*error));
        return kInputError;
    }
    return kDone;
}

} // namespace qm::cli

extern "C" __attribute__((visibility("default"))) int qmRunReport(const qm::cli::ReportOptions* options,
                                                                  qm::storage::FileSystem* files,
                                                                  qm::shell::Clock* clock, qm::cli::Streams* streams)
{
    return qm::cli::runReport(*options, *files, *clock, *streams);
}
