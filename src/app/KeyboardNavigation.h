// The keys that move about the main window beyond Tab: F6 and Shift+F6 between its panels and the mode window,
// Ctrl+Tab and Ctrl+PageDown to the next profile tab, Ctrl+Shift+Tab and Ctrl+PageUp to the one before.
#pragma once

#include <QList>
#include <QObject>

class QWidget;

namespace qm::shell
{
class Program;
}

namespace qm::app
{

class MainWindow;
class ViewBinder;

/// Returns the widgets within `area` that Tab stops at now, in the window's tab order: shown, enabled, taking
/// the focus by Tab, and not passing it on to another widget.
QList<QWidget*> tabStops(const QWidget& area);

class KeyboardNavigation : public QObject
{
    Q_OBJECT

public:
    KeyboardNavigation(shell::Program& program, MainWindow& window, ViewBinder& binder);

private:
    /// Moves the focus to the next part of the window that holds a control in use (the one before).
    void moveToArea(bool forward);
    void stepProfileTab(int step);

    shell::Program& m_program;
    MainWindow& m_window;
    ViewBinder& m_binder;
};

} // namespace qm::app
