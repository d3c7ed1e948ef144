// Draws the models into the widgets and passes every user event to the program: widgets are found by their
// objectName, the control's name, so one binder serves every window.
#pragma once

#include "app/FieldInput.h"
#include "forms/Windows.h"

#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;
class QAction;
class QComboBox;
class QLineEdit;

namespace qm::shell
{
class Program;
}

namespace qm::app
{

class ViewBinder : public QObject
{
    Q_OBJECT

public:
    /// roots: the windows whose child widgets show controls (the main window, the mode windows, the welcome
    /// window); windowFor: the top-level widget that shows a window panel (a mode window, the welcome window, the main
    /// window).
    ViewBinder(shell::Program& program, std::vector<QWidget*> roots, std::map<std::string, QWidget*> windows);

    /// Draws every control of the models into its widget, without raising the widgets' own signals. A widget
    /// property is set only where it differs from the model, so a field keeps its cursor and selection.
    void draw();
    /// Sets what is drawn after the models' controls: the widgets the desktop program adds beside them.
    void setAfterDraw(std::function<void()> afterDraw) { m_afterDraw = std::move(afterDraw); }
    /// Returns the widget of a control, if it has one.
    QWidget* widget(const std::string& control) const;

signals:
    /// The user chose a command the desktop program carries out itself (About, Print Preview, ...).
    void desktopCommand(forms::MenuId item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void bind(const std::string& name, QObject* object);
    /// Passes the typing, pastes and completions of a single-line field (or a combo box's edit field) to the program.
    void bindLineEdit(const std::string& name, QLineEdit* line, QComboBox* list = nullptr);
    void changed();
    void drawWindow(const std::string& name, const forms::Panel& panel, QWidget* widget);

    shell::Program& m_program;
    FieldInput m_input;
    std::map<std::string, QObject*> m_objects;
    std::map<QObject*, std::string> m_names;
    std::map<std::string, QWidget*> m_windows;
    /// The minimised state of each mode window as last drawn.
    std::map<std::string, bool> m_drawnMinimized;
    bool m_drawing = false;
    std::function<void()> m_afterDraw;
};

} // namespace qm::app
