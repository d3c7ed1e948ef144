#include "fakes/MemoryFileSystem.h"
#include "shell/Session.h"

#include <gtest/gtest.h>

#include <string>

namespace qm::shell
{
namespace
{

const std::string kPath = "/cfg/read.vq3";

TEST(UploadRoundTripTest, ImageWithLineBreakInCallsignSavesAFileThatLoadsInEveryMode)
{
    std::string upload("\xF8\xFF\xFF\xFF\x0A", 5);
    upload.resize(128, '\0');
    for (const forms::Mode mode : forms::kModes) {
        SCOPED_TRACE(forms::codeOfMode(mode));
        fakes::MemoryFileSystem files;
        Session form(files);
        form.startUp();
        upload[0] = static_cast<char>(0xF8 | forms::codeOfMode(mode));
        form.decodeUpload(upload);
        ASSERT_EQ(form.saveConfigurationFile(kPath), std::nullopt);
        const std::string saved = files.files.at(kPath);

        const auto opened = form.openConfigurationFile(kPath);
        EXPECT_EQ(opened.kind, Session::OpenOutcome::Kind::Loaded);
        EXPECT_EQ(form.saveConfigurationFile(kPath), std::nullopt);
        EXPECT_EQ(files.files.at(kPath), saved);
    }
}

} // namespace
} // namespace qm::shell
