// The commands of the profile reports: Print Profiles, the report drawn for a preview, Export Profiles as PDF and
// Select Printer Font.
#include "shell/ReportCommands.h"

#include "forms/ProfileEditing.h"
#include "storage/ConfigFile.h"
#include "storage/Paths.h"

#include <string_view>

namespace qm::shell
{

using forms::Mode;

void ReportCommands::showBox(const forms::MessageBox& box)
{
    m_ui.setMousePointer(Pointer::Normal);
    m_ui.messageBox(box);
    if (!box.focus.empty())
        m_ui.setFocus(box.focus);
}

void ReportCommands::printProfiles()
{
    if (!m_printer || !profileReportAvailable())
        return;
    forms::PrintProgressForm& progress = m_session.windows().printProgress;
    progress.PrintProgress = 0;
    progress.window.setVisible(true);
    m_ui.paintNow();
    const auto advance = [this, &progress](int profile) {
        progress.PrintProgress = profile;
        m_ui.paintNow();
    };
    const bool printed = printReport(*m_printer, m_session.state().printerFont, advance);
    progress.window.setVisible(false);
    if (!printed)
        showBox(reports::printFailedBox(m_printer->failure()));
}

bool ReportCommands::printReport(reports::Printer& printer, const FontSettings& font,
                                 const reports::ReportProgress& advance)
{
    const Mode mode = *m_session.state().currentMode;
    forms::Windows& windows = m_session.windows();
    // The profile on show may hold edits the store does not have yet.
    if (mode == Mode::Nmea)
        forms::storeShownNmeaProfile(windows);
    else
        forms::storeShownTrackingProfile(windows);
    const LocalTime now = m_clock->now();
    const reports::ReportDate date{now.year, now.month, now.day};
    return mode == Mode::Nmea ? reports::printNmeaProfiles(printer, windows, date, font, advance)
                              : reports::printTrackingProfiles(printer, windows, date, font, advance);
}

bool ReportCommands::profileReportAvailable() const
{
    const std::optional<Mode> mode = m_session.state().currentMode;
    return m_clock && (mode == Mode::Nmea || mode == Mode::Tracking);
}

bool ReportCommands::drawProfileReport(reports::Printer& printer, const FontSettings& standardFont)
{
    if (!profileReportAvailable())
        return false;
    const FontSettings& printerFont = m_session.state().printerFont;
    return printReport(printer, printerFont.name.empty() ? standardFont : printerFont, nullptr);
}

std::string ReportCommands::askForPdfPath()
{
    FileDialogRequest request;
    request.title = "Export Profiles as PDF";
    request.filter = "PDF Document | *.pdf | All Files | *";
    request.initialFolder = m_fileCommands.lastFolder();
    request.initialName = *m_session.state().currentMode == Mode::Nmea ? "NMEA Profiles.pdf" : "Tracking Profiles.pdf";
    for (;;) {
        const FileDialogChoice choice = m_ui.saveFileDialog(request);
        if (choice.path.empty())
            return {};
        std::string path = choice.path;
        const std::string_view name = storage::fileNameOf(path);
        if (choice.filterIndex == 1 && !name.empty() && name.find('.') == std::string::npos)
            path += ".pdf";
        if (!m_files.fileExists(path))
            return path;
        m_ui.beep();
        if (m_ui.messageBox(overwriteBox(path)) == forms::Button::Yes)
            return path;
    }
}

void ReportCommands::exportProfileReport(reports::Printer& pdf, const std::function<std::string()>& pdfBytes,
                                         const FontSettings& standardFont)
{
    if (!profileReportAvailable())
        return;
    const std::string path = askForPdfPath();
    if (path.empty())
        return;
    m_fileCommands.folderUsed(path);
    if (!drawProfileReport(pdf, standardFont)) {
        reports::PrintFailure failure = pdf.failure();
        failure.printer = path;
        showBox(reports::printFailedBox(failure));
        return;
    }
    if (auto error = m_files.writeFileAtomically(path, pdfBytes()))
        showBox(storage::writeErrorBox(*error));
}

void ReportCommands::printerFound(reports::Printer& printer, const FontSettings& printerFont)
{
    m_printer = &printer;
    ProgramState& state = m_session.state();
    state.printerPresent = true;
    state.printerFont = printerFont;
    // The menus take the state choosing the mode shown now would have given them.
    const std::optional<Mode> mode = m_session.checkedMode();
    const bool profiles = mode == Mode::Nmea || mode == Mode::Tracking;
    auto& menus = m_session.windows().main.menus;
    menus.printprofiles.setEnabled(profiles);
    menus.printerfont.setEnabled(profiles);
}

void ReportCommands::choosePrinterFont()
{
    m_session.state().printerFont = m_ui.fontDialog(m_session.state().printerFont);
}

} // namespace qm::shell
