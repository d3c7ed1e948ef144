// Loads the report module for vq3 report.
#include "cli/Modules.h"
#include "cli/Output.h"
#include "cli/Report.h"

#include <string>

namespace qm::cli
{

int runReportModule(const ReportOptions& options, storage::FileSystem& files, shell::Clock& clock, Streams streams)
{
    std::string reason;
    // The address comes from the module's symbol table; its type is the one the module defines.
    if (const auto entry =
            reinterpret_cast<ReportEntry>(findModuleEntry("libquellmark-report.so", kReportEntry, reason)))
        return entry(&options, &files, &clock, &streams);
    printBox(streams.err,
             forms::messageBox("Error", "vq3 report cannot load its PDF module: " + reason, forms::Icon::Warning));
    return kInputError;
}

} // namespace qm::cli
