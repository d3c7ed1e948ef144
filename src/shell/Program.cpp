// The program as a whole: start-up, the commands of the main window and the welcome window, over the ports.
#include "shell/Program.h"

#include "forms/Controls.h"
#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "forms/Text.h"
#include "reports/ProfileReport.h"
#include "storage/ConfigFile.h"
#include "validation/FieldRules.h"

#include <algorithm>

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

Program::Program(storage::FileSystem& files, Ui& ui, Environment environment)
    : m_files(files), m_ui(ui), m_environment(std::move(environment)), m_form(files),
      m_ini(m_form, ui, files, storage::iniPath(files, m_environment.folders)),
      m_fileCommands(m_form, ui, files, m_environment.currentFolder),
      m_options(files, optionsPath(m_environment.folders))
{}

forms::MessageBox Program::alreadyRunningBox()
{
    return forms::messageBox("Error", "The VQ-3 Configuration Program is already running!", forms::Icon::Warning);
}

std::string Program::helpFile() const
{
    const std::string beside = m_environment.folders.programFolder + "/vq3.hlp";
    // An installed program keeps its help with the shared data: /usr/bin/quellmark reads /usr/share/quellmark/.
    const std::string installed = m_environment.folders.programFolder + "/../share/quellmark/vq3.hlp";
    if (!m_files.fileExists(beside) && m_files.fileExists(installed))
        return installed;
    return beside;
}

