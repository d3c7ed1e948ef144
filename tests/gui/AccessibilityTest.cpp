// What a screen reader reads of the windows: every control named by what it is, options read as radio buttons and
// chosen with the arrow keys, the focus reported only where it is, and the status panel's changes announced.
#include "Desktops.h"

#include "app/Accessibility.h"

#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTabBar>

#include <set>

namespace qm::app::guitest
{
namespace
{

/// The controls of a window that the keyboard reaches: its visible widgets that take the focus, not a list's own
/// line, not a text label, and in the main window none of a mode window's.
std::vector<QWidget*> inputControls(QWidget* root)
{
    std::vector<QWidget*> controls;
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->window() != root->window() || !widget->isVisibleTo(root) || widget->focusPolicy() == Qt::NoFocus ||
            widget->focusProxy() || qobject_cast<QLabel*>(widget))
            continue;
        bool inModeWindow = false;
        for (QWidget* above = widget; above && above != root; above = above->parentWidget())
            inModeWindow = inModeWindow || qobject_cast<QMdiArea*>(above) != nullptr;
        if (!inModeWindow)
            controls.push_back(widget);
    }
    return controls;
}

/// Checks that each control of a window says what it is: a name of its own, not the value it holds and not the
/// heading of the group around it; the options are radio buttons, and each tab has a name of its own too.
void expectEveryControlNamed(QWidget* root)
{
    SCOPED_TRACE(root->objectName().toStdString());
    std::set<QString> names;
    const std::vector<QWidget*> controls = inputControls(root);
    EXPECT_GT(controls.size(), 7u);
    for (QWidget* control : controls) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        const QString name = accessible->text(QAccessible::Name);
        const QString value = accessible->text(QAccessible::Value);
        const std::string what = control->objectName().toStdString() + " \"" + name.toStdString() + "\"";
        EXPECT_FALSE(name.isEmpty()) << what;
        EXPECT_TRUE(value.isEmpty() || name != value) << what;
        EXPECT_TRUE(names.insert(name).second) << what << " twice";
        QStringList headings;
        for (QWidget* above = control->parentWidget(); above != root; above = above->parentWidget())
            if (auto* group = qobject_cast<QGroupBox*>(above))
                headings << group->title();
        EXPECT_FALSE(headings.contains(name)) << what;
        EXPECT_TRUE(!qobject_cast<QRadioButton*>(control) || accessible->role() == QAccessible::RadioButton) << what;
        if (qobject_cast<QTabBar*>(control)) {
            for (int tab = 0; tab < accessible->childCount(); ++tab)
                EXPECT_TRUE(names.insert(accessible->child(tab)->text(QAccessible::Name)).second) << what << tab;
        }
    }
}

/// Every part of a window that reports having the focus, its lists' entries and tabs included.
void collectFocused(QAccessibleInterface* accessible, std::vector<QAccessibleInterface*>& focused)
{
    if (accessible->state().focused)
        focused.push_back(accessible);
    for (int index = 0; index < accessible->childCount(); ++index)
        if (QAccessibleInterface* child = accessible->child(index))
            collectFocused(child, focused);
}

class AccessibilityTest : public DesktopOnFakePorts
{
protected:
    void activate()
    {
        desktop->window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&desktop->window()));
    }

    void chooseMode(forms::Mode mode)
    {
        action(windows().main.menus.modeItems()[forms::modeIndex(mode)]->name().c_str())->trigger();
    }

    QWidget* modeWindow(forms::Mode mode)
    {
        return qobject_cast<QMdiSubWindow*>(find(windows().station(mode).window.name().c_str()))->widget();
    }
};

TEST_F(AccessibilityTest, EveryControlIsNamedByWhatItIsNeverByItsValueOrItsGroupsHeading)
{
    connect();
    ASSERT_TRUE(find("ConnectButton")->isVisible());
    expectEveryControlNamed(&desktop->window());
    for (const forms::Mode mode : forms::kModes) {
        chooseMode(mode);
        expectEveryControlNamed(modeWindow(mode));
    }
}

