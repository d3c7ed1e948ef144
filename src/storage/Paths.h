// Splitting a path into its folder and its file's name, the one way every part of the program does it.
#pragma once

#include <string>
#include <string_view>

namespace qm::storage
{

/// Returns the folder holding path: everything before its last "/", "/" for a name at the root, and "." for a
/// bare name, which lives in the current folder.
std::string folderOf(std::string_view path);

/// Returns the part of path after its last "/" (all of it when it has none), as a view into path.
std::string_view fileNameOf(std::string_view path);

} // namespace qm::storage