bool Program::MDIForm_Load()
{
    m_ui.setMousePointer(Pointer::Busy);
    forms::MainWindowControls& main = m_form.windows().MDIForm1;
    // The main window takes no input until the start-up has decided whether the welcome window covers it.
    main.Window.setEnabled(false);
    for (forms::MenuItem* item :
         {&main.menus.read, &main.menus.write, &main.menus.saveconfiguration, &main.menus.newconfiguration,
          &main.menus.memorizedefaults, &main.menus.printprofiles, &main.menus.printerfont})
        item->setEnabled(false);
    Module1& module = m_form.module();
    module.WelcomeDismissed = false;
    main.Window.setVisible(true);
    module.PrinterPresent = m_environment.printerFont.has_value();
    if (module.PrinterPresent)
        module.PrinterFont = *m_environment.printerFont;
    m_form.LoadComboListBoxes();
    m_form.ClearAll();
    // Where the settings live is decided on the files as the user finds them at start-up.
    m_ini.setPath(storage::iniPath(m_files, m_environment.folders));
    m_options.load();
    module.link.VerifyWrites = m_options.verifyAfterWrite();
    main.menus.verifyafterwrite.setChecked(module.link.VerifyWrites);
    if (!m_ini.LoadIniFile())
        return false;
    if (module.link.ComPortNumber >= 1 && module.link.ComPortNumber <= 4) {
        const auto items = main.menus.comItems();
        for (int n = 1; n <= 4; ++n)
            items[static_cast<std::size_t>(n - 1)]->setChecked(n == module.link.ComPortNumber);
    }
    if (m_link) {
        m_link->TestSerialPort();
        if (module.link.PortError != 0) {
            m_ui.setMousePointer(Pointer::Normal);
            main.Window.setEnabled(true);
            main.ConnectButton.setVisible(false);
            m_link->SelectSerialPort();
        } else {
            m_link->OpenSerialPort();
        }
    }
    // A load of the initialization file that stopped on an error never reached the step that enables the main
    // window; without the welcome window nothing else would, and the program could not be used.
    if (!m_form.windows().Form6.Window.visible())
        main.Window.setEnabled(true);
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

bool Program::write_Click()
{
    if (!m_form.checkedMode()) {
        showBox(selectModeBox());
        return false;
    }
    m_form.saveShownProfiles();
    const Module1& module = m_form.module();
    const bool plainVq3 = forms::trimSpaces(module.link.ModelName) == "VQ-3";
    if (plainVq3 && module.CurrentMode != static_cast<int>(Mode::Tracking) && module.CurrentMode >= 0 &&
        module.CurrentMode < forms::kModeCount) {
        showBox(notOnPlainVq3Box());
        return false;
    }
    if (auto box = m_form.checkAndCompile()) {
        showBox(*box);
        return false;
    }
    if (module.DownloadImage.empty())
        return false;
    if (m_link)
        m_link->startDownload();
    return true;
}

void Program::read_Click()
{
    if (m_link)
        m_link->read_Click();
}

void Program::com_Click(int n)
{
    if (m_link)
        m_link->com_Click(n);
}

void Program::ConnectButton_Click()
{
    if (m_link)
        m_link->ConnectButton_Click();
}

void Program::exit_Click()
{
    if (m_ending)
        return;
    if (m_link && m_link->transferUnderWay()) {
        m_ui.setMousePointer(Pointer::Normal);
        if (m_ui.messageBox(exitDuringTransferBox()) != forms::Button::Yes)
            return;
    }
    m_ending = true;
    // The transfer may have ended while the question was up: then the port closes as at any other time.
    if (m_link && m_link->transferUnderWay()) {
        m_form.windows().MDIForm1.Window.setEnabled(false);
        m_link->closeWhenSent([this] { m_ui.endProgram(); });
        return;
    }
    if (m_link)
        m_link->CloseSerialPort();
    m_ui.endProgram();
}

void Program::verifyafterwrite_Click()
{
    auto& item = m_form.windows().MDIForm1.menus.verifyafterwrite;
    const bool on = !item.checked();
    item.setChecked(on);
    m_form.module().link.VerifyWrites = on;
    if (auto error = m_options.setVerifyAfterWrite(on)) {
        // The choice holds until the program ends either way.
        auto box = storage::writeErrorBox(*error);
        box.details = m_options.path() + ": " + error->reason;
        showBox(box);
    }
}

void Program::contents_Click()
{
    m_ui.showHelp(helpFile());
}

void Program::printprofiles_Click()
{
    const auto mode = static_cast<Mode>(m_form.module().CurrentMode);
    if (!m_printer || !m_clock || (mode != Mode::Nmea && mode != Mode::Tracking))
        return;
    forms::Windows& windows = m_form.windows();
    if (mode == Mode::Nmea)
        forms::SaveCurNMEAProfileToArray(windows);
    else
        forms::SaveCurTrkProfileToArray(windows);
    const LocalTime now = m_clock->now();
    const FontSettings& printerFont = m_form.module().PrinterFont;
    forms::PrintProgressForm& progress = windows.Form8;
    progress.PrintProgress = 0;
    progress.Window.setVisible(true);
    m_ui.paintNow();
    const auto advance = [this, &progress](int profile) {
        progress.PrintProgress = profile;
        m_ui.paintNow();
    };
    const reports::ReportDate date{now.year, now.month, now.day};
    const bool printed = mode == Mode::Nmea
                             ? reports::PrintNMEAProfiles(*m_printer, windows, date, printerFont, advance)
                             : reports::PrintTrackingProfiles(*m_printer, windows, date, printerFont, advance);
    progress.Window.setVisible(false);
    if (!printed)
        showBox(reports::printFailedBox(m_printer->failure()));
}

void Program::printerFound(reports::Printer& printer, const FontSettings& printerFont)
{
    m_printer = &printer;
    Module1& module = m_form.module();
    module.PrinterPresent = true;
    module.PrinterFont = printerFont;
    // The menus take the state choosing the mode shown now would have given them.
    const std::optional<Mode> mode = m_form.checkedMode();
    const bool profiles = mode == Mode::Nmea || mode == Mode::Tracking;
    auto& menus = m_form.windows().MDIForm1.menus;
    menus.printprofiles.setEnabled(profiles);
    menus.printerfont.setEnabled(profiles);
}

void Program::printerfont_Click()
{
    m_form.module().PrinterFont = m_ui.fontDialog(m_form.module().PrinterFont);
}

std::optional<char> Program::keyPress(const std::string& control, char32_t key)
{
    return validation::KeyPress(m_form.windows(), control, key);
}

void Program::myCallChange(const std::string& text)
{
    forms::setMyCall(m_form.windows(), text);
}

void Program::pathClick(Mode mode, int n)
{
    if (auto focus = validation::PathClick(m_form.windows().station(mode), n))
        m_ui.setFocus(*focus);
}

void Program::specialPathLostFocus(Mode mode, int n)
{
    forms::relabelSpecialPath(m_form.windows().station(mode), n);
}

void Program::profileTabClick(Mode mode, int tab)
{
    if (mode == Mode::Nmea)
        forms::selectNMEAProfileTab(m_form.windows(), tab);
    else if (mode == Mode::Tracking)
        forms::selectTrkProfileTab(m_form.windows(), tab);
}

namespace
{

/// A user's edit may not take a text past the field's typing limit. A longer text read from a file may be
/// shortened or edited in place, but not lengthened.
bool withinTypingLimit(const forms::TextField& field, const std::string& text)
{
    const std::size_t limit = field.maxLength();
    return limit == 0 || text.size() <= std::max(limit, field.text().size());
}

/// Returns the special-path or path number (1 to 4) at the end of a control name such as "TelSpecPath3".
std::optional<int> trailingNumber(const std::string& control, std::string_view stem)
{
    const auto at = control.find(stem);
    if (at == std::string::npos || at + stem.size() + 1 != control.size())
        return std::nullopt;
    const char digit = control.back();
    if (digit < '1' || digit > '4')
        return std::nullopt;
    return digit - '0';
}

} // namespace

void Program::textChanged(const std::string& control, const std::string& text)
{
    auto found = forms::findControl(m_form.windows(), control);
    if (!found)
        return;
    if (auto** field = std::get_if<forms::TextField*>(&*found); field && !withinTypingLimit(**field, text))
        return;
    if (control.size() > 6 && control.compare(control.size() - 6, 6, "MyCall") == 0) {
        myCallChange(text);
    } else if (auto** field = std::get_if<forms::TextField*>(&*found)) {
        (*field)->setText(text);
    } else if (auto** list = std::get_if<forms::PickList*>(&*found)) {
        (*list)->setText(text);
    }
}

void Program::listClick(const std::string& control, int index)
{
    auto found = forms::findControl(m_form.windows(), control);
    auto** list = found ? std::get_if<forms::PickList*>(&*found) : nullptr;
    if (!list || !(*list)->setListIndex(index))
        return;
    const auto mode = forms::controlMode(control);
    if (const auto n = trailingNumber(control, "Path"); mode && n && control.find("SpecPath") == std::string::npos)
        pathClick(*mode, *n);
}

void Program::checkClick(const std::string& control, bool checked)
{
    auto found = forms::findControl(m_form.windows(), control);
    if (auto** box = found ? std::get_if<forms::CheckBox*>(&*found) : nullptr)
        (*box)->setValue(checked ? 1 : 0);
}

void Program::optionClick(const std::string& control)
{
    auto found = forms::findControl(m_form.windows(), control);
    if (auto* option = found ? std::get_if<forms::OptionRef>(&*found) : nullptr)
        option->group->setValue(option->option, true);
}

void Program::lostFocus(const std::string& control)
{
    const auto mode = forms::controlMode(control);
    if (const auto n = trailingNumber(control, "SpecPath"); mode && n)
        specialPathLostFocus(*mode, *n);
}

namespace
{

/// Returns the model of a mode window by its name (Form1 to Form5).
forms::Panel* modeWindow(forms::Windows& windows, const std::string& name)
{
    for (int mode = 0; mode < forms::kModeCount; ++mode) {
        forms::Panel& window = windows.station(static_cast<Mode>(mode)).Window;
        if (window.name() == name)
            return &window;
    }
    return nullptr;
}

} // namespace

void Program::windowClosed(const std::string& window)
{
    if (forms::Panel* panel = modeWindow(m_form.windows(), window))
        panel->setVisible(false);
}

void Program::windowMinimized(const std::string& window, bool minimized)
{
    if (forms::Panel* panel = modeWindow(m_form.windows(), window))
        panel->setMinimized(minimized);
}

bool Program::menuCommand(const std::string& item)
{
    static const std::pair<const char*, Mode> kModes[] = {{"telemetry", Mode::Telemetry},
                                                          {"beacon", Mode::Beacon},
                                                          {"nmea", Mode::Nmea},
                                                          {"tracking", Mode::Tracking},
                                                          {"alarm", Mode::Alarm}};
    for (const auto& [name, mode] : kModes)
        if (item == name) {
            m_form.selectMode(mode);
            return true;
        }
    if (item.size() == 4 && item.rfind("com", 0) == 0 && item[3] >= '1' && item[3] <= '4') {
        com_Click(item[3] - '0');
        return true;
    }
    const std::pair<const char*, void (Program::*)()> kProgramCommands[] = {
        {"write", &Program::write_ClickCommand},
        {"read", &Program::read_Click},
        {"exit", &Program::exit_Click},
        {"verifyafterwrite", &Program::verifyafterwrite_Click},
        {"contents", &Program::contents_Click},
        {"printprofiles", &Program::printprofiles_Click},
        {"printerfont", &Program::printerfont_Click}};
    for (const auto& [name, command] : kProgramCommands)
        if (item == name) {
            (this->*command)();
            return true;
        }
    const std::pair<const char*, void (FileCommands::*)()> kFileCommands[] = {
        {"newconfiguration", &FileCommands::newconfiguration_Click},
        {"openconfiguration", &FileCommands::openconfiguration_Click},
        {"saveconfiguration", &FileCommands::saveconfiguration_Click}};
    for (const auto& [name, command] : kFileCommands)
        if (item == name) {
            (m_fileCommands.*command)();
            return true;
        }
    const std::pair<const char*, void (IniSettings::*)()> kIniCommands[] = {
        {"memorizedefaults", &IniSettings::memorizedefaults_Click},
        {"in1200", &IniSettings::in1200_Click},
        {"in2400", &IniSettings::in2400_Click},
        {"in4800", &IniSettings::in4800_Click},
        {"in9600", &IniSettings::in9600_Click},
        {"out300", &IniSettings::out300_Click},
        {"out1200", &IniSettings::out1200_Click}};
    for (const auto& [name, command] : kIniCommands)
        if (item == name) {
            (m_ini.*command)();
            return true;
        }
    return false;
}

void Program::write_ClickCommand()
{
    write_Click();
}

void Program::Command1_Click()
{
    Module1& module = m_form.module();
    module.WelcomeDismissed = true;
    m_ini.SaveComPortToIni();
    forms::WelcomeForm& welcome = m_form.windows().Form6;
    welcome.Window.setVisible(false);
    welcome.topmost = false;
    m_form.windows().MDIForm1.Window.setEnabled(true);
    m_ui.setMousePointer(Pointer::Normal);
}

} // namespace qm::shell