TEST_F(AccessibilityTest, TheArrowKeysChooseATerminationOptionAsInAnyRadioGroup)
{
    activate();
    chooseMode(forms::Mode::Telemetry);
    const forms::OptionGroup& options = windows().telemetry.TelTxOn;
    QTest::mouseClick(find("TelTxOnCREnable"), Qt::LeftButton);
    ASSERT_EQ(options.selected(), forms::kCarriageReturn);
    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Down, forms::kLineFeed},
                                             {Qt::Key_Down, forms::kUserDefined},
                                             {Qt::Key_Up, forms::kLineFeed},
                                             {Qt::Key_Up, forms::kCarriageReturn}};
    for (const auto& [key, chosen] : steps) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(options.selected(), chosen) << key;
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), options.name(chosen));
        for (int option = 0; option < options.size(); ++option)
            EXPECT_EQ(find<QRadioButton>(options.name(option).c_str())->isChecked(), option == chosen) << option;
    }
    windows().telemetry.TelTxOn.setValue(options.selected(), false);
    probeTick();
    for (int option = 0; option < options.size(); ++option)
        EXPECT_FALSE(find<QRadioButton>(options.name(option).c_str())->isChecked()) << option;
}

TEST_F(AccessibilityTest, OnlyWhatHasTheFocusReportsIt)
{
    activate();
    chooseMode(forms::Mode::Nmea);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&desktop->window());
    for (const char* name : {"NMEAMyCall", "NMEAProfile", "NMEAToCall", "NMEATxOnLFEnable", "NMEATxDelay"}) {
        SCOPED_TRACE(name);
        find(name)->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), find(name));
        QAccessibleInterface* focus = QAccessible::queryAccessibleInterface(find(name));
        std::vector<QAccessibleInterface*> focused;
        collectFocused(window, focused);
        EXPECT_FALSE(focused.empty());
        // The windows around the focus say they hold it; no other control, tab or entry may say it has it.
        for (QAccessibleInterface* part : focused) {
            auto* holder = qobject_cast<QWidget*>(part->object());
            EXPECT_TRUE(part == focus || part == focus->focusChild() || (holder && holder->isAncestorOf(find(name))))
                << part->text(QAccessible::Name).toStdString() << " reports the focus";
        }
    }
    find("NMEAProfile")->setFocus();
    QAccessibleInterface* tab = QAccessible::queryAccessibleInterface(find("NMEAProfile"))->focusChild();
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->text(QAccessible::Name).toStdString(), "Profile 1");
    EXPECT_TRUE(tab->state().focused);
}

TEST_F(AccessibilityTest, TheStatusPanelIsReadAsANotificationOfTheConnection)
{
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(find("VQ3Status"));
    EXPECT_EQ(panel->role(), QAccessible::Notification);
    EXPECT_EQ(panel->text(QAccessible::Name).toStdString(), "Disconnected");
    connect();
    EXPECT_EQ(panel->text(QAccessible::Name).toStdString(), "Connected");
    EXPECT_EQ(panel->text(QAccessible::Description).toStdString(), "VQ-3 Connected.");
}

TEST(UnlabelledControlsTest, ListsAndTabsWithoutALabelAreReadAsTheToolkitReadsThem)
{
    installAccessibility();
    QTabBar tabs;
    const std::pair<QString, QString> captions[] = {{"&Files", "Files"}, {"A&&B", "A&B"}, {"10", "10"}, {"x&", "x&"}};
    for (const auto& [caption, name] : captions)
        tabs.addTab(caption);
    QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(&tabs);
    ASSERT_EQ(strip->childCount(), 4);
    for (int tab = 0; tab < 4; ++tab) {
        EXPECT_EQ(strip->child(tab)->text(QAccessible::Name), captions[tab].second) << tab;
        EXPECT_EQ(strip->indexOfChild(strip->child(tab)), tab);
    }
    QComboBox list;
    list.addItems({"Low", "High"});
    list.setCurrentIndex(1);
    QAccessibleInterface* unnamed = QAccessible::queryAccessibleInterface(&list);
    EXPECT_EQ(unnamed->text(QAccessible::Name), "High");
    EXPECT_EQ(unnamed->indexOfChild(strip->child(0)), -1);
    EXPECT_EQ(unnamed->indexOfChild(unnamed->child(0)), 0);
    list.setAccessibleName("Alarm 1 Normal State");
    EXPECT_EQ(unnamed->text(QAccessible::Name), "Alarm 1 Normal State");
    EXPECT_EQ(unnamed->text(QAccessible::Value), "High");
}

} // namespace
} // namespace qm::app::guitest
