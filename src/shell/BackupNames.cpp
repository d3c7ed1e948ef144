// The names of the backups: what they say of each backup, in the forms of this and of earlier versions.
#include "shell/BackupNames.h"

#include "forms/Text.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace qm::shell
{

namespace
{

/// "20261206-084512-123-": date, time and milliseconds ahead of the model.
constexpr std::string_view kStampPattern = "dddddddd-dddddd-ddd-";
constexpr std::string_view kBeforeWrite = "-before-write";
constexpr std::string_view kFirmwarePrefix = "fw";
/// Digits of the number ahead of the date: names sort in the order taken in a listing of the folder.
constexpr int kSequenceWidth = 6;

struct TransactionWord
{
    link::Transaction transaction;
    std::string_view word;
};

constexpr TransactionWord kTransactionWords[] = {
    {link::Transaction::Identification, "identify"},
    {link::Transaction::Read, "read"},
    {link::Transaction::Write, "write"},
};

std::string_view transactionWord(link::Transaction transaction)
{
    for (const auto& known : kTransactionWords)
        if (known.transaction == transaction)
            return known.word;
    return "read";
}

bool allDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool isBackupStem(std::string_view stem)
{
    if (stem.size() <= kStampPattern.size())
        return false;
    for (std::size_t i = 0; i < kStampPattern.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(stem[i])) != 0;
        if (kStampPattern[i] == 'd' ? !digit : stem[i] != kStampPattern[i])
            return false;
    }
    return true;
}

int number(std::string_view digits)
{
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

/// Removes the last "-" word of a name and returns it.
std::string_view takeLastWord(std::string_view& rest)
{
    const auto dash = rest.rfind('-');
    const std::string_view word = dash == std::string_view::npos ? rest : rest.substr(dash + 1);
    rest = dash == std::string_view::npos ? std::string_view() : rest.substr(0, dash);
    return word;
}

/// Splits off the number ahead of the date of a name of this version: "000042-20261206-..." leaves
/// "20261206-..." and gives 42; a name of an earlier version stays whole and gives nothing.
std::optional<long long> takeSequence(std::string_view& stem)
{
    if (isBackupStem(stem))
        return std::nullopt;
    const auto dash = stem.find('-');
    // Up to 18 digits: more would not fit the number.
    if (dash == std::string_view::npos || dash > 18 || !allDigits(stem.substr(0, dash)) ||
        !isBackupStem(stem.substr(dash + 1)))
        return std::nullopt;
    long long sequence = 0;
    for (char c : stem.substr(0, dash))
        sequence = sequence * 10 + (c - '0');
    stem.remove_prefix(dash + 1);
    return sequence;
}

std::string sequenceText(long long sequence)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld-", kSequenceWidth, sequence);
    return text;
}

} // namespace

std::string backupStem(long long sequence, const LocalTime& time, const std::string& modelName, int firmware,
                       link::Transaction transaction)
{
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-%03d-", time.year, time.month, time.day, time.hour,
                  time.minute, time.second, time.millisecond);
    std::string model = forms::trimSpaces(modelName);
    // The name must stay one file name whatever byte a custom unit reports.
    for (char& c : model)
        if (c == '/' || std::iscntrl(static_cast<unsigned char>(c)) != 0)
            c = '_';
    if (model.empty())
        model = "unknown";
    return sequenceText(sequence) + stamp + model + "-" + std::string(kFirmwarePrefix) + std::to_string(firmware) +
           "-" + std::string(transactionWord(transaction));
}

std::optional<BackupName> parseBackupStem(std::string_view stem)
{
    const std::optional<long long> sequence = takeSequence(stem);
    if (!isBackupStem(stem))
        return std::nullopt;
    BackupName name;
    name.sequence = sequence;
    name.stamp = std::string(stem.substr(0, kStampPattern.size() - 1));
    name.time = {number(stem.substr(0, 4)), number(stem.substr(4, 2)),  number(stem.substr(6, 2)),
                 number(stem.substr(9, 2)), number(stem.substr(11, 2)), number(stem.substr(13, 2)),
                 number(stem.substr(16, 3))};
    std::string_view rest = stem.substr(kStampPattern.size());
    // Read from the end: a second backup of one millisecond carries "-2", "-3", ... after everything else.
    if (const auto dash = rest.rfind('-'); dash != std::string_view::npos && allDigits(rest.substr(dash + 1)))
        rest = rest.substr(0, dash);
    if (rest.ends_with(kBeforeWrite)) {
        name.beforeWrite = true;
        rest.remove_suffix(kBeforeWrite.size());
    }
    std::string_view word = rest;
    const std::string_view last = takeLastWord(word);
    for (const auto& known : kTransactionWords)
        if (last == known.word) {
            name.transaction = known.transaction;
            rest = word;
        }
    if (name.transaction) {
        std::string_view beforeFirmware = rest;
        const std::string_view firmware = takeLastWord(beforeFirmware);
        if (firmware.starts_with(kFirmwarePrefix) && allDigits(firmware.substr(kFirmwarePrefix.size())) &&
            firmware.size() <= kFirmwarePrefix.size() + 3) {
            name.firmware = number(firmware.substr(kFirmwarePrefix.size()));
            rest = beforeFirmware;
        }
    }
    name.model = std::string(rest);
    return name;
}

std::string beforeWriteStem(const std::string& stem, const BackupName& name)
{
    std::string marked = (name.sequence ? sequenceText(*name.sequence) : std::string()) + name.stamp + "-" + name.model;
    if (name.firmware)
        marked += "-" + std::string(kFirmwarePrefix) + std::to_string(*name.firmware);
    if (name.transaction)
        marked += "-" + std::string(transactionWord(*name.transaction));
    else
        marked = stem;
    return marked + std::string(kBeforeWrite);
}

bool takenBefore(const std::string& stemA, const BackupName& a, const std::string& stemB, const BackupName& b)
{
    if (a.sequence != b.sequence)
        return a.sequence < b.sequence;
    // Names of one kind: an earlier version's begin with the time, and a second backup of one time or one number
    // carries a suffix that sorts after the first.
    return stemA < stemB;
}

std::string backupEventText(const BackupName& name)
{
    std::string text = "unknown";
    if (name.transaction) {
        switch (*name.transaction) {
        case link::Transaction::Identification:
            text = "identification";
            break;
        case link::Transaction::Read:
            text = "read";
            break;
        case link::Transaction::Write:
            text = "write";
            break;
        }
    }
    return name.beforeWrite ? text + ", before a write" : text;
}

} // namespace qm::shell
