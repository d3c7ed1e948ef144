// The configuration file (*.vq3): one mode window's settings and the main window's options as CR LF text
// lines, saved as one step and loaded all or nothing.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"
#include "storage/FileSystem.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace qm::storage
{

/// Returns the lines a save writes for a mode: the seven header lines and the mode's block. The shown
/// NMEA and Tracking profiles must already be in their stores.
std::vector<std::string> configurationLines(const forms::Windows& windows, forms::Mode mode);

/// Returns the number of lines a save writes for a mode (header included): 26, 23, 111, 117 or 32.
int configurationLineCount(forms::Mode mode);

/// Returns the lines joined with CR LF after each, as single-byte text.
std::string joinLines(const std::vector<std::string>& lines);

/// Splits file bytes into lines; CR LF, LF and a lone CR each end a line.
std::vector<std::string> splitLines(const std::string& bytes);

/// Writes the configuration of the mode to the file (saveConfiguration).
std::optional<FileError> saveConfiguration(FileSystem& files, const std::string& path, const forms::Windows& windows,
                                           forms::Mode mode);

/// Remembered defaults a load needs to rebuild the delay and tail lists.
struct ListDefaults
{
    int txDelayIndex = 0;
    int txTailIndex = 0;
};

/// Returns the mode named by a file's first line (its number value 0 to 4), or nothing for any other value.
std::optional<forms::Mode> fileMode(const std::vector<std::string>& lines);

// The loader of a mode reads the file's lines in the order of the layout, checks every value
// first, and only when all of them convert changes the windows: baud rate menus (with the delay and tail
// lists rebuilt for the output baud rate before any delay is set), option boxes, the mode block, special-path
// relabelling, and for NMEA and Tracking the profile store and the profile on show. On a failure nothing
// changes and the error is returned. Selecting the mode is the caller's.
std::optional<FileError> loadConfiguration(forms::Mode mode, forms::Windows& windows,
                                           const std::vector<std::string>& lines, const ListDefaults& defaults);

/// Opens a configuration file's bytes into the windows: a UTF-8 byte-order mark at the start is skipped (other
/// editors write one), line 1 names the mode and that mode's loader reads the rest, all or nothing. Returns the
/// mode, or the error that names the line at fault and what it holds, the windows unchanged.
std::variant<forms::Mode, FileError> readConfiguration(const std::string& bytes, forms::Windows& windows,
                                                       const ListDefaults& defaults);

/// Returns the message box of a file that could not be read.
forms::MessageBox readErrorBox(const FileError& error);
/// Returns the message box of a file that was read but does not load (readConfiguration's errors): the error's
/// title, and the line at fault with what it holds.
forms::MessageBox loadErrorBox(const FileError& error);
/// Returns the message box of a failed save.
forms::MessageBox writeErrorBox(const FileError& error);

} // namespace qm::storage
