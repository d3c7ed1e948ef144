// The program's session: every window model with the program state, the pick lists and defaults, mode
// selection, the upload decoding and the configuration-file commands.
#include "shell/Session.h"

#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/WindowDefaults.h"
#include "image/DecodedImage.h"
#include "image/HeaderBytes.h"
#include "shell/FileCommands.h"
#include "shell/HelpTexts.h"
#include "storage/ConfigFile.h"
#include "validation/ModeChecks.h"

namespace qm::shell
{

using forms::Mode;

Session::Session(storage::FileSystem& files) : m_files(files)
{}

void Session::fillPickLists()
{
    forms::fillStartUpPickLists(m_windows);
}

void Session::fillTxListsFor1200Baud()
{
    forms::rebuildTxLists(m_windows, false, m_state.txDelayIndex, m_state.txTailIndex);
}

void Session::fillTxListsFor300Baud()
{
    forms::rebuildTxLists(m_windows, true, m_state.txDelayIndex, m_state.txTailIndex);
}

void Session::clearAllWindows()
{
    m_fields.profile = {};
    forms::clearAllWindows(m_windows, defaults());
}

void Session::clearMode(Mode mode)
{
    m_fields.profile = {};
    forms::clearWindow(m_windows, mode, defaults());
}

void Session::selectMode(Mode mode)
{
    forms::MainWindowControls& main = m_windows.main;
    const auto items = main.menus.modeItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(forms::kModes[i] == mode);
    m_state.currentMode = mode;
    m_state.unknownModeCode.reset();
    for (auto* item : {&main.menus.saveconfiguration, &main.menus.save, &main.menus.openconfiguration,
                       &main.menus.newconfiguration, &main.menus.memorizedefaults})
        item->setEnabled(true);
    const bool profiles = mode == Mode::Nmea || mode == Mode::Tracking;
    if (!profiles) {
        main.menus.printprofiles.setEnabled(false);
        main.menus.printerfont.setEnabled(false);
    } else if (m_state.printerPresent) {
        main.menus.printprofiles.setEnabled(true);
        main.menus.printerfont.setEnabled(true);
    }
    for (const Mode other : forms::kModes)
        if (other != mode)
            m_windows.station(other).window.setVisible(false);
    const bool nmea = mode == Mode::Nmea;
    for (auto& header : main.GpsString)
        header.setEnabled(nmea);
    main.DataHeaderFrame.setEnabled(nmea);
    for (auto& panel : main.DataHeader)
        panel.setVisible(nmea);
    main.MicEncode.setEnabled(mode == Mode::Tracking);
    main.ModeLock.setEnabled(profiles);
    main.AutoMode.setEnabled(mode == Mode::Tracking);
    main.menus.inputbaudrate.setEnabled(mode != Mode::Beacon && mode != Mode::Alarm);
    if (mode == Mode::Nmea)
        m_windows.nmea.NMEAProfileFrame.setCaption(
            forms::profileFrameCaption(m_windows.nmea.NMEAProfile.selectedIndex()));
    if (mode == Mode::Tracking)
        m_windows.tracking.TrkProfileFrame.setCaption(
            forms::profileFrameCaption(m_windows.tracking.TrkProfile.selectedIndex()));
    forms::StationControls& station = m_windows.station(mode);
    station.HelpFrame.setCaption(station.window.caption());
    station.HelpBox.setCaption(modeHelpText(mode));
    // A window the user closed or minimised comes back whole when its mode is chosen.
    station.window.setMinimized(false);
    station.window.setVisible(true);
    forms::updateModeAreaHint(m_windows);
}

std::optional<Mode> Session::checkedMode() const
{
    const auto items = m_windows.main.menus.modeItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->checked())
            return forms::kModes[i];
    return std::nullopt;
}

