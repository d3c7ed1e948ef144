// The user-interface port on the command line.
#include "cli/CliUi.h"

namespace qm::cli
{

CliUi::CliUi(std::ostream& err, bool showProgress) : m_err(err), m_showProgress(showProgress)
{}

void CliUi::endProgressLine()
{
    if (!m_lineOpen)
        return;
    m_err << '\n' << std::flush;
    m_lineOpen = false;
}

forms::Button CliUi::messageBox(const forms::MessageBox& box)
{
    m_boxes.push_back(box);
    if (m_boxHandler)
        m_boxHandler(box);
    // Nobody is there to answer: a question takes its safe answer.
    switch (box.buttons) {
    case forms::Buttons::OkCancel:
    case forms::Buttons::SaveDiscardCancel:
        return forms::Button::Cancel;
    case forms::Buttons::YesNo:
    case forms::Buttons::YesNoDefaultNo:
        return forms::Button::No;
    case forms::Buttons::Ok:
        break;
    }
    return forms::Button::Ok;
}

std::optional<std::string> CliUi::inputBox(const std::string&, const std::string&, const std::string&)
{
    return std::nullopt;
}

std::string CliUi::openFileDialog(const shell::FileDialogRequest&)
{
    return {};
}

shell::FileDialogChoice CliUi::saveFileDialog(const shell::FileDialogRequest&)
{
    return {};
}

shell::FontSettings CliUi::fontDialog(const shell::FontSettings& preset)
{
    return preset;
}

void CliUi::setFocus(const std::string&)
{}

void CliUi::setMousePointer(shell::Pointer)
{}

void CliUi::beep()
{}

void CliUi::paintNow()
{
    // A command line has no windows to paint.
}

void CliUi::showProgress(int done, int total)
{
    if (!m_showProgress)
        return;
    // Carriage return and erase-to-end-of-line redraw the one line in place.
    m_err << "\rbytes " << done << " of " << total << "\x1b[K" << std::flush;
    m_lineOpen = true;
    if (done >= total)
        endProgressLine();
}

void CliUi::showHelp(const std::string&)
{}

std::optional<std::string> CliUi::chooseDevice(const std::vector<shell::SerialDevice>&, const std::string&)
{
    // vq3 names its device on the command line; there is nobody to ask.
    return std::nullopt;
}

void CliUi::endProgram()
{
    if (m_endHandler)
        m_endHandler();
}

} // namespace qm::cli
