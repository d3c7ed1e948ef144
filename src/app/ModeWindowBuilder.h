// Builds the parts every mode window shares: labelled controls named after their models and sized to their limits,
// the station rows (call, paths, timer, delays), the termination-character group, the help frame and the tab order.
#pragma once

#include "forms/Windows.h"

#include <QString>

#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QTabBar;
class QVBoxLayout;
class QWidget;

namespace qm::app
{

/// Converts a model's single-byte name or caption to a QString.
QString toQString(const std::string& text);

/// Creates the widgets of one mode window. Every input control is named after its model control and joins the
/// tab order in the order it is created, so a window builds its controls in reading order.
class ModeWindowBuilder
{
public:
    /// Starts the window of a station (its objectName is the window model's name, its title its caption).
    ModeWindowBuilder(const forms::StationControls& station, QWidget* parent);

    /// The window being built.
    QWidget* window() const { return m_window; }

    /// A label for a control; reading it names the control for accessibility tools.
    QLabel* label(const QString& text, QWidget* buddy, QWidget* parent);
    /// A single-line field limited to the model's typing limit, wide enough for that many wide characters.
    QLineEdit* lineEdit(const forms::TextField& field, const QString& toolTip, QWidget* parent);
    /// A word-wrapping multi-line field showing `lines` lines.
    QPlainTextEdit* textBox(const forms::TextField& field, int lines, const QString& toolTip, QWidget* parent);
    /// An empty pick list wide enough for `characters` characters, editable when the model is.
    QComboBox* pickList(const forms::PickList& list, int characters, const QString& toolTip, QWidget* parent);
    /// A check box with its caption.
    QCheckBox* checkBox(const forms::CheckBox& box, const QString& caption, const QString& toolTip, QWidget* parent);
    /// The "Termination Character" group: three options and the user-defined value beside the third.
    QGroupBox* terminationGroup(const forms::OptionGroup& options, const forms::TextField& userValue, QWidget* parent);
    /// The ten-tab profile strip, tabs captioned "1" to "10".
    QTabBar* profileTabs(const forms::TabStrip& strip, QWidget* parent);
    /// An empty frame named and captioned after its model.
    QGroupBox* frame(const forms::Panel& panel, QWidget* parent);

    /// Adds "My Call" (with the station SSID beside it when withSsid) and "To Call"; returns the next free row.
    int addCallRows(QGridLayout* grid, int row, bool withSsid, QWidget* parent);
    /// Adds a "SSID" row for the profile SSID; returns the next free row.
    int addSsidRow(QGridLayout* grid, int row, QWidget* parent);
    /// Adds "Path 1" to "Path 4", and when withSpecialPaths the special paths in a column beside them.
    int addPathRows(QGridLayout* grid, int row, bool withSpecialPaths, QWidget* parent);
    /// Adds the four special paths under one "Special Paths" label; returns the next free row.
    int addSpecialPathRows(QGridLayout* grid, int row, QWidget* parent);
    /// Adds "Transmit Timer" (minutes and seconds), "Transmit Delay" and "Tail Delay"; returns the next free row.
    /// The timer tool tips ask for the timer's `timerNoun` ("value" or "interval").
    int addTimerRows(QGridLayout* grid, int row, const QString& timerNoun, QWidget* parent);

    /// Lays out the window: the fields, then the help frame with the mode's help text below them; fixes the tab
    /// order and sizes the help box for its text. Returns the window.
    QWidget* finish(QVBoxLayout* fields, forms::Mode mode);

private:
    void follow(QWidget* control);

    const forms::StationControls& m_station;
    QWidget* m_window;
    std::vector<QWidget*> m_tabOrder;
};

/// Offers the paths today's APRS networks serve as completions of a Special Path field.
void offerCommonPaths(QLineEdit* special);

/// A grid for label and field columns: labels left-aligned, fields at their own width, a trailing stretch column.
QGridLayout* fieldGrid(int columns);

/// Places two column layouts side by side, both at the top, `gap` apart, the space left over on the right.
QHBoxLayout* sideBySide(QLayout* left, QLayout* right, int gap);

} // namespace qm::app
