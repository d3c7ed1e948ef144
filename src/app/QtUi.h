// The user-interface port on Qt Widgets: message boxes, input box, file and font dialogs, focus, pointer, beep,
// progress, help viewer. Before anything modal it has the windows drawn, so a box never shows a stale window.
#pragma once

#include "shell/Ui.h"

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

class QWidget;
class QProgressBar;
class QString;

namespace qm::app
{

class HelpViewer;

class QtUi : public shell::Ui
{
public:
    /// parent owns the dialogs; redraw draws the models into the windows; progress is the status bar's bar.
    QtUi(QWidget& parent, QProgressBar& progress, std::function<void()> redraw);
    ~QtUi() override;

    /// Returns the widget a control name names: set by the view, which knows where every control lives.
    void setWidgetFinder(std::function<QWidget*(const std::string&)> finder) { m_finder = std::move(finder); }

    /// Builds a message box of each kind once and throws it away: the first box of a session loads the style's
    /// icons and lays out text for the first time (5 to 15 ms here), which, done before the main window is drawn,
    /// no later box makes the user wait for.
    void prepareMessageBoxes();

    forms::Button messageBox(const forms::MessageBox& box) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::string openFileDialog(const shell::FileDialogRequest& request) override;
    shell::FileDialogChoice saveFileDialog(const shell::FileDialogRequest& request) override;
    shell::FontSettings fontDialog(const shell::FontSettings& preset) override;
    void setFocus(const std::string& control) override;
    void setMousePointer(shell::Pointer pointer) override;
    void beep() override;
    /// Shows the transfer's progress in the status bar. The bar redraws itself whenever its text changes, so
    /// within a transfer it takes a new count at most every kProgressIntervalMs (the latest when the interval
    /// ends); the first count and the end at once.
    void showProgress(int done, int total) override;
    void paintNow() override;
    void showHelp(const std::string& helpFile) override;
    std::optional<std::string> chooseDevice(const std::vector<shell::SerialDevice>& present,
                                            const std::string& current) override;
    void endProgram() override;

    static constexpr int kProgressIntervalMs = 50;

private:
    void drawProgress();

    QWidget& m_parent;
    QProgressBar& m_progress;
    /// The count to show, and when the bar last took one.
    int m_progressDone = 0;
    int m_progressTotal = 0;
    QElapsedTimer m_progressDrawn;
    QTimer m_progressDue;
    std::function<void()> m_redraw;
    std::function<QWidget*(const std::string&)> m_finder;
    HelpViewer* m_helpViewer = nullptr;
    bool m_busy = false;
    /// The program is ending: no dialog is shown any more, each is answered as if dismissed.
    bool m_ended = false;
};

/// Returns a dialog filter in Qt's form: "VQ-3 Configuration File | *.vq3 | All Files | *" becomes
/// "VQ-3 Configuration File (*.vq3);;All Files (*)".
QString qtFilter(const std::string& filter);

} // namespace qm::app
