// The files the program keeps: configuration files (.vq3) line for line, as loaded and refused, and vq3.ini.
#include "storage/ConfigFile.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"

#include "fakes/MemoryFileSystem.h"
#include "validation/CheckWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <variant>
#include <vector>

namespace qm::storage
{
namespace
{

using forms::Mode;
using enum forms::Mode;
using Lines = std::vector<std::string>;
using validation::set;
using validation::storeOf;
using validation::validWindows;

const ListDefaults kDefaults{6, 2};
const char* const kSymbols[] = {"\x80", "\xAF", "\xBE", "/", ">", "k", "\xEB", "[", "-", "a\rb"};

/// Puts the '|'-separated parts of text over the lines from the first on, adding lines past the end.
Lines replaced(Lines lines, std::size_t first, std::string_view text)
{
    for (std::size_t start = 0, line = first; start <= text.size(); ++line) {
        const std::size_t end = std::min(text.find('|', start), text.size());
        lines.resize(std::max(lines.size(), line + 1));
        lines[line] = text.substr(start, end - start);
        start = end + 1;
    }
    return lines;
}

/// Every field of every mode set apart from its neighbours, line breaks in single-line values included.
forms::Windows knownWindows()
{
    forms::Windows w = validWindows();
    forms::setMyCall(w, "KB1XYZ\r");
    for (const Mode mode : forms::kModes) {
        const std::string p = w.station(mode).prefix();
        set(w, p + "ToCall=CQ-" + std::to_string(forms::codeOfMode(mode) + 1) + ";" + p + "SpecPath1=WIDE1-1;" + p +
                   "SpecPath2=WIDE2-2;" + p + "SpecPath4=WIDE4-4;" + p + "Path1=5;" + p + "Path2=6;" + p + "Path3=3;" +
                   p + "Path4=8;" + p + "TmrMin=12;" + p + "TmrSec=34;" + p + "TxDelay=7;" + p + "TxTail=9");
        w.station(mode).SSID.setText("11");
    }
    set(w, "in9600=1;out1200=0;out300=1;LEDDisable=1;MicEncode=0;ModeLock=1;AutoMode=1;TelTxOnUserEnable=1;"
           "TelUserTrigChar=035;BcnMsgText=Beacon\r\ntext with  spaces;NMEATxOnLFEnable=1;NMEAUserTrigChar=13;"
           "GpsString1=$GPGGA;GpsString2=$GP\rRMC;GpsString3=$GPVTG;NMEADeltaEnable=1;TrkPrefix==;TrkSeparator=\\;"
           "TrkComments=Mobile\r\nrig;TrkDeltaEnable=1;AlmTxCntrLimit=25;AlmArmDelay=60;AlmCondition2=1;"
           "AlarmMsgText1=  Front door  ;AlarmMsgText2=\nWindow;AlarmMsgText4= Gate");
    for (int p = 1; p <= forms::kProfileCount; ++p) {
        const std::string n = std::to_string(p);
        for (const Mode mode : {Nmea, Tracking})
            storeOf(w, mode).entry(p) = {
                n + "0", {std::to_string(p % 9), "-1", "3", "0"}, kSymbols[p - 1], "2" + n, "4" + n, n, "1"};
    }
    return w;
}

Lines knownFile(Mode mode)
{
    const char* const blocks[] = {
        "KB1XYZ|11|CQ-1|WIDE1-1|WIDE2-2||WIDE4-4|5|6|3|8|False|False|True|035|12|34|7|9",
        "KB1XYZ|11|CQ-2|WIDE1-1|WIDE2-2||WIDE4-4|5|6|3|8|12|34|7|9|Beacon\r\ntext with  spaces",
        "KB1XYZ|CQ-3|WIDE1-1|WIDE2-2||WIDE4-4|*False|True|False|13|$GPGGA|$GP RMC|$GPVTG|1",
        "KB1XYZ|CQ-4|WIDE1-1|WIDE2-2||WIDE4-4|*=|\\|1|Mobile  rig",
        "KB1XYZ|11|CQ-5|WIDE1-1|WIDE2-2||WIDE4-4|5|6|3|8|12|34|7|9|25|60|0|1|0|0|  Front door  | Window|| Gate"};
    std::string profiles;
    for (int p = 1; p <= forms::kProfileCount; ++p)
        profiles += std::to_string(p) + "0|" + std::to_string(p % 9) + "|-1|3|0|" +
                    (mode == Tracking ? (p == 10 ? "a b" : kSymbols[p - 1]) + std::string("|") : "") + "2" +
                    std::to_string(p) + "|4" + std::to_string(p) + "|" + std::to_string(p) + "|1|";
    std::string block = blocks[forms::modeIndex(mode)];
    if (const auto star = block.find('*'); star != std::string::npos)
        block.replace(star, 1, profiles);
    return replaced({}, 0, std::to_string(forms::codeOfMode(mode)) + "|3|1|1|0|1|1|" + block);
}

TEST(ConfigFileTest, EachModeSavesItsKnownFileAndLoadsItBack)
{
    const forms::Windows known = knownWindows();
    fakes::MemoryFileSystem files;
    for (const Mode mode : forms::kModes) {
        SCOPED_TRACE(validation::prefixOf(mode));
        const Lines expected = knownFile(mode);
        EXPECT_EQ(configurationLines(known, mode), expected);
        EXPECT_EQ(configurationLineCount(mode), static_cast<int>(expected.size()));
        ASSERT_EQ(saveConfiguration(files, "/c.vq3", known, mode), std::nullopt);
        forms::Windows loaded = validWindows();
        set(loaded, loaded.station(mode).prefix() + "SpecPath3=OLD3");
        ASSERT_EQ(loadConfiguration(mode, loaded, splitLines(files.files["/c.vq3"]), kDefaults), std::nullopt);
        EXPECT_EQ(configurationLines(loaded, mode), expected);
        // The path selectors carry the loaded special paths, and a profile window shows its first profile.
        const auto& station = loaded.station(mode);
        EXPECT_EQ(station.Path[3].entries()[5] + "|" + station.Path[0].entries()[7], "WIDE1-1|Special Path 3");
        EXPECT_EQ(station.SSID.text(), validation::hasProfiles(mode) ? "10" : "11");
    }
    // Without an input rate, or with both output rates, the header keeps its places.
    forms::Windows w = validWindows();
    set(w, "out300=1;out1200=1");
    EXPECT_EQ(configurationLines(w, Alarm)[1] + configurationLines(w, Alarm)[2], "00");
    files.writeErrors["/c.vq3"] = {error::kDiskFull, "No space left on device"};
    EXPECT_EQ(saveConfiguration(files, "/c.vq3", known, Beacon), files.writeErrors["/c.vq3"]);
}

TEST(ConfigFileTest, EachKindOfLineLoadsToWhatTheNextSaveWrites)
{
    const std::string x70(70, 'x'), y10(10, 'y'), c30(30, 'c'), ff69(69, '\xFF');
    // clang-format off
    const std::tuple<Mode, std::size_t, std::string, std::string> rows[] = {
        {Beacon, 1, "2", "2"}, {Beacon, 1, "1.5", "0"}, {Beacon, 2, "1", "1"}, {Beacon, 2, "2", "0"},
        {Beacon, 4, "2", "1"}, {Alarm, 8, "123", "123"}, {Beacon, 8, " 0 ", ""}, {Alarm, 9, "cq-1 ", "cq-1"},
        {Beacon, 10, "WIDE1-1XYZ", "WIDE1-1XYZ"}, {Beacon, 14, "2.5", "2"}, {Beacon, 14, "3.5", "4"},
        {Beacon, 15, "-1", "-1"}, {Beacon, 16, " 8 ", "8"}, {Alarm, 17, "", "0"}, {Beacon, 18, "  ", "0"},
        {Alarm, 19, "07", "07"}, {Telemetry, 21, "1000", "1000"}, {Beacon, 20, "15", "15"}, {Alarm, 21, "-1", "-1"},
        {Alarm, 24, "1", "1"}, {Alarm, 22, "0255", "0255"}, {Nmea, 110, "1.4", "1"},
        {Alarm, 29, "  Back door  ", "  Back door  "}, {Tracking, 115, "0.5", "0"}, {Nmea, 13, "05", "5"},
        {Nmea, 13, "0", ""}, {Tracking, 73, ".8\xFC", "0.8"}, {Tracking, 33, "0.0", ""}, {Nmea, 14, " 3", " 3"},
        {Nmea, 18, "", "0"}, {Tracking, 20, "075", "075"}, {Tracking, 39, " 0.5", " 0.5"}, {Nmea, 20, "07", "7"},
        {Tracking, 21, "99", "99"}, {Tracking, 18, " ab ", "ab"}, {Tracking, 116, c30, c30},
        {Telemetry, 18, "FALSE| tRuE |False", "False|True|False"}, {Nmea, 103, "True|True|False", "False|True|False"},
        {Nmea, 103, "True|False|True", "False|False|True"}, {Nmea, 103, "False|False|False", "False|False|False"},
        {Beacon, 22, "one|two||three", "one\r\ntwo\r\n\r\nthree"}, {Beacon, 22, x70 + "|" + y10, x70 + "\r\n" + y10},
        {Beacon, 22, "      " + ff69 + "|\x0CUE", ff69 + "\r\n\x0CUE"}};
    // clang-format on
    for (const auto& [mode, line, text, saved] : rows) {
        SCOPED_TRACE(validation::prefixOf(mode) + " " + std::to_string(line) + " " + text);
        const Lines base = configurationLines(validWindows(), mode);
        forms::Windows loaded = validWindows();
        ASSERT_EQ(loadConfiguration(mode, loaded, replaced(base, line, text), kDefaults), std::nullopt);
        EXPECT_EQ(configurationLines(loaded, mode), replaced(base, line, saved));
    }
}

TEST(ConfigFileTest, FaultyFileIsRefusedWithItsErrorAndChangesNothing)
{
    // The mode, the first line replaced and its text, the number of lines kept, the error and its whole reason.
    const int kEnd = error::kInputPastEnd, kType = error::kTypeMismatch, kValue = error::kInvalidPropertyValue;
    const std::tuple<Mode, std::size_t, const char*, std::size_t, int, const char*> rows[] = {
        {Beacon, 0, nullptr, 22, kEnd, "The file ends after 22 lines; a Beacon configuration has 23."},
        {Alarm, 0, nullptr, 0, kEnd, "The file ends after 0 lines; an Alarm configuration has 32."},
        {Telemetry, 0, nullptr, 1, kEnd, "The file ends after 1 line; a Telemetry configuration has 26."},
        {Tracking, 14, "99", 50, kEnd, "The file ends after 50 lines; a Tracking configuration has 117."},
        {Telemetry, 20, "Maybe", 99, kType, "Line 21: \"Maybe\" is neither True nor False for TelTxOnUserEnable."},
        {Nmea, 105, "", 999, kType, "Line 106: \"\" is neither True nor False for NMEATxOnUserEnable."},
        {Beacon, 14, "9", 99, kValue, "Line 15: \"9\" is not a position of BcnPath1."},
        {Alarm, 15, "-1.6", 99, kValue, "Line 16: \"-1.6\" is not a position of AlmPath2."},
        {Telemetry, 24, "16", 99, kValue, "Line 25: \"16\" is not a position of TelTxDelay."},
        {Beacon, 20, "15", 99, kValue, "Line 21: \"15\" is not a position of BcnTxDelay."},
        {Alarm, 27, "2", 99, kValue, "Line 28: \"2\" is not a position of AlmCondition4."},
        {Nmea, 110, "2", 999, kValue, "Line 111: \"2\" is not a state of NMEADeltaEnable."},
        {Tracking, 115, "-1", 999, kValue, "Line 116: \"-1\" is not a state of TrkDeltaEnable."},
        {Nmea, 98, "9", 999, kValue, "Line 99: \"9\" is not a position of Path4 in profile 10."},
        {Tracking, 14, "8.6", 999, kValue, "Line 15: \"8.6\" is not a position of Path1 in profile 1."},
        {Telemetry, 15, "9|3|8|False|Yes", 99, kValue, "Line 16: \"9\" is not a position of TelPath2."}};
    for (const auto& [mode, line, text, keep, number, reason] : rows) {
        SCOPED_TRACE(validation::prefixOf(mode) + " " + std::to_string(line));
        Lines lines = text ? replaced(knownFile(mode), line, text) : knownFile(mode);
        lines.resize(std::min(lines.size(), keep));
        forms::Windows target = validWindows();
        const Lines before = configurationLines(target, mode);
        const auto failure = loadConfiguration(mode, target, lines, kDefaults);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->number, number);
        EXPECT_EQ(failure->reason, reason);
        EXPECT_EQ(configurationLines(target, mode), before);
    }
}

TEST(ConfigFileTest, FileModeIsTheExactNumberOfTheFirstLine)
{
    // clang-format off
    const std::pair<const char*, std::optional<Mode>> rows[] = {
        {"0", Telemetry}, {"1", Beacon}, {"2", Nmea}, {" 3 ", Tracking}, {"4.0", Alarm}, {"5", std::nullopt},
        {"2.5", std::nullopt}, {"-1", std::nullopt}, {"x", Telemetry}};
    // clang-format on
    for (const auto& [first, mode] : rows)
        EXPECT_EQ(fileMode({first, "0"}), mode) << first;
    EXPECT_EQ(fileMode({}), std::nullopt);
}

TEST(ConfigFileTest, LinesEndInCrLfAndAnyLineEndSplits)
{
    // clang-format off
    const std::pair<std::string, Lines> rows[] = {
        {"", {}}, {"a\r\nb\r\n", {"a", "b"}}, {"a\nb", {"a", "b"}}, {"a\rb\r", {"a", "b"}}, {"\r\n\r\n", {"", ""}},
        {"a\n\r\nb", {"a", "", "b"}}, {"a\n\rb", {"a", "", "b"}}, {"a\r\rb", {"a", "", "b"}}};
    // clang-format on
    for (const auto& [bytes, lines] : rows)
        EXPECT_EQ(splitLines(bytes), lines) << bytes;
    EXPECT_EQ(joinLines({"1", "", "a b"}), "1\r\n\r\na b\r\n");
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += byte == '\r' || byte == '\n' ? ' ' : static_cast<char>(byte);
    EXPECT_EQ(splitLines(joinLines({everyByte, std::string(1, '\0')})), (Lines{everyByte, std::string(1, '\0')}));
}

const IniLines kLines{"2", "N0CALL", "1", "0", "6", "2", "TRUE", "Reserved", "Reserved", "Reserved"};
const std::string kBytes = "2\r\nN0CALL\r\n1\r\n0\r\n6\r\n2\r\nTRUE\r\nReserved\r\nReserved\r\nReserved\r\n";

TEST(IniFileTest, LivesBesideTheProgramOnlyWhenThisUserMayRewriteItThere)
{
    // Whether this user may rewrite /opt/qm/vq3.ini, the two folders, the path used.
    // clang-format off
    const std::tuple<bool, ProgramFolders, std::string> rows[] = {
        {true, {"/opt/qm", "/cfg"}, "/opt/qm/vq3.ini"}, {false, {"/opt/qm", "/cfg"}, "/cfg/vq3.ini"},
        {true, {"/opt/qm/", "/c"}, "/opt/qm/vq3.ini"}, {false, {"/opt/qm", "/cfg/"}, "/cfg/vq3.ini"}};
    // clang-format on
    for (const auto& [writable, folders, path] : rows) {
        fakes::MemoryFileSystem files;
        files.files["/opt/qm/vq3.ini"] = kBytes;
        if (!writable)
            files.readOnlyFiles.insert("/opt/qm/vq3.ini");
        EXPECT_EQ(iniPath(files, folders), path) << writable;
    }
}

TEST(IniFileTest, ReadsTheFirstTenLinesInAnyLineEndingAndWritesTenCrLfLines)
{
    // clang-format off
    const std::pair<std::string, std::variant<IniLines, int>> rows[] = {
        {kBytes + "extra\r\nmore\r\n", kLines}, {"2\nN0CALL\n1\n0\n6\n2\nTRUE\nReserved\nReserved\nReserved", kLines},
        {" 1 \r\n k1abc\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\nz", IniLines{" 1 ", " k1abc", "", "", "", "", "", "", "", "z"}},
        {"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n", error::kInputPastEnd}, {"", error::kInputPastEnd}};
    // clang-format on
    for (const auto& [bytes, expected] : rows) {
        fakes::MemoryFileSystem files;
        files.files["/p/vq3.ini"] = bytes;
        const auto result = readIniFile(files, "/p/vq3.ini");
        if (const auto* lines = std::get_if<IniLines>(&expected))
            EXPECT_EQ(std::get<IniLines>(result), *lines) << bytes;
        else
            EXPECT_EQ(std::get<FileError>(result).number, std::get<int>(expected)) << bytes;
    }
    fakes::MemoryFileSystem files; // before its first save the user's folder is not there
    files.readErrors["/cfg/new/vq3.ini"] = {error::kPathNotFound, "no folder"};
    EXPECT_EQ(std::get<FileError>(readIniFile(files, "/cfg/new/vq3.ini")).number, error::kFileNotFound);
    EXPECT_EQ(writeIniFile(files, "/home/ann/.config/quellmark/vq3.ini", kLines), std::nullopt);
    EXPECT_EQ(files.files["/home/ann/.config/quellmark/vq3.ini"], kBytes);
    EXPECT_EQ(files.folders.count("/home/ann/.config/quellmark"), 1U);
    files.writeErrors["/p/vq3.ini"] = {error::kDiskFull, "full"};
    EXPECT_EQ(writeIniFile(files, "/p/vq3.ini", kLines), files.writeErrors["/p/vq3.ini"]);
    files.folderErrors["/q"] = {error::kPermissionDenied, "denied"};
    EXPECT_EQ(writeIniFile(files, "/q/vq3.ini", kLines), files.folderErrors["/q"]);
    EXPECT_EQ(files.files.count("/q/vq3.ini"), 0U);
}

TEST(PathsTest, APathSplitsAtItsLastSlashIntoFolderAndFileName)
{
    // The path, its folder, its file's name.
    const std::tuple<std::string, std::string, std::string> rows[] = {{"/home/ann/base.vq3", "/home/ann", "base.vq3"},
                                                                      {"/vq3.ini", "/", "vq3.ini"},
                                                                      {"base.vq3", ".", "base.vq3"},
                                                                      {"a/b.c/d", "a/b.c", "d"},
                                                                      {"/home/ann/", "/home/ann", ""},
                                                                      {"", ".", ""}};
    for (const auto& [path, folder, name] : rows) {
        EXPECT_EQ(folderOf(path), folder) << path;
        EXPECT_EQ(fileNameOf(path), name) << path;
    }
}

} // namespace
} // namespace qm::storage
