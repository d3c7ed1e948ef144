// Loads the report module for vq3 report.
#include "cli/Output.h"
#include "cli/Report.h"
#include "qt/PosixFileSystem.h"

#include <dlfcn.h>

#include <string>
#include <vector>

namespace qm::cli
{

int runReportModule(const ReportOptions& options, storage::FileSystem& files, shell::Clock& clock, Streams streams)
{
    const std::vector<std::string> candidates{qt::currentProgramFolders().programFolder + "/libquellmark-report.so",
                                              std::string(QM_REPORT_MODULE_DIR) + "/libquellmark-report.so"};
    std::string reason;
    for (const std::string& path : candidates) {
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            if (reason.empty())
                reason = ::dlerror();
            continue;
        }
        // The address comes from the module's symbol table; its type is the one the module defines.
        auto entry = reinterpret_cast<ReportEntry>(::dlsym(module, kReportEntry));
        if (!entry) {
            reason = ::dlerror();
            continue;
        }
        return entry(&options, &files, &clock, &streams);
    }
    printBox(streams.err,
             forms::messageBox("Error", "vq3 report cannot load its PDF module: " + reason, forms::Icon::Warning));
    return kInputError;
}

} // namespace qm::cli
