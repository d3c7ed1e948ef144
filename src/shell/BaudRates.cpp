// The Setup menu's baud rates: the item checked for each code vq3.ini keeps, and the commands that choose one.
#include "shell/BaudRates.h"

#include "shell/IniSettings.h"
#include "shell/Session.h"

namespace qm::shell
{

namespace
{

constexpr int kOutput1200 = 0;
constexpr int kOutput300 = 1;

} // namespace

void showInputBaud(forms::Menus& menus, int code)
{
    const auto items = menus.inputBaudItems();
    if (code < 0 || code >= static_cast<int>(items.size()))
        return;
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i]->setChecked(static_cast<int>(i) == code);
}

void showOutputBaud(Session& session, int code)
{
    if (code != kOutput1200 && code != kOutput300)
        return;
    forms::Menus& menus = session.windows().main.menus;
    menus.out300.setChecked(code == kOutput300);
    menus.out1200.setChecked(code == kOutput1200);
    if (code == kOutput300)
        session.fillTxListsFor300Baud();
    else
        session.fillTxListsFor1200Baud();
}

std::optional<int> checkedInputBaud(const forms::Menus& menus)
{
    const auto items = menus.inputBaudItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i]->checked())
            return static_cast<int>(i);
    return std::nullopt;
}

std::optional<int> checkedOutputBaud(const forms::Menus& menus)
{
    if (menus.out300.checked())
        return kOutput300;
    if (menus.out1200.checked())
        return kOutput1200;
    return std::nullopt;
}

void chooseInputBaud(Session& session, IniSettings& ini, int code)
{
    showInputBaud(session.windows().main.menus, code);
    ini.saveInputBaudRate();
}

void chooseOutputBaud(Session& session, IniSettings& ini, int code)
{
    showOutputBaud(session, code);
    ini.saveOutputBaudRate();
}

} // namespace qm::shell
