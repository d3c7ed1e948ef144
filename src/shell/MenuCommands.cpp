// The menu commands the core carries out, each by its item.
#include "shell/MenuCommands.h"

#include "shell/BaudRates.h"
#include "shell/Program.h"

namespace qm::shell
{

namespace
{

/// The commands of the File menu; false for any other item.
bool fileMenuCommand(Program& program, forms::MenuId item)
{
    using forms::MenuId;
    switch (item) {
    case MenuId::NewConfiguration:
        program.fileCommands().newConfiguration();
        return true;
    case MenuId::OpenConfiguration:
        program.fileCommands().openConfiguration();
        return true;
    case MenuId::Save:
        program.fileCommands().save();
        return true;
    case MenuId::SaveConfigurationAs:
        program.fileCommands().saveConfigurationAs();
        return true;
    case MenuId::MemorizeDefaults:
        program.ini().memorizeDefaults();
        return true;
    case MenuId::PrintProfiles:
        program.reports().printProfiles();
        return true;
    case MenuId::PrinterFont:
        program.reports().choosePrinterFont();
        return true;
    case MenuId::Exit:
        program.exit();
        return true;
    default:
        return false;
    }
}

/// Read, Write and the commands of the Setup and Help menus that take no number; false for any other item.
bool otherMenuCommand(Program& program, forms::MenuId item)
{
    using forms::MenuId;
    switch (item) {
    case MenuId::Read:
        program.read();
        return true;
    case MenuId::Write:
        program.write();
        return true;
    case MenuId::OtherDevice:
        program.ports().chooseOtherDevice();
        return true;
    case MenuId::VerifyAfterWrite:
        program.toggleVerifyAfterWrite();
        return true;
    case MenuId::Contents:
        program.showHelpContents();
        return true;
    default:
        return false;
    }
}

} // namespace

bool carryOutMenuCommand(Program& program, forms::MenuId item)
{
    using forms::MenuId;
    using forms::placeInRow;
    if (const auto mode = placeInRow(item, MenuId::Telemetry, forms::kModeCount)) {
        program.session().selectMode(forms::kModes[static_cast<std::size_t>(*mode)]);
        return true;
    }
    if (const auto recent = placeInRow(item, MenuId::RecentFile1, 5)) {
        program.fileCommands().openRecentFile(*recent + 1);
        return true;
    }
    if (const auto port = placeInRow(item, MenuId::Com1, 4)) {
        program.ports().selectComPort(*port + 1);
        return true;
    }
    if (const auto code = placeInRow(item, MenuId::In1200, 4)) {
        chooseInputBaud(program.session(), program.ini(), *code);
        return true;
    }
    if (item == MenuId::Out300 || item == MenuId::Out1200) {
        chooseOutputBaud(program.session(), program.ini(), item == MenuId::Out300 ? 1 : 0);
        return true;
    }
    return fileMenuCommand(program, item) || otherMenuCommand(program, item);
}

} // namespace qm::shell
