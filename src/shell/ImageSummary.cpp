// Image bytes decoded into windows of their own and summarized there.
#include "shell/ImageSummary.h"

#include "image/DecodedImage.h"

#include <variant>
#include <vector>

namespace qm::shell
{

std::optional<reports::ConfigurationSummary> summarizeImage(const std::string& imageBytes)
{
    const auto decoded = image::decodeImage(imageBytes);
    if (const auto* configuration = std::get_if<image::DecodedImage>(&decoded))
        return reports::summarizeConfiguration(configuration->windows, configuration->mode);
    return std::nullopt;
}

std::string describeReadBackDifference(const std::string& written, const std::string& readBack)
{
    const auto summaryWritten = summarizeImage(written);
    const auto summaryRead = summarizeImage(readBack);
    std::vector<reports::SummaryDifference> differences;
    if (summaryWritten && summaryRead)
        differences = reports::compareSummaries(*summaryWritten, *summaryRead);
    return reports::describeFirstDifference(differences, written, readBack);
}

} // namespace qm::shell
