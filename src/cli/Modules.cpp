// vq3's modules, and the commands vq3 runs through the link module.
#include "cli/Modules.h"

#include "cli/LinkModule.h"
#include "cli/Output.h"
#include "qt/PosixFileSystem.h"

#include <dlfcn.h>

#include <vector>

namespace qm::cli
{

void* findModuleEntry(const std::string& fileName, const char* entry, std::string& reason)
{
    const std::string programFolder = qt::currentProgramFolders().programFolder;
    const std::vector<std::string> candidates{programFolder + "/" + fileName,
                                              programFolder + "/" + QM_MODULE_DIR_FROM_PROGRAM + "/" + fileName,
                                              std::string(QM_MODULE_DIR) + "/" + fileName};
    reason.clear();
    for (const std::string& path : candidates) {
        void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            if (reason.empty())
                reason = ::dlerror();
            continue;
        }
        if (void* address = ::dlsym(module, entry))
            return address;
        reason = ::dlerror();
    }
    return nullptr;
}

const LinkModuleCommands* loadLinkModule(std::string& reason)
{
    // The address comes from the module's symbol table; its type is the one the module defines.
    const auto entry = reinterpret_cast<LinkModuleEntry>(findModuleEntry(kLinkModuleFile, kLinkModuleEntry, reason));
    return entry ? entry() : nullptr;
}

forms::MessageBox linkModuleMissingBox(const std::string& command, const std::string& reason)
{
    return forms::messageBox("Error", "vq3 " + command + " cannot load its serial-port module: " + reason,
                             forms::Icon::Warning);
}

int runInLinkModule(const std::string& command, bool json, Streams streams,
                    const std::function<int(const LinkModuleCommands& module)>& run)
{
    std::string reason;
    if (const LinkModuleCommands* module = loadLinkModule(reason))
        return run(*module);
    const forms::MessageBox box = linkModuleMissingBox(command, reason);
    if (json)
        streams.out << nlohmann::json{{"error", boxToJson(box)}}.dump() << '\n';
    else
        printBox(streams.err, box);
    return kInputError;
}

UnitReader linkModuleUnitReader(storage::FileSystem& files, const LinkContext& context, std::ostream& err)
{
    return [&files, context, &err](const std::string& port) -> std::variant<std::string, LoadFailure> {
        std::string reason;
        if (const LinkModuleCommands* module = loadLinkModule(reason))
            return module->readUnit(port, files, context, err);
        return LoadFailure{linkModuleMissingBox("diff", reason), kInputError, {}};
    };
}

} // namespace qm::cli
