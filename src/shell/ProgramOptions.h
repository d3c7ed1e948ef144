// The desktop program's own settings, kept apart from vq3.ini (whose ten lines other installations read): a small
// file of "name=value" lines in the user's configuration folder.
#pragma once

#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace qm::shell
{

class ProgramOptions
{
public:
    /// The file's name in the user's configuration folder.
    static constexpr const char* kFileName = "quellmark.conf";

    /// path: the settings file ("" when there is no configuration folder: nothing is read or written, and what is
    /// set lasts for this run).
    ProgramOptions(storage::FileSystem& files, std::string path);

    const std::string& path() const { return m_path; }

    /// Reads the file; a missing file, a line it does not know or a value it cannot read leaves the default.
    void load();

    /// Returns whether a write is read back and compared (on unless turned off).
    bool verifyAfterWrite() const { return m_verifyAfterWrite; }
    /// Sets the setting and keeps it in the file (lines of other settings kept as they were); returns the failure
    /// of the save.
    std::optional<storage::FileError> setVerifyAfterWrite(bool on);

    /// How many recent files are kept.
    static constexpr std::size_t kRecentFileCount = 5;
    /// Returns the configuration files last opened or saved, the latest first.
    const std::vector<std::string>& recentFiles() const { return m_recentFiles; }
    /// Puts the path first in the recent files (each path once, at most kRecentFileCount) and keeps them in the
    /// file; a path with a line break cannot be kept in a line and is left out. Returns the failure of the save.
    std::optional<storage::FileError> addRecentFile(const std::string& path);

    /// Returns the serial device chosen by its path in place of a COM port ("" for none).
    const std::string& otherDevice() const { return m_otherDevice; }
    /// Sets and keeps the device chosen by its path ("" returns to the COM port of vq3.ini).
    std::optional<storage::FileError> setOtherDevice(const std::string& path);

    /// Where the main window was last: its inner area on the screen.
    struct WindowPlace
    {
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;

        bool operator==(const WindowPlace&) const = default;
    };
    /// Returns where the main window was when the program last ended; nothing before the first end.
    const std::optional<WindowPlace>& windowPlace() const { return m_windowPlace; }
    std::optional<storage::FileError> setWindowPlace(const WindowPlace& place);

private:
    std::optional<storage::FileError> save();
    /// Sets the line "key=value" (replacing the one there) and writes the file.
    std::optional<storage::FileError> keep(std::string_view key, const std::string& value);

    storage::FileSystem& m_files;
    std::string m_path;
    std::vector<std::string> m_lines;
    bool m_verifyAfterWrite = true;
    std::vector<std::string> m_recentFiles;
    std::string m_otherDevice;
    std::optional<WindowPlace> m_windowPlace;
};

/// Returns the place of a window fitted into the screen's free area: no larger than it, and moved wholly onto it.
ProgramOptions::WindowPlace clampToScreen(ProgramOptions::WindowPlace place, const ProgramOptions::WindowPlace& screen);

} // namespace qm::shell
