// The commands of the profile reports: Print Profiles, the report drawn for a preview, Export Profiles as PDF and
// Select Printer Font.
#pragma once

#include "reports/Printer.h"
#include "reports/ProfileReport.h"
#include "shell/Clock.h"
#include "shell/FileCommands.h"
#include "shell/Session.h"
#include "shell/Ui.h"
#include "storage/FileSystem.h"

#include <functional>
#include <string>

namespace qm::shell
{

class ReportCommands
{
public:
    ReportCommands(Session& session, Ui& ui, storage::FileSystem& files, FileCommands& fileCommands)
        : m_session(session), m_ui(ui), m_files(files), m_fileCommands(fileCommands)
    {}

    /// Connects the default printer and the clock that dates the reports (none: Print Profiles does nothing).
    void setPrinter(reports::Printer* printer, Clock* clock)
    {
        m_printer = printer;
        m_clock = clock;
    }
    /// The default printer, looked up after start-up, was found: Print Profiles prints on it in the printer font
    /// given, and Print Profiles and Select Printer Font are usable in NMEA and Tracking mode from now on.
    void printerFound(reports::Printer& printer, const FontSettings& printerFont);

    /// Print Profiles: in NMEA and Tracking mode, the shown profile stored and the mode's profile table printed in
    /// the printer font, with the progress window counting the profiles; in the other modes nothing.
    void printProfiles();
    /// Print Preview and Export Profiles as PDF are usable: NMEA or Tracking is the current mode. Neither needs a
    /// printer.
    bool profileReportAvailable() const;
    /// Draws the current mode's profile report on a printer as Print Profiles prints it (the profile on show stored
    /// first), in the printer font, or in the standard font when no printer gave one; false when the mode has no
    /// profiles or the printer failed (its failure() tells why).
    bool drawProfileReport(reports::Printer& printer, const FontSettings& standardFont);
    /// Export Profiles as PDF: asks for a file name (".pdf" added to a bare name, an existing file overwritten only
    /// when the user agrees), draws the report on a PDF document and writes pdfBytes() there as every file is
    /// written; a failure is shown in a box.
    void exportProfileReport(reports::Printer& pdf, const std::function<std::string()>& pdfBytes,
                             const FontSettings& standardFont);
    /// Select Printer Font: the font dialog preset with the printer font; the answer becomes the printer font.
    void choosePrinterFont();

private:
    /// Prints the profile report of the current mode (NMEA or Tracking) dated today, the profile on show stored
    /// first; returns false when the printer did not take the document.
    bool printReport(reports::Printer& printer, const FontSettings& font, const reports::ReportProgress& advance);
    /// Asks where the PDF document goes until the user names a new file, agrees to replace one or cancels ("").
    std::string askForPdfPath();
    void showBox(const forms::MessageBox& box);

    Session& m_session;
    Ui& m_ui;
    storage::FileSystem& m_files;
    FileCommands& m_fileCommands;
    reports::Printer* m_printer = nullptr;
    Clock* m_clock = nullptr;
};

} // namespace qm::shell
