// The kinds of control a window model is made of: text fields, pick lists, option groups, check boxes,
// menu items, tab strips and captioned panels. They hold state only; the rules live in the layers above.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm::forms
{

/// A single-line or multi-line text field holding single-byte text.
class TextField
{
public:
    /// Whether the field holds one line or several (each line end kept as CR LF).
    enum class Lines
    {
        One,
        Several,
    };

    /// maxLength is the typing limit (0 = none). It binds what a user types; a text the program sets (read from
    /// a file or a unit) is kept whole, and the checks and the compile say when it cannot be written.
    TextField(std::string name, std::size_t maxLength, Lines lines = Lines::One);

    const std::string& name() const { return m_name; }
    /// What the control is, as its label and a screen reader name it ("Special Path 2"); never its value.
    const std::string& label() const { return m_label; }
    void setLabel(std::string label) { m_label = std::move(label); }
    const std::string& text() const { return m_text; }
    std::size_t maxLength() const { return m_maxLength; }
    bool multiLine() const { return m_lines == Lines::Several; }
    /// Sets the whole text, however long.
    void setText(std::string_view text) { m_text.assign(text); }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

private:
    std::string m_name;
    std::string m_label;
    std::size_t m_maxLength;
    Lines m_lines;
    std::string m_text;
    bool m_enabled = true;
};

/// A pick list: entries, the selected entry (-1 for none) and, for an editable list, its own text.
class PickList
{
public:
    PickList(std::string name, bool editable);

    const std::string& name() const { return m_name; }
    /// What the list holds, as its label and a screen reader name it ("Transmit Delay"); never the entry it shows.
    const std::string& label() const { return m_label; }
    void setLabel(std::string label) { m_label = std::move(label); }
    bool editable() const { return m_editable; }
    const std::vector<std::string>& entries() const { return m_entries; }
    int count() const { return static_cast<int>(m_entries.size()); }
    int listIndex() const { return m_index; }
    /// Selects an entry (-1 selects none); returns false and changes nothing for an index the list lacks.
    /// Selecting an entry of an editable list puts its text into the list's own text.
    bool setListIndex(int index);
    /// Returns the text: an editable list's own text, else the selected entry ("" when none).
    std::string text() const;
    /// Sets an editable list's own text (no effect on a fixed list).
    void setText(std::string_view text);
    void addItem(std::string entry);
    /// Replaces the entry at index; the selection stays where it is.
    void replaceItem(int index, std::string entry);
    /// Removes every entry; nothing is selected afterwards.
    void clear();
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

private:
    std::string m_name;
    std::string m_label;
    bool m_editable;
    std::vector<std::string> m_entries;
    int m_index = -1;
    std::string m_text;
    bool m_enabled = true;
};

/// A group of mutually exclusive options; at most one is selected.
class OptionGroup
{
public:
    /// names: the options' control names; labels: what each option is, in the same order.
    OptionGroup(std::vector<std::string> names, std::vector<std::string> labels);

    const std::string& name(int option) const { return m_names.at(static_cast<std::size_t>(option)); }
    /// Returns what an option is ("Line Feed").
    const std::string& label(int option) const { return m_labels.at(static_cast<std::size_t>(option)); }
    int size() const { return static_cast<int>(m_names.size()); }
    /// Returns the selected option, -1 when none is.
    int selected() const { return m_selected; }
    bool value(int option) const { return m_selected == option; }
    /// Setting an option true deselects the others; setting it false deselects only that option.
    void setValue(int option, bool value);

private:
    std::vector<std::string> m_names;
    std::vector<std::string> m_labels;
    int m_selected = -1;
};

/// A two-state check box: 0 clear, 1 set.
class CheckBox
{
public:
    /// caption: the box's caption with its mnemonic marked by "&"; "" where the window captions it itself.
    explicit CheckBox(std::string name, std::string caption = {});

    const std::string& name() const { return m_name; }
    const std::string& caption() const { return m_caption; }
    /// What the box switches, as its label and a screen reader name it ("Send Comments").
    const std::string& label() const { return m_label; }
    void setLabel(std::string label) { m_label = std::move(label); }
    int value() const { return m_value; }
    bool isSet() const { return m_value == 1; }
    void setValue(int value) { m_value = value == 1 ? 1 : 0; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

private:
    std::string m_name;
    std::string m_caption;
    std::string m_label;
    int m_value = 0;
    bool m_enabled = true;
};

/// A menu item or a command on the menu bar. Its caption is UTF-8 (a device's description may need more than
/// single-byte characters).
class MenuItem
{
public:
    MenuItem() = default;
    MenuItem(std::string name, std::string caption);

    const std::string& name() const { return m_name; }
    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) { m_caption = std::move(caption); }
    bool checked() const { return m_checked; }
    void setChecked(bool checked) { m_checked = checked; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }

private:
    std::string m_name;
    std::string m_caption;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_visible = true;
};

/// A captioned control without input of its own: a frame, a panel, a window, a help box.
class Panel
{
public:
    Panel(std::string name, std::string caption);

    const std::string& name() const { return m_name; }
    const std::string& caption() const { return m_caption; }
    void setCaption(std::string caption) { m_caption = std::move(caption); }
    bool visible() const { return m_visible; }
    void setVisible(bool visible) { m_visible = visible; }
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    /// Background colour as 0xRRGGBB (0 = the toolkit's default).
    std::uint32_t background() const { return m_background; }
    void setBackground(std::uint32_t rgb) { m_background = rgb; }
    /// A window shown as an icon only (the user minimised it).
    bool minimized() const { return m_minimized; }
    void setMinimized(bool minimized) { m_minimized = minimized; }
    /// A tool tip that says more than the caption's own ("" for the caption's).
    const std::string& toolTip() const { return m_toolTip; }
    void setToolTip(std::string toolTip) { m_toolTip = std::move(toolTip); }

private:
    std::string m_name;
    std::string m_caption;
    bool m_visible = true;
    bool m_enabled = true;
    std::uint32_t m_background = 0;
    bool m_minimized = false;
    std::string m_toolTip;
};

/// A strip of ten profile tabs; index 0 is profile 1. Changing tabs is profile editing's.
class TabStrip
{
public:
    explicit TabStrip(std::string name);

    const std::string& name() const { return m_name; }
    /// What the strip chooses ("Profile"); its tabs are that and their number ("Profile 3").
    const std::string& label() const { return m_label; }
    void setLabel(std::string label) { m_label = std::move(label); }
    /// Returns what the tab at index is: the strip's label and the tab's number from 1 ("Profile 1").
    std::string tabLabel(int index) const { return m_label + ' ' + std::to_string(index + 1); }
    int selectedIndex() const { return m_selected; }
    /// Sets the selection without running the tab change (profile editing calls this).
    void setSelectedIndex(int index) { m_selected = index; }

private:
    std::string m_name;
    std::string m_label;
    int m_selected = 0;
};

} // namespace qm::forms
