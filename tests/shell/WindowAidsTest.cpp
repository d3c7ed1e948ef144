// What the windows show beside the fields (symbol names, the packet header, advice) and how a backup is listed and
// compared with the windows before a restore.
#include "shell/WindowAids.h"

#include "fakes/MemoryFileSystem.h"
#include "forms/ProfileEditing.h"
#include "shell/BackupRestore.h"
#include "shell/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace qm::shell
{
namespace
{

TEST(WindowAidsTest, SymbolCaptionsReadTheSymbolInTheTableTheSeparatorChooses)
{
    const struct
    {
        std::string separator;
        std::string symbol;
        std::string caption;
    } cases[] = {
        {"/", ">", "Car"},
        {"", ">", "Car"},
        {"/", "[", "Jogger"},
        {"\\", "[", "Wall cloud (alternate symbol table)"},
        {"\\", "!", "Emergency (alternate symbol table)"},
        {"A", "!", "Emergency with overlay A (alternate symbol table with overlay A)"},
        {"/", "|", "(no name in the primary symbol table)"},
        {"a", ">", "(the Separator chooses no symbol table)"},
        {"/", ">>", "(one character only)"},
        {"/", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(symbolCaption(c.separator, c.symbol), c.caption) << c.separator << c.symbol;
        EXPECT_EQ(symbolToolTip(c.separator, c.symbol),
                  c.caption.empty()
                      ? "Enter the Symbol character of this profile."
                      : "Enter the Symbol character of this profile.\nSymbol " + c.symbol + ": " + c.caption);
    }
}

TEST(WindowAidsTest, TheSeparatorToolTipExplainsTheSymbolTable)
{
    const std::string explained =
        "Enter the Separator (Normally '/' for APRS).\nThe Separator chooses the symbol table: '/' the primary table, "
        "'\\' the alternate table, a digit or capital letter the alternate table with that overlay.";
    const struct
    {
        std::string separator;
        std::string tip;
    } cases[] = {
        {"", explained},
        {"/", explained + "\n'/' chooses the primary symbol table."},
        {"\\", explained + "\n'\\' chooses the alternate symbol table."},
        {"7", explained + "\n'7' chooses the alternate symbol table with overlay 7."},
        {"x", explained + "\n'x' chooses no symbol table."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(separatorToolTip(c.separator), c.tip) << c.separator;
}

TEST(WindowAidsTest, CommonPathsAreTodaysWideNPaths)
{
    EXPECT_EQ(commonPaths(), (std::vector<std::string>{"WIDE1-1", "WIDE2-1", "WIDE2-2"}));
}

class WindowPreviewTest : public ::testing::Test
{
protected:
    void SetUp() override { program.startUp(); }

    void open(const std::string& example)
    {
        std::ifstream file(std::string(QM_EXAMPLES_DIR) + "/" + example, std::ios::binary);
        files.files["/c.vq3"] = {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        ASSERT_EQ(program.openConfigurationFile("/c.vq3").kind, Session::OpenOutcome::Kind::Loaded);
    }

    fakes::MemoryFileSystem files;
    Session program{files};
};

TEST_F(WindowPreviewTest, AModeWithoutProfilesShowsItsOnePacket)
{
    open("beacon.vq3");
    const WindowPreview preview = windowPreview(program.windows(), forms::Mode::Beacon);
    EXPECT_EQ(preview.header.rfind("Sends ", 0), 0u) << preview.header;
    EXPECT_NE(preview.header.find('>'), std::string::npos) << preview.header;
    EXPECT_EQ(preview.allHeaders, "");
}

TEST_F(WindowPreviewTest, AProfileModeShowsTheProfileOnShowAsTypedAndListsAllTen)
{
    open("tracking.vq3");
    forms::Windows& windows = program.windows();
    forms::selectTrackingProfileTab(windows, 1);
    // Typed, not yet stored: the preview reads the window as it is.
    windows.tracking.station.SSID.setText("7");
    const WindowPreview preview = windowPreview(windows, forms::Mode::Tracking);
    EXPECT_EQ(preview.header, "Profile 2 sends N0CALL-7>APRS");
    EXPECT_EQ(preview.allHeaders.rfind("Profile 1: N0CALL-9>APRS,WIDE2-1,WIDE\nProfile 2: N0CALL-7>APRS\n", 0), 0u)
        << preview.allHeaders;
    EXPECT_EQ(std::count(preview.allHeaders.begin(), preview.allHeaders.end(), '\n'), 9);
    EXPECT_EQ(preview.advice.rfind("Advice: Profile 1: Path 2 (WIDE): ", 0), 0u) << preview.advice;
    EXPECT_EQ(windows.tracking.store.entry(2).SSID, "");
}

TEST_F(WindowPreviewTest, AValueTheImageCannotHoldSaysWhyNothingIsSent)
{
    open("tracking.vq3");
    program.windows().tracking.TrkSymbol.setText(">>");
    const WindowPreview preview = windowPreview(program.windows(), forms::Mode::Tracking);
    EXPECT_EQ(preview.header.rfind("Sends no packet until this is put right: ", 0), 0u) << preview.header;
    EXPECT_EQ(preview.header.find('\r'), std::string::npos);
    EXPECT_EQ(preview.allHeaders, "");
    EXPECT_EQ(preview.advice, "");
}

TEST(BackupRestoreTest, ABackupIsListedByTimeUnitModeCallsignAndEvent)
{
    const auto entry = [](std::optional<int> firmware, std::optional<int> mode, std::string callsign,
                          bool beforeWrite) {
        BackupEntry backup;
        backup.name.time = {2026, 3, 4, 5, 6, 7, 890};
        backup.name.model = "VQ-3+";
        backup.name.firmware = firmware;
        backup.name.transaction = link::Transaction::Read;
        backup.name.beforeWrite = beforeWrite;
        backup.mode = mode;
        backup.callsign = std::move(callsign);
        return backup;
    };
    const struct
    {
        BackupEntry backup;
        std::vector<std::string> columns;
    } cases[] = {
        {entry(2, 3, "N0CALL", false), {"2026-03-04 05:06:07", "VQ-3+ firmware 2", "Tracking", "N0CALL", "read"}},
        {entry(std::nullopt, 1, "", true),
         {"2026-03-04 05:06:07", "VQ-3+", "Beacon", "(none)", "read, before a write"}},
        {entry(1, 7, "K1ABC", false), {"2026-03-04 05:06:07", "VQ-3+ firmware 1", "mode 7", "K1ABC", "read"}},
        {entry(1, std::nullopt, "", false), {"2026-03-04 05:06:07", "VQ-3+ firmware 1", "(damaged)", "(none)", "read"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backupColumns(c.backup), c.columns);
}

TEST(BackupRestoreTest, DifferencesReadAsVq3DiffPrintsThem)
{
    const struct
    {
        SummaryDifference difference;
        std::string text;
    } cases[] = {
        {{"TrkSSID", "SSID", 3, "9", "7"}, "Profile 3 SSID: 9 -> 7"},
        {{"BcnMyCall", "My Call", std::nullopt, "N0CALL", "(none)"}, "My Call: N0CALL -> (none)"},
        {{"BcnMsgText", "Message", std::nullopt, "a\r\nb\t", "c\x1B\x7F"}, "Message: a\\r\\nb\\t -> c\\x1B\\x7F"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(differenceText(c.difference), c.text);
}

TEST(BackupRestoreTest, ABackupWithoutAConfigurationCannotBeCompared)
{
    fakes::MemoryFileSystem files;
    Session program(files);
    program.startUp();
    BackupEntry damaged;
    damaged.imageBytes = std::string(100, '\0');
    BackupEntry unknownMode;
    unknownMode.imageBytes = std::string(128, '\0');
    unknownMode.imageBytes[0] = 0x06;
    for (const BackupEntry& entry : {damaged, unknownMode, BackupEntry{}})
        EXPECT_EQ(backupDifferences(program, files, entry),
                  (std::vector<std::string>{"This backup holds no configuration the program can open."}));
}

} // namespace
} // namespace qm::shell
