// Every exact text the program shows, compared byte for byte with tests/data/messages.txt: each record there is
// built here by the program's own code, and every builder here has its record.
#include "fakes/MemoryFileSystem.h"
#include "fakes/ScriptedUi.h"
#include "image/CompileShared.h"
#include "link/LinkMessages.h"
#include "reports/ConfigurationSummary.h"
#include "reports/ProfileReport.h"
#include "shell/Backups.h"
#include "shell/ConnectionDisplay.h"
#include "shell/ControlSettings.h"
#include "shell/Document.h"
#include "shell/FileCommands.h"
#include "shell/HelpTexts.h"
#include "shell/IniSettings.h"
#include "shell/Program.h"
#include "shell/UserFolders.h"
#include "storage/ConfigFile.h"
#include "storage/IniFile.h"
#include "validation/ModeChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

namespace qm
{
namespace
{

using forms::MessageBox;
using forms::Mode;

/// Decodes the escapes of a line: \r, \n and \xHH.
std::string unescape(const std::string& line)
{
    std::string bytes;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size())
            bytes += line[i];
        else if (const char c = line[++i]; c == 'x')
            bytes += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16)), i += 2;
        else
            bytes += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return bytes;
}

/// Reads the records by name; a box without text lines has the text of the record above it.
std::map<std::string, MessageBox> readRecords()
{
    static const std::array<std::string, 4> icons{"none", "information", "warning", "critical"};
    static const std::array<std::string, 5> buttons{"ok", "okcancel", "yesno", "savediscardcancel", "yesno-default-no"};
    std::ifstream file(QM_MESSAGES_FILE, std::ios::binary);
    std::map<std::string, MessageBox> records;
    MessageBox* box = nullptr;
    std::string above;
    for (std::string line; std::getline(file, line) || box; line.clear()) {
        if (line.empty() || line[0] == '#') {
            if (box && box->text.empty())
                box->text = above;
            above = box ? box->text : above;
            box = nullptr;
        } else if (box) {
            box->text += unescape(line);
        } else {
            const auto close = line.find(']');
            box = &records[unescape(line.substr(1, close - 1))];
            std::istringstream header(line.substr(close + 1));
            std::vector<std::string> parts;
            for (std::string part; std::getline(header, part, '|');) {
                const auto first = part.find_first_not_of(' ');
                parts.push_back(
                    first == std::string::npos ? "" : part.substr(first, part.find_last_not_of(' ') + 1 - first));
            }
            parts.resize(5);
            box->title = parts[0];
            box->icon = forms::Icon(std::find(icons.begin(), icons.end(), parts[1].empty() ? "none" : parts[1]) -
                                    icons.begin());
            box->buttons = forms::Buttons(
                std::find(buttons.begin(), buttons.end(), parts[2].empty() ? "ok" : parts[2]) - buttons.begin());
            box->focus = parts[3];
            box->details = parts[4];
        }
    }
    return records;
}

MessageBox bare(std::string text)
{
    MessageBox box;
    box.text = std::move(text);
    return box;
}

/// The program with an example configuration opened ("" for none) and changed by control name, as in
/// "tracking; TrkSSID@4=0; TrkPath1@2=".
struct Changed
{
    explicit Changed(const std::string& changes)
    {
        std::vector<std::string> settings;
        for (std::size_t from = 0, end = 0; end != std::string::npos; from = end + 2)
            settings.push_back(changes.substr(from, (end = changes.find("; ", from)) - from));
        session.startUp();
        if (std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + settings[0] + ".vq3"); !settings[0].empty()) {
            files.files["c.vq3"] = {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            session.openConfigurationFile("c.vq3");
        }
        refused = shell::applyControlSettings(session, {settings.begin() + 1, settings.end()});
    }
    fakes::MemoryFileSystem files;
    shell::Session session{files};
    fakes::ScriptedUi ui;
    std::optional<MessageBox> refused;
};

