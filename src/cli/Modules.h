// vq3's modules: the parts of vq3 that need Qt, loaded only for the commands that use them.
#pragma once

#include <string>

namespace qm::cli
{

/// Loads the module with this file name from vq3's own folder, or else from the installed library folder
/// (lib/quellmark beside vq3's bin, then the one the build was configured for), and returns the address of its
/// entry point; nullptr when no copy loads, with the reason of the first failure.
void* findModuleEntry(const std::string& fileName, const char* entry, std::string& reason);

} // namespace qm::cli
