#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingLink.h"
#include "fakes/ScriptedUi.h"
#include "shell/Program.h"
#include "storage/ConfigFile.h"

#include <gtest/gtest.h>

namespace qm::shell
{
namespace
{

using forms::Mode;

TEST(SessionTest, FirstRunEditWriteSaveNewOpen)
{
    fakes::MemoryFileSystem files;
    files.files["/opt/quellmark/vq3.ini"] =
        storage::joinLines({"0", "MYCALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});
    fakes::ScriptedUi ui;
    Program program(files, ui, Environment{{"/opt/quellmark", "/root/.config/quellmark"}, "/home/user", {}});
    fakes::RecordingLink link(program.form().module());
    program.setLink(&link);
    forms::Windows& w = program.form().windows();

    ui.inputs = {std::string("com2"), std::string("k1abc")};
    ASSERT_TRUE(program.MDIForm_Load());
    EXPECT_EQ(ui.callsStartingWith("input:"),
              (std::vector<std::string>{"input:Serial Port Selection", "input:CallSign Selection"}));
    EXPECT_EQ(storage::splitLines(files.files["/opt/quellmark/vq3.ini"])[0], "2");
    EXPECT_EQ(storage::splitLines(files.files["/opt/quellmark/vq3.ini"])[1], "K1ABC");
    EXPECT_TRUE(w.MDIForm1.menus.com2.checked());

    program.form().tracking_Click();
    program.myCallChange("W1AW");
    for (int mode = 0; mode < forms::kModeCount; ++mode)
        EXPECT_EQ(w.station(static_cast<Mode>(mode)).MyCall.text(), "W1AW");

    program.profileTabClick(Mode::Tracking, 2);
    w.Form4.station.SSID.setText("5");
    w.Form4.station.Path[0].setListIndex(3);
    program.profileTabClick(Mode::Tracking, 6);
    w.Form4.station.SSID.setText("20");
    program.profileTabClick(Mode::Tracking, 0);
    EXPECT_EQ(w.Form4.store.entry(3).SSID, "5");

    ui.calls.clear();
    EXPECT_FALSE(program.write_Click());
    EXPECT_EQ(w.Form4.TrkProfile.selectedIndex(), 6);
    EXPECT_EQ(w.Form4.TrkProfileFrame.caption(), "Profile #7 Settings");
    EXPECT_EQ(w.Form4.station.SSID.text(), "20");
    ASSERT_FALSE(ui.boxes.empty());
    EXPECT_EQ(ui.boxes.back().text,
              "The SSID specified in Profile # 7 is invalid.\r\nPlease enter an SSID between 1 and 15.");
    EXPECT_EQ(ui.calls.back(), "focus:TrkSSID");
    EXPECT_TRUE(link.downloads.empty());

    w.Form4.station.SSID.setText("12");
    ASSERT_TRUE(program.write_Click());
    ASSERT_EQ(link.downloads.size(), 1u);
    const std::string& image = link.downloads[0];
    EXPECT_EQ(image.substr(5, 6), "W1AW  ");
    EXPECT_EQ(static_cast<unsigned char>(image[46 + 12 + 2]) >> 4, 5u);
    EXPECT_EQ(static_cast<unsigned char>(image[46 + 12]) & 0x0Fu, 3u);
    EXPECT_EQ(static_cast<unsigned char>(image[46 + 36 + 2]) >> 4, 12u);

    const auto before = program.form().configurationLines();
    ui.paths = {"/home/user/tracking.vq3"};
    program.fileCommands().saveconfiguration_Click();
    program.fileCommands().newconfiguration_Click();
    EXPECT_EQ(w.Form4.store.entry(3).SSID, "");
    EXPECT_NE(program.form().configurationLines(), before);
    ui.paths = {"/home/user/tracking.vq3"};
    program.fileCommands().openconfiguration_Click();
    EXPECT_EQ(program.form().configurationLines(), before);
}

} // namespace
} // namespace qm::shell