/// The box an open of the example shows once its line (counted from 1) holds the text; a line 0 cuts the example
/// after `text` lines instead, a line -1 makes the file the text alone.
MessageBox openedBox(const std::string& example, int line, const std::string& text)
{
    std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + example + ".vq3");
    auto lines = storage::splitLines({std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    if (line > 0)
        lines.at(static_cast<std::size_t>(line - 1)) = text;
    else if (line == 0)
        lines.resize(std::stoul(text));
    fakes::MemoryFileSystem files;
    files.files["c.vq3"] = line < 0 ? text : storage::joinLines(lines);
    shell::Session session(files);
    session.startUp();
    return session.openConfigurationFile("c.vq3").box.value_or(MessageBox{});
}

/// The box of the mode check after the changes; the mode's prefix in its focus reads "*".
MessageBox checked(const std::string& changes)
{
    Changed changed(changes);
    EXPECT_EQ(changed.refused, std::nullopt);
    const Mode mode = changed.session.state().currentMode.value_or(Mode::Telemetry);
    MessageBox box = validation::checkMode(mode, changed.session.windows()).value_or(MessageBox{});
    const std::string prefix = std::array{"Tel", "Bcn", "NMEA", "Trk", "Alm"}[forms::modeIndex(mode)];
    if (box.focus.starts_with(prefix))
        box.focus = "*" + box.focus.substr(prefix.size());
    return box;
}

/// A first run on an initialization file without port or callsign: no port given once, then port 1.
fakes::ScriptedUi firstRun()
{
    Changed changed("");
    changed.files.files["/vq3.ini"] =
        "0\r\nMYCALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n";
    changed.ui.inputs = {std::nullopt, "1", "N0CALL"};
    shell::IniSettings(changed.session, changed.ui, changed.files, "/vq3.ini").loadSettings();
    changed.ui.boxes.resize(1);
    changed.ui.prompts.resize(3);
    return changed.ui;
}

/// Builds a record from the rest of its name after the builder's name ("" when they are equal).
using Build = std::function<MessageBox(const std::string&)>;

Build fixed(const std::function<MessageBox()>& build)
{
    return [build](const std::string&) { return build(); };
}

Build numbered(const std::function<MessageBox(int)>& build)
{
    return [build](const std::string& rest) { return build(std::stoi(rest)); };
}

Build text(const std::function<std::string(const std::string&)>& build)
{
    return [build](const std::string& rest) { return bare(build(rest)); };
}

/// The builders; one whose name ends in "." builds every record whose name goes on from it.
const std::vector<std::pair<std::string, Build>>& builders()
{
    static const std::string backup = "/home/ham/backups/20260105-120000.vq3";
    static const std::string file = "/home/ham/n0call.vq3";
    static const auto read = [](int n) { return storage::readErrorBox({n, "reason"}); };
    static const auto write = [](int n) { return storage::writeErrorBox({n, "reason"}); };
    static const auto permission = link::PortError::permissionRefused("Permission denied", "/dev/ttyS0", "root");
    static const std::vector<std::pair<std::string, Build>> all{
        {"check.", checked},
        {"set.", [](const std::string& changes) { return Changed(changes).refused.value_or(MessageBox{}); }},
        {"image.refusal",
         fixed([] { return image::refusalBox("TrkSSID", "SSID", 3, image::wholeNumberReason(0, 15)); })},
        {"image.refusalLength",
         fixed([] { return image::refusalBox("BcnMsgText", "Beacon Text", {}, image::lengthReason(76)); })},
        {"link.port.", numbered([](int n) { return link::portErrorBox(n, "COM3"); })},
        {"link.portFailure", fixed([] {
             return link::portFailureBox({8002, "No such file or directory"}, "COM3");
         })},
        {"link.otherDeviceFailure", fixed([] {
             return link::portFailureBox({8002, "No such file or directory"}, "/dev/ttyUSB9");
         })},
        {"link.permissionDenied", fixed([] { return link::permissionDeniedBox("/dev/ttyUSB0", "dialout"); })},
        {"link.permissionDeniedNoGroup", fixed([] { return link::portFailureBox(permission, "COM1"); })},
        {"link.silentPort", text([](auto&) { return shell::silentPortHint("/dev/ttyUSB0"); })},
        {"link.serialPortSelection", fixed(link::serialPortSelectionBox)},
        {"link.readTimeOut", fixed(link::readTimeOutBox)},
        {"link.badReply", fixed(link::badReplyBox)},
        {"link.oldFirmware", fixed([] { return link::oldFirmwareBox(1, 0); })},
        {"link.echoMismatch", fixed(link::echoMismatchBox)},
        {"link.writeTimeOut", fixed(link::writeTimeOutBox)},
        {"link.downloadComplete", fixed(link::downloadCompleteBox)},
        {"link.readBackFailed", fixed(link::readBackFailedBox)},
        {"link.writeNotVerified", fixed([] { return link::writeNotVerifiedBox("To Call", backup); })},
        {"link.writeNotVerifiedNoBackup", fixed([] { return link::writeNotVerifiedBox("To Call", ""); })},
        {"shell.unkeptBackup", fixed([] {
             return shell::unkeptBackupBox({"/home/ham/.local/share/quellmark/backups", "No space left on device"});
         })},
        {"shell.unkeptBackupNoFolder", fixed([] {
             return shell::unkeptBackupBox(
                 {"", "There is no folder for backups: neither XDG_DATA_HOME nor HOME names a folder of this user."});
         })},
        {"shell.foreignHome", text([](auto&) {
             const shell::BaseFolders given{"", "", "", "/home/ham", "/root"};
             return shell::chooseUserFolders(given, "quellmark", "root", [](auto&) { return false; }).notice;
         })},
        {"shell.foreignFolders", text([](auto&) {
             const shell::BaseFolders given{"", "/home/ham/.local/share", "", "/home/ham", ""};
             return shell::chooseUserFolders(given, "vq3", "root", [](auto&) { return false; }).notice;
         })},
        {"shell.earlierConfiguration", text([](auto&) { return shell::earlierConfigurationSentence(backup); })},
        {"file.read.", numbered(read)},
        {"file.write.", numbered(write)},
        {"file.shared.", numbered(read)},
        {"file.shared.", numbered(write)},
        {"ini.load.", numbered([](int n) {
             return storage::iniLoadErrorBox({n, "reason"});
         })},
        {"ini.save.", numbered([](int n) {
             return storage::iniSaveErrorBox({n, "reason"});
         })},
        {"ini.noSerialPort", fixed([] { return firstRun().boxes[0]; })},
        {"ini.portPrompt", text([](auto&) { return firstRun().prompts[1]; })},
        {"ini.callPrompt", text([](auto&) { return firstRun().prompts[2]; })},
        {"ini.defaultsMemorized", fixed([] {
             Changed changed("");
             shell::IniSettings(changed.session, changed.ui, changed.files, "/vq3.ini").saveDefaults();
             return changed.ui.boxes.empty() ? MessageBox{} : changed.ui.boxes.back();
         })},
        {"shell.alreadyRunning", fixed(shell::Program::alreadyRunningBox)},
        {"shell.selectMode", fixed(shell::selectModeBox)},
        {"shell.notOnPlainVq3", fixed(shell::notOnPlainVq3Box)},
        {"shell.overwrite", fixed([] { return shell::overwriteBox(" " + file + " "); })},
        {"shell.exitDuringTransfer", fixed(shell::exitDuringTransferBox)},
        {"file.load.position", fixed([] { return openedBox("telemetry", 15, "12"); })},
        {"file.load.trueFalse", fixed([] { return openedBox("telemetry", 19, "Maybe"); })},
        {"file.load.mode", fixed([] { return openedBox("telemetry", 1, "7"); })},
        {"file.load.short", fixed([] { return openedBox("beacon", 0, "12"); })},
        {"file.load.empty", fixed([] { return openedBox("beacon", -1, ""); })},
        {"shell.unsavedFile", fixed([] { return shell::unsavedChangesBox(file, Mode::Nmea); })},
        {"shell.unsavedMode", fixed([] { return shell::unsavedChangesBox("", Mode::Tracking); })},
        {"shell.unsavedNoMode", fixed([] { return shell::unsavedChangesBox("", std::nullopt); })},
        {"shell.unknownMode", fixed([] {
             Changed changed("");
             changed.session.state().unknownModeCode = 6;
             return changed.session.saveConfigurationFile(file).value_or(MessageBox{});
         })},
        {"reports.printFailed", fixed([] { return reports::printFailedBox({}); })},
        {"reports.printFailedOn", fixed([] {
             return reports::printFailedBox({"LaserJet 4", "Out of paper."});
         })},
        {"help.", text([](const std::string& name) {
             for (const Mode mode : {Mode::Telemetry, Mode::Beacon, Mode::Nmea, Mode::Tracking, Mode::Alarm})
                 if (forms::modeName(mode) == name)
                     return shell::modeHelpText(mode);
             return std::string();
         })},
        {"tip.unticked.", text([](const std::string& box) { return shell::optionToolTip(box, false); })},
        {"tip.ticked.", text([](const std::string& box) { return shell::optionToolTip(box, true); })},
        {"tip.status.", text([](const std::string& caption) { return shell::statusToolTip(caption); })},
        {"hint.modeArea", text([](auto&) { return forms::Windows().main.ModeAreaHintText.caption(); })},
    };
    return all;
}

TEST(MessagesTest, EveryRecordIsWhatTheProgramShows)
{
    const auto records = readRecords();
    ASSERT_GT(records.size(), 100u);
    std::set<std::string> built;
    for (const auto& [builder, build] : builders()) {
        const bool family = builder.ends_with('.');
        bool found = false;
        for (const auto& [name, record] : records) {
            if (family ? !name.starts_with(builder) : name != builder)
                continue;
            found = true;
            built.insert(name);
            SCOPED_TRACE(name);
            const MessageBox box = build(family ? name.substr(builder.size()) : "");
            EXPECT_EQ(box.text, record.text);
            EXPECT_EQ(box.title, record.title);
            EXPECT_EQ(box.icon, record.icon);
            EXPECT_EQ(box.buttons, record.buttons);
            EXPECT_EQ(box.focus, record.focus);
            EXPECT_EQ(box.details, record.details);
        }
        EXPECT_TRUE(found) << builder << " has no record";
    }
    for (const auto& [name, record] : records)
        EXPECT_EQ(built.count(name), 1u) << name << " has no builder";
}

} // namespace
} // namespace qm
