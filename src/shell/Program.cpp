// The program as a whole: start-up, the commands of the main window and the welcome window, over the ports.
#include "shell/Program.h"

#include "forms/Controls.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "reports/ProfileReport.h"
#include "shell/ConnectionDisplay.h"
#include "shell/Keyboard.h"
#include "shell/MenuCommands.h"
#include "storage/ConfigFile.h"
#include "validation/FieldRules.h"
#include "validation/TextEntry.h"

#include <algorithm>
#include <functional>

namespace qm::shell
{

using forms::Mode;

forms::MessageBox notOnPlainVq3Box()
{
    return forms::messageBox("Error",
                             "Sorry - The mode that you have attempted to program is not available"
                             " on the Model VQ-3.  You will need to upgrade your VQ-3 to a VQ-3+"
                             " to use this mode.",
                             forms::Icon::Information);
}

forms::MessageBox exitDuringTransferBox()
{
    return forms::messageBox("Transfer In Progress",
                             "The program is exchanging a configuration with the VQ-3. If it ends now, the transfer "
                             "is broken off and the VQ-3 is told to discard it.\r\n\r\nEnd the program anyway?",
                             forms::Icon::Warning, forms::Buttons::YesNo);
}

namespace
{

std::string optionsPath(const storage::ProgramFolders& folders)
{
    return folders.configFolder.empty() ? std::string{} : folders.configFolder + "/" + ProgramOptions::kFileName;
}

} // namespace

Program::Program(storage::FileSystem& files, Ui& ui, Environment environment, const LinkMaker& makeLink)
    : m_files(files), m_ui(ui), m_environment(std::move(environment)), m_session(files),
      m_ini(m_session, ui, files, storage::iniPath(files, m_environment.folders)),
      m_fileCommands(m_session, ui, files, m_environment.homeFolder),
      m_options(files, optionsPath(m_environment.folders)), m_link(makeLink ? &makeLink(m_session, m_ini) : nullptr),
      m_ports(m_session, ui, m_ini, m_options, m_link), m_reports(m_session, ui, files, m_fileCommands)
{
    m_fileCommands.setOptions(&m_options);
}

forms::MessageBox Program::alreadyRunningBox()
{
    return forms::messageBox("Error", "The VQ-3 Configuration Program is already running!", forms::Icon::Warning);
}

std::string Program::helpFile() const
{
    std::string beside = m_environment.folders.programFolder + "/vq3.hlp";
    // An installed program keeps its help with the shared data: /usr/bin/quellmark reads /usr/share/quellmark/.
    std::string installed = m_environment.folders.programFolder + "/../share/quellmark/vq3.hlp";
    if (!m_files.fileExists(beside) && m_files.fileExists(installed))
        return installed;
    return beside;
}

bool Program::start()
{
    m_ui.setMousePointer(Pointer::Busy);
    forms::MainWindowControls& main = m_session.windows().main;
    // The main window takes no input until the start-up has decided whether the welcome window covers it.
    main.window.setEnabled(false);
    for (forms::MenuItem* item : {&main.menus.read, &main.menus.write, &main.menus.saveconfiguration, &main.menus.save,
                                  &main.menus.newconfiguration, &main.menus.memorizedefaults, &main.menus.printprofiles,
                                  &main.menus.printerfont})
        item->setEnabled(false);
    ProgramState& state = m_session.state();
    state.printerPresent = m_environment.printerFont.has_value();
    if (state.printerPresent)
        state.printerFont = *m_environment.printerFont;
    m_session.fillPickLists();
    m_session.clearAllWindows();
    // Where the settings live is decided on the files as the user finds them at start-up.
    m_ini.setPath(storage::iniPath(m_files, m_environment.folders));
    m_options.load();
    m_fileCommands.refreshRecentFiles();
    state.link.verifyWrites = m_options.verifyAfterWrite();
    state.link.otherDevice = m_options.otherDevice();
    main.menus.verifyafterwrite.setChecked(state.link.verifyWrites);
    if (!m_ini.loadSettings())
        return false;
    m_ports.checkPortItem();
    if (m_link) {
        m_link->testPort();
        if (state.link.portTestFailed) {
            m_ui.setMousePointer(Pointer::Normal);
            main.window.setEnabled(true);
            main.ConnectButton.setVisible(false);
            m_link->askToChoosePort();
        } else {
            m_link->openPort();
        }
    }
    // A load of the initialization file that stopped on an error never reached the step that enables the main
    // window; without the welcome window nothing else would, and the program could not be used.
    if (!m_session.windows().welcome.window.visible())
        main.window.setEnabled(true);
    // What start-up put into the windows is no one's work: only what the user changes from here on is asked about.
    m_session.document().setUntitled(m_session.windows());
    m_ui.setMousePointer(Pointer::Normal);
    return true;
}

void Program::showBox(const forms::MessageBox& box)
{
    m_ui.setMousePointer(Pointer::Normal);
    m_ui.messageBox(box);
    if (!box.focus.empty())
        m_ui.setFocus(box.focus);
}

bool Program::write()
{
    if (!m_session.checkedMode()) {
        showBox(selectModeBox());
        return false;
    }
    m_session.saveShownProfiles();
    const ProgramState& state = m_session.state();
    const bool plainVq3 = forms::trimSpaces(state.link.modelName) == "VQ-3";
    if (plainVq3 && state.currentMode && *state.currentMode != Mode::Tracking) {
        showBox(notOnPlainVq3Box());
        return false;
    }
    const image::CompileResult compiled = m_session.checkAndCompile();
    if (compiled.refusal) {
        showBox(*compiled.refusal);
        return false;
    }
    if (compiled.downloadImage.empty())
        return false;
    if (m_link)
        m_link->startDownload(compiled.downloadImage);
    return true;
}

void Program::read()
{
    if (!m_link)
        return;
    const bool asked = m_session.document().modified(m_session.windows());
    if (!m_fileCommands.settleUnsavedChanges())
        return;
    // While the question was up the unit may have gone, or a read begun.
    if (asked && !m_session.windows().main.menus.read.enabled())
        return;
    m_link->read();
}

void Program::openFile(const std::string& path)
{
    m_fileCommands.openFile(path);
}

std::string Program::windowTitle() const
{
    return m_fileCommands.windowTitle();
}

std::optional<ProgramOptions::WindowPlace> Program::rememberedWindowPlace()
{
    m_options.load();
    return m_options.windowPlace();
}

void Program::keepWindowPlace(const ProgramOptions::WindowPlace& place)
{
    // The place is a convenience: a settings file that cannot be written costs the user nothing else, and the
    // program is ending, so no box holds it up.
    if (m_options.windowPlace() != place)
        (void)m_options.setWindowPlace(place);
}

void Program::exit()
{
    if (m_ending)
        return;
    // A signal may end the program while a question is up: then nothing more is done here.
    if (!m_fileCommands.settleUnsavedChanges() || m_ending)
        return;
    if (m_link && m_link->transferUnderWay()) {
        m_ui.setMousePointer(Pointer::Normal);
        const bool endAnyway = m_ui.messageBox(exitDuringTransferBox()) == forms::Button::Yes;
        // A transfer that ended while the question was up leaves nothing to break off: the Exit asked for goes
        // ahead, whatever the answer.
        if (m_ending || (!endAnyway && m_link->transferUnderWay()))
            return;
    }
    endNow();
}

void Program::endOnSignal()
{
    if (m_ending)
        return;
    endNow();
}

void Program::endNow()
{
    m_ending = true;
    // The transfer may have ended while the question was up: then the port closes as at any other time.
    if (m_link && m_link->transferUnderWay()) {
        m_session.windows().main.window.setEnabled(false);
        m_link->closeWhenSent([this] { m_ui.endProgram(); });
        return;
    }
    if (m_link)
        m_link->closePort();
    m_ui.endProgram();
}

void Program::toggleVerifyAfterWrite()
{
    auto& item = m_session.windows().main.menus.verifyafterwrite;
    const bool on = !item.checked();
    item.setChecked(on);
    m_session.state().link.verifyWrites = on;
    if (auto error = m_options.setVerifyAfterWrite(on)) {
        // The choice holds until the program ends either way.
        auto box = storage::writeErrorBox(*error);
        box.details = m_options.path() + ": " + error->reason;
        showBox(box);
    }
}

void Program::showHelpContents()
{
    m_ui.showHelp(helpFile());
}

void Program::pathClick(Mode mode, int n)
{
    if (auto focus = validation::pathChosen(m_session.windows().station(mode), n))
        m_ui.setFocus(*focus);
}

void Program::specialPathLostFocus(Mode mode, int n)
{
    forms::relabelSpecialPath(m_session.windows().station(mode), n);
}

std::vector<int> Program::copyShownProfile(Mode mode, const std::vector<int>& profiles)
{
    return forms::copyShownProfile(m_session.windows(), mode, profiles);
}

void Program::profileTabClick(Mode mode, int tab)
{
    if (mode == Mode::Nmea)
        forms::selectNmeaProfileTab(m_session.windows(), tab);
    else if (mode == Mode::Tracking)
        forms::selectTrackingProfileTab(m_session.windows(), tab);
}

namespace
{

/// The text a field or an editable pick list holds; "" for any other control.
std::string fieldText(const forms::Control& control)
{
    if (auto* const* field = std::get_if<forms::TextField*>(&control))
        return (*field)->text();
    if (auto* const* list = std::get_if<forms::PickList*>(&control))
        return (*list)->text();
    return {};
}

/// The model takes a field's new text; a My Call field's goes to all five windows.
void takeText(forms::Windows& windows, const forms::PlacedControl& found, const std::string& text)
{
    if (found.place.role == forms::Role::MyCall)
        forms::setMyCall(windows, text);
    else if (auto* const* field = std::get_if<forms::TextField*>(&found.control))
        (*field)->setText(text);
    else if (auto* const* list = std::get_if<forms::PickList*>(&found.control))
        (*list)->setText(text);
}

/// Adds the completion an editable pick list offers for the text typed up to its end, through the list's typing
/// filter as typed characters go.
void addCompletion(forms::Windows& windows, const std::string& control, const forms::PickList& list,
                   validation::EnteredText& entered)
{
    const std::string rest = listCompletion(list, entered.text);
    std::u32string offered;
    for (const char c : rest)
        offered.push_back(static_cast<unsigned char>(c));
    const std::size_t end = entered.text.size();
    validation::EnteredText completed = validation::enterText(windows, control, entered.text, {end, end, offered});
    entered.completion = completed.text.size() - end;
    entered.text = std::move(completed.text);
}

} // namespace

validation::EnteredText Program::enterText(const std::string& control, const validation::TextChange& change,
                                           bool complete)
{
    forms::Windows& windows = m_session.windows();
    const auto found = forms::locateControl(windows, control);
    if (!found)
        return {};
    validation::EnteredText entered = validation::enterText(windows, control, fieldText(found->control), change);
    auto* const* list = std::get_if<forms::PickList*>(&found->control);
    const bool typedToTheEnd = entered.cursor > change.start && entered.cursor == entered.text.size();
    if (complete && list && (*list)->editable() && typedToTheEnd)
        addCompletion(windows, control, **list, entered);
    takeText(windows, *found, entered.text);
    return entered;
}

void Program::textRestored(const std::string& control, const std::string& text)
{
    if (const auto found = forms::locateControl(m_session.windows(), control))
        takeText(m_session.windows(), *found, text);
}

void Program::textChanged(const std::string& control, const std::string& text)
{
    forms::Windows& windows = m_session.windows();
    const auto found = forms::locateControl(windows, control);
    if (!found)
        return;
    const std::string current = fieldText(found->control);
    std::u32string offered;
    for (const char c : text)
        offered.push_back(static_cast<unsigned char>(c));
    takeText(windows, *found, validation::enterText(windows, control, current, {0, current.size(), offered}).text);
}

void Program::listClick(const std::string& control, int index)
{
    auto found = forms::locateControl(m_session.windows(), control);
    auto** list = found ? std::get_if<forms::PickList*>(&found->control) : nullptr;
    if (!list || !(*list)->setListIndex(index))
        return;
    if (const forms::ControlPlace& place = found->place; place.mode && place.role == forms::Role::Path)
        pathClick(*place.mode, place.number);
}

void Program::checkClick(const std::string& control, bool checked)
{
    auto found = forms::findControl(m_session.windows(), control);
    if (auto** box = found ? std::get_if<forms::CheckBox*>(&*found) : nullptr)
        (*box)->setValue(checked ? 1 : 0);
}

void Program::optionClick(const std::string& control)
{
    auto found = forms::findControl(m_session.windows(), control);
    if (auto* option = found ? std::get_if<forms::OptionRef>(&*found) : nullptr)
        option->group->setValue(option->option, true);
}

void Program::lostFocus(const std::string& control)
{
    const auto found = forms::locateControl(m_session.windows(), control);
    if (found && found->place.mode && found->place.role == forms::Role::SpecialPath)
        specialPathLostFocus(*found->place.mode, found->place.number);
}

namespace
{

/// Returns the model of a mode window by its object name.
forms::Panel* modeWindow(forms::Windows& windows, const std::string& name)
{
    for (const forms::Mode mode : forms::kModes) {
        forms::Panel& window = windows.station(mode).window;
        if (window.name() == name)
            return &window;
    }
    return nullptr;
}

} // namespace

void Program::windowClosed(const std::string& window)
{
    if (forms::Panel* panel = modeWindow(m_session.windows(), window))
        panel->setVisible(false);
    forms::updateModeAreaHint(m_session.windows());
}

void Program::buttonClick(const std::string& button)
{
    if (button == "ConnectButton")
        m_ports.disconnectUnit();
    else if (button == "ReadUnitButton" && m_session.windows().main.menus.read.enabled())
        read();
    else if (button == "OpenFileButton")
        m_fileCommands.openConfiguration();
}

void Program::windowMinimized(const std::string& window, bool minimized)
{
    if (forms::Panel* panel = modeWindow(m_session.windows(), window))
        panel->setMinimized(minimized);
}

bool Program::menuCommand(forms::MenuId item)
{
    return carryOutMenuCommand(*this, item);
}

void Program::menuOpened(forms::MenuId menu)
{
    if (menu == forms::MenuId::RecentFiles)
        m_fileCommands.refreshRecentFiles();
    else if (menu == forms::MenuId::SerialPort)
        m_ports.refreshPortMenu();
}

void Program::settleMenus()
{
    forms::MainWindowControls& main = m_session.windows().main;
    forms::Menus& menus = main.menus;
    const bool usable = main.window.enabled() && menus.openconfiguration.enabled();
    const bool report = usable && m_reports.profileReportAvailable();
    menus.printpreview.setEnabled(report);
    menus.exportpdf.setEnabled(report);
    menus.restorebackup.setEnabled(usable && m_backupsKept);
}

void Program::confirmWelcome()
{
    ProgramState& state = m_session.state();
    state.welcomeDismissed = true;
    m_ini.saveComPort();
    forms::WelcomeForm& welcome = m_session.windows().welcome;
    welcome.window.setVisible(false);
    welcome.topmost = false;
    m_session.windows().main.window.setEnabled(true);
    m_ui.setMousePointer(Pointer::Normal);
}

} // namespace qm::shell
