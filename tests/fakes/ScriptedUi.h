// A user-interface double: records every call in order and answers from a script.
#pragma once

#include "shell/Ui.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace qm::fakes
{

class ScriptedUi : public shell::Ui
{
public:
    /// Every call in order: "box:<title>", "input:<title>", "open:<title>", "save:<title>", "font", "focus:<control>",
    /// "pointer:normal", "pointer:busy", "beep", "help:<file>", "end".
    std::vector<std::string> calls;
    std::vector<forms::MessageBox> boxes;
    std::vector<shell::FileDialogRequest> dialogs;
    std::vector<std::string> prompts;

    /// Answers, taken in order; when a queue is empty: Ok (or Yes), cancel, "" and the preset.
    std::deque<forms::Button> buttons;
    std::deque<std::optional<std::string>> inputs;
    std::deque<std::string> paths;
    /// The filter in use when each save dialog closes (1 when the queue is empty).
    std::deque<int> filterIndexes;
    std::deque<shell::FontSettings> fonts;
    bool ended = false;

    /// Runs while a box is up (events that arrive under a modal box).
    std::function<void()> onBox;

    forms::Button messageBox(const forms::MessageBox& box) override
    {
        calls.push_back("box:" + box.title);
        boxes.push_back(box);
        if (onBox)
            onBox();
        if (!buttons.empty()) {
            const auto button = buttons.front();
            buttons.pop_front();
            return button;
        }
        const bool yesNo = box.buttons == forms::Buttons::YesNo || box.buttons == forms::Buttons::YesNoDefaultNo;
        return yesNo ? forms::Button::Yes : forms::Button::Ok;
    }

    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override
    {
        calls.push_back("input:" + title);
        prompts.push_back(prompt);
        (void)defaultText;
        return take(inputs, std::optional<std::string>());
    }

    std::string openFileDialog(const shell::FileDialogRequest& request) override
    {
        calls.push_back("open:" + request.title);
        dialogs.push_back(request);
        return take(paths, std::string());
    }

    shell::FileDialogChoice saveFileDialog(const shell::FileDialogRequest& request) override
    {
        calls.push_back("save:" + request.title);
        dialogs.push_back(request);
        std::string path = take(paths, std::string());
        return {std::move(path), take(filterIndexes, 1)};
    }

    shell::FontSettings fontDialog(const shell::FontSettings& preset) override
    {
        calls.push_back("font");
        return take(fonts, preset);
    }

    void setFocus(const std::string& control) override { calls.push_back("focus:" + control); }
    void setMousePointer(shell::Pointer pointer) override
    {
        calls.push_back(pointer == shell::Pointer::Busy ? "pointer:busy" : "pointer:normal");
    }
    void beep() override { calls.push_back("beep"); }
    /// The last progress shown: bytes done and total.
    std::pair<int, int> progress{0, 0};
    void showProgress(int done, int total) override { progress = {done, total}; }
    /// Runs at every paintNow (a test looks at the models in the middle of a command).
    std::function<void()> onPaint;
    void paintNow() override
    {
        if (onPaint)
            onPaint();
    }
    void showHelp(const std::string& helpFile) override { calls.push_back("help:" + helpFile); }
    /// The devices each device choice offered; its answers come from inputs.
    std::vector<std::vector<shell::SerialDevice>> deviceChoices;
    std::optional<std::string> chooseDevice(const std::vector<shell::SerialDevice>& present,
                                            const std::string& current) override
    {
        calls.push_back("device:" + current);
        deviceChoices.push_back(present);
        return take(inputs, std::optional<std::string>());
    }
    void endProgram() override
    {
        calls.push_back("end");
        ended = true;
    }

private:
    template <typename T>
    static T take(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace qm::fakes
