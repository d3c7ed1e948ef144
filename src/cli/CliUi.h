// The user-interface port on the command line: message boxes are collected for the command to report, progress
// is drawn on one overwritten line of a terminal, and nothing asks the user anything.
#pragma once

#include "shell/Ui.h"

#include <functional>
#include <ostream>
#include <vector>

namespace qm::cli
{

class CliUi : public shell::Ui
{
public:
    /// Progress goes to err only when it is a terminal (showProgress false otherwise).
    CliUi(std::ostream& err, bool showProgress);

    /// Runs after every box is collected (the command decides whether it ends the wait).
    void setBoxHandler(std::function<void(const forms::MessageBox&)> handler) { m_boxHandler = std::move(handler); }
    /// Runs when the program asks to end.
    void setEndHandler(std::function<void()> handler) { m_endHandler = std::move(handler); }

    /// Every box shown, in order.
    const std::vector<forms::MessageBox>& boxes() const { return m_boxes; }
    /// Ends an unfinished progress line, so that what is printed next starts on a line of its own.
    void endProgressLine();

    forms::Button messageBox(const forms::MessageBox& box) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::string openFileDialog(const shell::FileDialogRequest& request) override;
    shell::FileDialogChoice saveFileDialog(const shell::FileDialogRequest& request) override;
    shell::FontSettings fontDialog(const shell::FontSettings& preset) override;
    void setFocus(const std::string& control) override;
    void setMousePointer(shell::Pointer pointer) override;
    void beep() override;
    void showProgress(int done, int total) override;
    void paintNow() override;
    void showHelp(const std::string& helpFile) override;
    std::optional<std::string> chooseDevice(const std::vector<shell::SerialDevice>& present,
                                            const std::string& current) override;
    void endProgram() override;

private:
    std::ostream& m_err;
    bool m_showProgress;
    bool m_lineOpen = false;
    std::vector<forms::MessageBox> m_boxes;
    std::function<void(const forms::MessageBox&)> m_boxHandler;
    std::function<void()> m_endHandler;
};

} // namespace qm::cli
