// The mode windows on a common screen: each whole in the main window with the APRS advice shown, and taking back the
// room of advice that has gone.
#include "Desktops.h"

#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace qm::app::guitest
{
namespace
{

class ModeWindowFitTest : public DesktopOnFakePorts
{
protected:
    void SetUp() override
    {
        start(ports());
        desktop->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
        // The window manager frames the window, and the window then fits itself into the screen.
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return desktop->window().frameGeometry() != desktop->window().geometry(); }, 20000));
    }

    /// Chooses a path in a path list with the keyboard, as a person does: the window handles what each key brought
    /// about before the next one comes.
    void choosePath(const std::string& list, int entry)
    {
        auto* combo = find<QComboBox>(list.c_str());
        combo->setFocus();
        while (combo->currentIndex() != entry) {
            QTest::keyClick(combo, combo->currentIndex() < entry ? Qt::Key_Down : Qt::Key_Up);
            QCoreApplication::processEvents();
        }
    }

    /// Gives the shown window (its profile 1) advice, or takes it back: a path today's networks do not serve.
    void giveAdvice(const forms::StationControls& station, bool given)
    {
        choosePath(station.Path[0].name(), given ? 2 : 0);
        find(station.MyCall.name().c_str())->setFocus();
    }

    /// Checks that the window shows all it holds, no more and no less: as tall as its contents at its width, within
    /// the room the main window gives the mode windows.
    void expectFitted(forms::Mode mode)
    {
        const forms::StationControls& station = windows().station(mode);
        auto* frame = find<QMdiSubWindow>(station.window.name().c_str());
        QWidget* window = frame->widget();
        const auto needed = [window] { return window->layout()->totalHeightForWidth(window->width()); };
        (void)QTest::qWaitFor([&] { return window->height() == needed(); }, 1000);
        EXPECT_EQ(window->height(), needed());
        const QRect room = desktop->window().mdiArea()->viewport()->rect();
        EXPECT_TRUE(room.contains(frame->geometry()))
            << frame->width() << "x" << frame->height() << " in " << room.width() << "x" << room.height();
    }
};

TEST_F(ModeWindowFitTest, EveryModeWindowIsWholeWithItsAdviceAndGivesBackTheRoomOfAdviceGone)
{
    for (const forms::Mode mode : forms::kModes) {
        SCOPED_TRACE(forms::modeName(mode));
        action(windows().main.menus.modeItems()[forms::modeIndex(mode)]->name().c_str())->trigger();
        const forms::StationControls& station = windows().station(mode);
        auto* advice = find<QLabel>((station.prefix() + "Advice").c_str());
        giveAdvice(station, true);
        ASSERT_TRUE(advice->isVisible());
        ASSERT_TRUE(advice->text().contains("RELAY"));
        expectFitted(mode);
        giveAdvice(station, false);
        expectFitted(mode);
    }
}

} // namespace
} // namespace qm::app::guitest
