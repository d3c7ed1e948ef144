// The user-interface port: what only a toolkit can do, asked for by the core. The desktop program implements
// it with Qt; tests use a scripted double. Window visibility and captions are model state, not port calls:
// the desktop program draws the models before it shows anything modal.
#pragma once

#include "forms/MessageBox.h"
#include "reports/Printer.h"
#include "shell/SerialDevices.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

enum class Pointer
{
    Normal,
    /// Arrow with hourglass.
    Busy,
};

/// An open or save file dialog as the program asks for it.
struct FileDialogRequest
{
    std::string title;
    /// The filter as the program writes it, pairs of a name and a pattern joined by "|":
    /// "VQ-3 Configuration File | *.vq3 | All Files | *".
    std::string filter;
    std::string initialFolder;
    std::string initialName;

    bool operator==(const FileDialogRequest&) const = default;
};

/// What the user chose in a save file dialog.
struct FileDialogChoice
{
    /// The chosen full path; "" when cancelled.
    std::string path;
    /// The filter in use when the dialog closed, counted from 1 in the request's order.
    int filterIndex = 1;

    bool operator==(const FileDialogChoice&) const = default;
};

/// The printer font: name, whole-point size and the four styles (the reports' own font settings).
using FontSettings = reports::PrinterFont;

class Ui
{
public:
    virtual ~Ui() = default;

    /// Shows a modal message box and returns the button the user chose.
    virtual forms::Button messageBox(const forms::MessageBox& box) = 0;
    /// Shows the one-line input box; returns the answer, or nothing when the user cancels.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    /// Shows the open file dialog; returns the chosen full path, "" when cancelled.
    virtual std::string openFileDialog(const FileDialogRequest& request) = 0;
    /// Shows the save file dialog; returns the chosen full path ("" when cancelled) and the filter in use.
    virtual FileDialogChoice saveFileDialog(const FileDialogRequest& request) = 0;
    /// Shows the font dialog preset with the settings; returns the chosen ones (the preset when cancelled).
    virtual FontSettings fontDialog(const FontSettings& preset) = 0;
    /// Moves the input focus to the control with this name.
    virtual void setFocus(const std::string& control) = 0;
    virtual void setMousePointer(Pointer pointer) = 0;
    /// Sounds the system beep.
    virtual void beep() = 0;
    /// Shows how far a read or write has come (bytes done of total); done == total ends the display.
    virtual void showProgress(int done, int total) = 0;
    /// Draws the models into the windows at once, while a long command (a report) holds the event thread.
    virtual void paintNow() = 0;
    /// Opens the help file at its contents page in the help viewer.
    virtual void showHelp(const std::string& helpFile) = 0;
    /// Asks for a serial device: one of those present, or a path the user types; preset with the current choice.
    /// Returns the path, or nothing when the user cancels.
    virtual std::optional<std::string> chooseDevice(const std::vector<SerialDevice>& present,
                                                    const std::string& current) = 0;
    /// Ends the program at once (after the core has closed what it must).
    virtual void endProgram() = 0;
};

} // namespace qm::shell
