// The program's session: every window model with the program state, the pick lists and defaults, mode
// selection, the upload decoding and the configuration-file commands.
#include "shell/Session.h"

#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "image/Decode.h"
#include "image/HeaderBytes.h"
#include "shell/FileCommands.h"
#include "shell/HelpTexts.h"
#include "storage/ConfigFile.h"
#include "validation/ModeChecks.h"

namespace qm::shell
{

using forms::Mode;

namespace
{

void fillList(forms::PickList& list, const std::vector<std::string>& entries)
{
    for (const auto& entry : entries)
        list.addItem(entry);
}

void checkOnly(const std::array<forms::MenuItem*, 4>& items, int index)
{
    for (int i = 0; i < 4; ++i)
        items[static_cast<std::size_t>(i)]->setChecked(i == index);
}

/// The shared defaults every clear puts into a window: My Call, no SSID, no To Call, no paths, timer 0:00.
void clearStation(forms::Windows& windows, forms::StationControls& station, const std::string& myCall)
{
    forms::setMyCall(windows, myCall);
    station.SSID.setText("");
    station.ToCall.setText("");
    for (auto& path : station.Path)
        path.setListIndex(0);
    station.TmrMin.setText("0");
    station.TmrSec.setText("0");
    for (auto& specialPath : station.SpecPath)
        specialPath.setText("");
}

void resetStore(forms::ProfileStore& store, int txDelayIndex, int txTailIndex, const char* symbol)
{
    for (int k = 1; k <= forms::kProfileCount; ++k) {
        forms::ProfileEntry& entry = store.entry(k);
        entry.SSID.clear();
        entry.Path = {};
        entry.Symbol = symbol;
        entry.TmrMin = "0";
        entry.TmrSec = "0";
        entry.TxDelay = std::to_string(txDelayIndex);
        entry.TxTail = std::to_string(txTailIndex);
    }
}

} // namespace

Session::Session(storage::FileSystem& files) : m_files(files)
{}

void Session::fillPickLists()
{
    for (auto& header : m_windows.main.GpsString)
        fillList(header, forms::kDataHeaderEntries);
    for (const forms::Mode mode : forms::kModes) {
        forms::StationControls& station = m_windows.station(mode);
        fillList(station.ToCall, mode == Mode::Tracking ? forms::kTrackingToCallEntries : forms::kToCallEntries);
        for (auto& path : station.Path)
            fillList(path, forms::kPathEntries);
    }
    for (auto& condition : m_windows.alarm.AlmCondition)
        fillList(condition, forms::kConditionEntries);
}

void Session::fillTxListsFor1200Baud()
{
    forms::rebuildTxLists(m_windows, false, m_state.txDelayIndex, m_state.txTailIndex);
}

void Session::fillTxListsFor300Baud()
{
    forms::rebuildTxLists(m_windows, true, m_state.txDelayIndex, m_state.txTailIndex);
}

void Session::clearCommon()
{
    m_fields.profile = {};
    forms::Menus& menus = m_windows.main.menus;
    if (m_state.inputBaudIndex >= 0 && m_state.inputBaudIndex <= 3)
        checkOnly(menus.inputBaudItems(), m_state.inputBaudIndex);
    if (m_state.outputBaudIndex == 0) {
        menus.out1200.setChecked(true);
        menus.out300.setChecked(false);
        fillTxListsFor1200Baud();
    } else if (m_state.outputBaudIndex == 1) {
        menus.out300.setChecked(true);
        menus.out1200.setChecked(false);
        fillTxListsFor300Baud();
    }
    m_windows.main.LEDDisable.setValue(0);
    m_windows.main.MicEncode.setValue(1);
    m_windows.main.ModeLock.setValue(0);
    m_windows.main.AutoMode.setValue(0);
}

void Session::resetSpecialPathEntries(forms::StationControls& station)
{
    for (int n = 1; n <= 4; ++n)
        for (auto& path : station.Path)
            if (forms::specialPathEntry(n) < path.count())
                path.replaceItem(forms::specialPathEntry(n), forms::specialPathLabel(n));
}

void Session::clearTelemetryWindow()
{
    clearCommon();
    forms::TelemetryForm& form = m_windows.telemetry;
    clearStation(m_windows, form.station, m_state.myCall);
    form.TelTxOn.setValue(forms::kCarriageReturn, true);
    form.TelUserTrigChar.setText("");
    resetSpecialPathEntries(form.station);
}

void Session::clearBeaconWindow()
{
    clearCommon();
    forms::BeaconForm& form = m_windows.beacon;
    clearStation(m_windows, form.station, m_state.myCall);
    form.BcnMsgText.setText("");
    resetSpecialPathEntries(form.station);
}

void Session::clearNmeaWindow()
{
    clearCommon();
    forms::NmeaForm& form = m_windows.nmea;
    resetStore(form.store, m_state.txDelayIndex, m_state.txTailIndex, "");
    for (auto& header : m_windows.main.GpsString)
        header.setText("");
    form.NMEATxOn.setValue(forms::kCarriageReturn, true);
    form.NMEAUserTrigChar.setText("");
    form.NMEADeltaEnable.setValue(0);
    clearStation(m_windows, form.station, m_state.myCall);
    resetSpecialPathEntries(form.station);
    forms::selectNmeaProfileTab(m_windows, 0);
}

void Session::clearTrackingWindow()
{
    clearCommon();
    forms::TrackingForm& form = m_windows.tracking;
    resetStore(form.store, m_state.txDelayIndex, m_state.txTailIndex, ">");
    form.TrkSendComments.setValue(0);
    form.TrkDeltaEnable.setValue(0);
    clearStation(m_windows, form.station, m_state.myCall);
    form.station.ToCall.setText("APRS");
    form.TrkSymbol.setText(">");
    form.TrkPrefix.setText("!");
    form.TrkSeparator.setText("/");
    form.TrkComments.setText("");
    resetSpecialPathEntries(form.station);
    forms::selectTrackingProfileTab(m_windows, 0);
}

void Session::clearAlarmWindow()
{
    clearCommon();
    forms::AlarmForm& form = m_windows.alarm;
    clearStation(m_windows, form.station, m_state.myCall);
    form.AlmTxCntrLimit.setText("");
    form.AlmArmDelay.setText("");
    for (auto& message : form.AlarmMsgText)
        message.setText("");
    for (auto& condition : form.AlmCondition)
        condition.setListIndex(1);
    resetSpecialPathEntries(form.station);
}

void Session::clearAllWindows()
{
    clearCommon();
    clearTelemetryWindow();
    clearBeaconWindow();
    clearNmeaWindow();
    clearTrackingWindow();
    clearAlarmWindow();
}

void Session::clearMode(Mode mode)
{
    switch (mode) {
    case Mode::Telemetry:
        return clearTelemetryWindow();
    case Mode::Beacon:
        return clearBeaconWindow();
    case Mode::Nmea:
        return clearNmeaWindow();
    case Mode::Tracking:
        return clearTrackingWindow();
    case Mode::Alarm:
        return clearAlarmWindow();
    }
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
    const std::string& data = uploadData;
    if (data.size() != image::kImageSize)
        return;
    const image::ModeByte modeByte = image::decodeModeByte(static_cast<std::uint8_t>(data[0]));
    const int code = modeByte.modeCode;
    const std::optional<Mode> mode = forms::modeOfCode(code);
    if (mode) {
        selectMode(*mode);
    } else {
        // A mode no window edits: the main window takes what it can show, and nothing can be written or saved.
        m_state.currentMode.reset();
        m_state.unknownModeCode = code;
    }
    forms::MainWindowControls& main = m_windows.main;
    if (mode != Mode::Beacon && mode != Mode::Alarm)
        checkOnly(main.menus.inputBaudItems(), modeByte.inputBaudCode);
    const bool baud300 = modeByte.output300;
    main.menus.out300.setChecked(baud300);
    main.menus.out1200.setChecked(!baud300);
    if (baud300)
        fillTxListsFor300Baud();
    else
        fillTxListsFor1200Baud();
    const image::OptionByte options = image::decodeOptionByte(static_cast<std::uint8_t>(data[1]));
    main.LEDDisable.setValue(options.ledDisable ? 1 : 0);
    main.MicEncode.setValue(options.micEncode ? 1 : 0);
    main.ModeLock.setValue(options.modeLock ? 1 : 0);
    if (const auto autoMode = image::decodeAutoModeByte(static_cast<std::uint8_t>(data[2])))
        main.AutoMode.setValue(*autoMode ? 1 : 0);
    image::splitUpload(data, m_fields);
    if (!mode)
        return;
    forms::setMyCall(m_windows, m_fields.stationCallsign);
    m_windows.station(*mode).ToCall.setText(m_fields.toCall);
    image::fillMode(*mode, m_windows, m_fields);
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
    saveShownProfiles();
    m_state.currentFileName = path;
    auto contents = m_files.readFile(path);
    if (auto* error = std::get_if<storage::FileError>(&contents))
        return {OpenOutcome::Kind::Failed, storage::readErrorBox(*error)};
    const auto lines = storage::splitLines(std::get<std::string>(contents));
    if (lines.empty())
        return {OpenOutcome::Kind::Failed,
                storage::readErrorBox({storage::error::kInputPastEnd, "The file is empty."})};
    const auto mode = storage::fileMode(lines);
    if (!mode)
        return {OpenOutcome::Kind::UnknownMode, std::nullopt};
    const storage::ListDefaults defaults{m_state.txDelayIndex, m_state.txTailIndex};
    if (auto error = storage::loadConfiguration(*mode, m_windows, lines, defaults))
        return {OpenOutcome::Kind::Failed, storage::readErrorBox(*error)};
    selectMode(*mode);
    return {};
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
    if (auto error = storage::saveConfiguration(m_files, path, m_windows, *m_state.currentMode))
        return storage::writeErrorBox(*error);
    return std::nullopt;
}

void Session::startUp()
{
    fillPickLists();
    clearAllWindows();
}

} // namespace qm::shell
