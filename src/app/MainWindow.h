// The main window: the menu bar, the panel area (Data Header, VQ-3 Status, Options), the frame that
// holds the mode windows, and a status bar with the progress of a read or write.
#pragma once

#include "forms/MenuLayout.h"

#include <QMainWindow>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QProgressBar;

namespace qm::app
{

/// Every menu and submenu is a QMenu named after its item, and its menuAction() carries the same name, so every
/// item of the menu bar (menus, commands, separators) is a QAction found by its name.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    /// Adds a mode window as a child window of the frame; returns its sub-window. Closing the sub-window hides
    /// it; it is never deleted before the main window.
    QMdiSubWindow* addModeWindow(QWidget* window);
    /// The progress bar of the status bar (hidden while no read or write runs).
    QProgressBar* progressBar() const { return m_progress; }
    /// Puts the window where it was last (its inner area), fitted into the free area of the screen it opens on;
    /// the window is then not centred.
    void placeAt(const QRect& place);
    /// Puts the keyboard focus where it rests while the user has put it nowhere: in the mode window on show, else in
    /// the empty frame of the mode windows (never on the Disconnect button, which Space would press).
    void restFocus();
    /// Returns the menu item, menu command or separator with this name (nullptr when there is none).
    QAction* menuItem(const QString& name) const;

signals:
    /// The user asked to close the main window (the program then closes the port and ends).
    void closeRequested();
    /// A menu or submenu of the menu bar is about to open.
    void menuOpening(forms::MenuId menu);
    /// A configuration file was dropped onto the window.
    void fileDropped(const QString& path);

protected:
    /// A configuration file dragged over any part of the window (a field included) is taken as a file to open.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Builds the menu bar as the menu layout has it.
    void createMenus();
    /// Names a command of the menu bar and gives it its check mark and keys.
    void addMenuCommand(const forms::MenuEntry& entry, QAction* action, const QString& name);
    QWidget* createPanelArea();
    /// Brings the framed window within the screen, once, as soon as its frame is known.
    void keepOnScreen();

    QMdiArea* m_mdiArea = nullptr;
    QProgressBar* m_progress = nullptr;
    bool m_keptOnScreen = false;
    /// The window was put where it was last: once framed, it is only fitted into the screen, not centred.
    bool m_placed = false;
};

} // namespace qm::app
