// A message box as the core describes it: the toolkit shows it, tests compare it byte for byte.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace qm::forms
{

enum class Icon
{
    None,
    Information,
    Warning,
    Critical,
};

enum class Buttons
{
    Ok,
    OkCancel,
    YesNo,
    /// Save, Discard and Cancel, Save the default: the question before unsaved changes are replaced.
    SaveDiscardCancel,
    /// Yes and No, No the default: a question whose Yes may lose something for good.
    YesNoDefaultNo,
};

enum class Button
{
    Ok,
    Cancel,
    Yes,
    No,
    Save,
    Discard,
};

struct MessageBox
{
    std::string title;
    /// The text as single-byte characters, line breaks as the CR and LF bytes the program emits.
    std::string text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    /// The control that gets the input focus after the box ("" for none).
    std::string focus;
    /// The profile (1 to 10) a check switched the window to, when it did.
    std::optional<int> profile;
    /// What the operating system said, shown on request below the text ("" for none).
    std::string details;

    bool operator==(const MessageBox&) const = default;
};

/// Returns a box without a focus move or profile.
inline MessageBox messageBox(std::string title, std::string text, Icon icon, Buttons buttons = Buttons::Ok)
{
    MessageBox box;
    box.title = std::move(title);
    box.text = std::move(text);
    box.icon = icon;
    box.buttons = buttons;
    return box;
}

/// Adds a paragraph after the box's text with one blank line between, whatever line breaks the text ended with.
inline void appendParagraph(MessageBox& box, const std::string& paragraph)
{
    const auto end = box.text.find_last_not_of("\r\n");
    box.text.erase(end == std::string::npos ? 0 : end + 1);
    box.text += "\r\n\r\n" + paragraph;
}

} // namespace qm::forms