void Session::decodeUpload(const std::string& uploadData)
{
    if (uploadData.size() != image::kImageSize)
        return;
    const int code = image::modeCode(static_cast<std::uint8_t>(uploadData[0]));
    if (const std::optional<Mode> mode = forms::modeOfCode(code)) {
        selectMode(*mode);
    } else {
        // A mode no window edits: the main window takes what it can show, and nothing can be written or saved.
        m_state.currentMode.reset();
        m_state.unknownModeCode = code;
    }
    image::decodeIntoWindows(uploadData, m_windows, m_fields, defaults());
}

void Session::saveShownProfiles()
{
    forms::storeShownNmeaProfile(m_windows);
    forms::storeShownTrackingProfile(m_windows);
}

image::CompileResult Session::compileCurrentMode()
{
    if (!m_state.currentMode)
        return {};
    return image::compileMode(*m_state.currentMode, m_windows, m_fields);
}

image::CompileResult Session::checkAndCompile()
{
    if (!m_state.currentMode)
        return {};
    const Mode mode = *m_state.currentMode;
    if (auto box = validation::checkMode(mode, m_windows))
        return {{}, std::move(box)};
    image::CompileResult result = compileCurrentMode();
    // A refused value of a profile is shown in its profile, as the checks do, so the focus lands on it.
    if (const auto& refusal = result.refusal; refusal && refusal->profile) {
        if (mode == Mode::Nmea)
            forms::selectNmeaProfileTab(m_windows, *refusal->profile - 1);
        else if (mode == Mode::Tracking)
            forms::selectTrackingProfileTab(m_windows, *refusal->profile - 1);
    }
    return result;
}

Session::OpenOutcome Session::openConfigurationFile(const std::string& path)
{
    auto read = readConfigurationFile(path);
    if (auto* box = std::get_if<forms::MessageBox>(&read))
        return {OpenOutcome::Kind::Failed, std::move(*box)};
    takeConfiguration(std::get<ReadFile>(std::move(read)));
    return {};
}

std::variant<Session::ReadFile, forms::MessageBox> Session::readConfigurationFile(const std::string& path)
{
    saveShownProfiles();
    m_state.currentFileName = path;
    auto contents = m_files.readFile(path);
    if (auto* error = std::get_if<storage::FileError>(&contents))
        return storage::readErrorBox(*error);
    forms::Windows windows = m_windows;
    const storage::ListDefaults defaults{m_state.txDelayIndex, m_state.txTailIndex};
    const auto read = storage::readConfiguration(std::get<std::string>(contents), windows, defaults);
    if (const auto* error = std::get_if<storage::FileError>(&read))
        return storage::loadErrorBox(*error);
    return ReadFile{std::get<Mode>(read), std::move(windows)};
}

void Session::takeConfiguration(ReadFile file)
{
    m_windows = std::move(file.windows);
    selectMode(file.mode);
}

std::vector<std::string> Session::configurationLines()
{
    saveShownProfiles();
    if (!m_state.currentMode)
        return {};
    return storage::configurationLines(m_windows, *m_state.currentMode);
}

std::optional<forms::MessageBox> Session::saveConfigurationFile(const std::string& path)
{
    saveShownProfiles();
    m_state.currentFileName = path;
    if (m_state.unknownModeCode)
        return forms::messageBox("Error",
                                 "The VQ-3 holds mode " + std::to_string(*m_state.unknownModeCode) +
                                     ", which this program cannot edit or save.",
                                 forms::Icon::Information);
    if (!m_state.currentMode)
        return selectModeBox();
    return saveConfigurationFile(path, *m_state.currentMode);
}

std::optional<forms::MessageBox> Session::saveConfigurationFile(const std::string& path, Mode mode)
{
    saveShownProfiles();
    m_state.currentFileName = path;
    if (auto error = storage::saveConfiguration(m_files, path, m_windows, mode))
        return storage::writeErrorBox(*error);
    return std::nullopt;
}

void Session::startUp()
{
    fillPickLists();
    clearAllWindows();
}

} // namespace qm::shell
