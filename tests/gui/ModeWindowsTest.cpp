// The five mode windows: every control by name and kind, labels, tool tips, limits, tabs and layout.
#include "app/ModeWindows.h"

#include "forms/Controls.h"
#include "gui/OffscreenApplication.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace qm::app
{
namespace
{

class ApplicationEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        guitest::prepareOffscreen();
        m_application = std::make_unique<QApplication>(m_argc, m_argv.data());
    }

    void TearDown() override { m_application.reset(); }

private:
    char m_name[19] = "mode_windows_tests";
    int m_argc = 1;
    std::array<char*, 2> m_argv{m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

const auto* const kApplication = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

class ModeWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const forms::Mode mode : forms::kModes)
            m_windows.at(static_cast<std::size_t>(mode)).reset(createModeWindow(mode));
    }

    QWidget* window(forms::Mode mode) { return m_windows.at(static_cast<std::size_t>(mode)).get(); }

    QWidget* control(const std::string& name)
    {
        const auto mode = forms::controlMode(name);
        return mode ? window(*mode)->findChild<QWidget*>(QString::fromStdString(name)) : nullptr;
    }

    void showAll()
    {
        for (auto& shown : m_windows)
            shown->show();
        QApplication::processEvents();
    }

    template <typename Visit>
    void forEachModeControl(Visit visit)
    {
        forms::forEachControl(m_models, [&](const std::string& name, forms::Control item) {
            if (forms::controlMode(name))
                visit(name, item);
        });
    }

    std::array<std::unique_ptr<QWidget>, forms::kModeCount> m_windows;
    forms::Windows m_models;
};

bool isOfItsKind(const std::string& name, forms::Control item, QWidget* widget)
{
    return std::visit(
        [&](auto model) {
            using Kind = decltype(model);
            if constexpr (std::is_same_v<Kind, forms::TextField*>) {
                if (name == "BcnMsgText")
                    return qobject_cast<QPlainTextEdit*>(widget) != nullptr;
                return qobject_cast<QLineEdit*>(widget) != nullptr;
            } else if constexpr (std::is_same_v<Kind, forms::PickList*>) {
                auto* combo = qobject_cast<QComboBox*>(widget);
                return combo && combo->isEditable() == model->editable() && combo->count() == 0;
            } else if constexpr (std::is_same_v<Kind, forms::OptionRef>) {
                return qobject_cast<QRadioButton*>(widget) != nullptr;
            } else if constexpr (std::is_same_v<Kind, forms::CheckBox*>) {
                return qobject_cast<QCheckBox*>(widget) != nullptr;
            } else if constexpr (std::is_same_v<Kind, forms::TabStrip*>) {
                return qobject_cast<QTabBar*>(widget) != nullptr;
            } else if constexpr (std::is_same_v<Kind, forms::Panel*>) {
                if (name.ends_with("HelpBox")) {
                    auto* label = qobject_cast<QLabel*>(widget);
                    auto* browser = qobject_cast<QTextBrowser*>(widget);
                    return (label && label->wordWrap()) || (browser && browser->isReadOnly());
                }
                return qobject_cast<QGroupBox*>(widget) != nullptr;
            } else {
                return false;
            }
        },
        item);
}

bool hasCaption(QWidget* window, QWidget* widget, const QString& caption)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->text() == caption)
        return true;
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == widget && label->text() == caption)
            return true;
    return false;
}

QString enclosingFrame(QWidget* window, QWidget* widget)
{
    for (QWidget* parent = widget->parentWidget(); parent && parent != window; parent = parent->parentWidget())
        if (auto* frame = qobject_cast<QGroupBox*>(parent))
            return frame->title();
    return {};
}

int textAreaWidth(const QLineEdit* edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    constexpr int kTextMargin = 2;
    return contents.width() - margins.left() - margins.right() - 2 * kTextMargin;
}

QString describe(const QWidget* widget)
{
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return "label " + label->text().left(20);
    return widget->metaObject()->className();
}

TEST_F(ModeWindowsTest, WindowsCarryTheirNamesAndCaptions)
{
    const struct
    {
        forms::Mode mode;
        const char* name;
        const char* caption;
    } windows[] = {
        {forms::Mode::Telemetry, "Form1", "Telemetry Mode"}, {forms::Mode::Beacon, "Form2", "Beacon Mode"},
        {forms::Mode::Nmea, "Form3", "NMEA Mode"},           {forms::Mode::Tracking, "Form4", "Tracking Mode"},
        {forms::Mode::Alarm, "Form5", "Alarm Mode"},
    };
    for (const auto& expected : windows) {
        EXPECT_EQ(window(expected.mode)->objectName(), expected.name);
        EXPECT_EQ(window(expected.mode)->windowTitle(), expected.caption);
    }
}

TEST_F(ModeWindowsTest, EveryControlOfEveryModeWindowIsOneWidgetOfItsKind)
{
    std::array<int, forms::kModeCount> controls{};
    forEachModeControl([&](const std::string& name, forms::Control item) {
        ++controls.at(static_cast<std::size_t>(*forms::controlMode(name)));
        const QList<QWidget*> found =
            window(*forms::controlMode(name))->findChildren<QWidget*>(QString::fromStdString(name));
        ASSERT_EQ(found.size(), 1) << name;
        EXPECT_TRUE(isOfItsKind(name, item, found.front()))
            << name << " is a " << found.front()->metaObject()->className();
        EXPECT_FALSE(found.front()->isWindow()) << name;
    });
    EXPECT_EQ(controls, (std::array<int, forms::kModeCount>{21, 18, 25, 26, 27}));
}

TEST_F(ModeWindowsTest, ControlsShowTheirLabelsToolTipsAndFrames)
{
    const struct
    {
        const char* control;
        const char* caption;
        const char* toolTip;
        const char* frame;
    } expected[] = {
        {"BcnMyCall", "My Call", "Enter your callsign.", ""},
        {"BcnMySSID", "", "Enter your SSID.", ""},
        {"BcnToCall", "To Call", "Enter (or click to select) the To Call.", ""},
        {"BcnPath1", "Path 1", "Click to select Path 1.", ""},
        {"BcnPath2", "Path 2", "Click to select Path 2.", ""},
        {"BcnPath3", "Path 3", "Click to select Path 3.", ""},
        {"BcnPath4", "Path 4", "Click to select Path 4.", ""},
        {"BcnSpecPath1", "Special Paths", "", ""},
        {"BcnTmrMin", "Transmit Timer", "Enter the transmit timer value in minutes.", ""},
        {"BcnTmrMin", "Min", "", ""},
        {"BcnTmrSec", "Sec", "Enter the transmit timer value in seconds.", ""},
        {"BcnTxDelay", "Transmit Delay", "Click to select the Transmit Delay.", ""},
        {"BcnTxTail", "Tail Delay", "Click to select the Tail Delay.", ""},
        {"BcnMsgText", "Beacon Text", "Enter the Beacon Text here (76 characters max).", ""},
        {"BcnHelpBox", "", "", "Beacon Mode"},
        {"TelMyCall", "My Call", "Enter your callsign.", ""},
        {"TelMySSID", "", "Enter your SSID.", ""},
        {"TelToCall", "To Call", "Enter (or click to select) the To Call.", ""},
        {"TelPath3", "Path 3", "", ""},
        {"TelSpecPath1", "Special Paths", "", ""},
        {"TelTmrMin", "Transmit Timer", "Enter the transmit timer interval in minutes.", ""},
        {"TelTmrSec", "Sec", "Enter the transmit timer interval in seconds.", ""},
        {"TelTxDelay", "Transmit Delay", "", ""},
        {"TelTxTail", "Tail Delay", "", ""},
        {"TelTxOnCREnable", "Carriage Return", "", "Termination Character"},
        {"TelTxOnLFEnable", "Line Feed", "", "Termination Character"},
        {"TelTxOnUserEnable", "User Defined (0-255 decimal) --->", "", "Termination Character"},
        {"TelUserTrigChar", "", "Enter the Termination Character value in decimal (0-255).", "Termination Character"},
        {"TelHelpBox", "", "", "Telemetry Mode"},
        {"AlmMyCall", "My Call", "Enter your callsign.", ""},
        {"AlmMySSID", "", "Enter your SSID.", ""},
        {"AlmToCall", "To Call", "", ""},
        {"AlmPath4", "Path 4", "", ""},
        {"AlmSpecPath1", "Special Paths", "", ""},
        {"AlmTmrMin", "Transmit Timer", "Enter the transmit timer value in minutes.", ""},
        {"AlmTmrSec", "Sec", "Enter the transmit timer value in seconds.", ""},
        {"AlmTxDelay", "Transmit Delay", "", ""},
        {"AlmTxTail", "Tail Delay", "", ""},
        {"AlarmMsgText1", "Alarm Messages", "Enter the message for Alarm 1 (25 char max).", ""},
        {"AlarmMsgText2", "", "Enter the message for Alarm 2 (15 char max).", ""},
        {"AlarmMsgText3", "", "Enter the message for Alarm 3 (15 char max).", ""},
        {"AlarmMsgText4", "", "Enter the message for Alarm 4 (15 char max).", ""},
        {"AlmCondition1", "1- Normal State", "Select the normal (un-alarmed) state for this alarm.", ""},
        {"AlmCondition2", "2- Normal State", "Select the normal (un-alarmed) state for this alarm.", ""},
        {"AlmCondition3", "3- Normal State", "Select the normal (un-alarmed) state for this alarm.", ""},
        {"AlmCondition4", "4- Normal State", "Select the normal (un-alarmed) state for this alarm.", ""},
        {"AlmArmDelay", "Arm Delay (Secs)", "Enter the Arm Delay in seconds (0 - 128).", ""},
        {"AlmTxCntrLimit", "Number Times To Send", "Enter the Number Of Times To Send (0 - 255).", ""},
        {"AlmHelpBox", "", "", "Alarm Mode"},
        {"NMEAMyCall", "My Call", "", ""},
        {"NMEAToCall", "To Call", "", ""},
        {"NMEASpecPath1", "Special Paths", "", ""},
        {"NMEATxOnCREnable", "Carriage Return", "", "Termination Character"},
        {"NMEATxOnLFEnable", "Line Feed", "", "Termination Character"},
        {"NMEATxOnUserEnable", "User Defined (0-255 decimal) --->", "", "Termination Character"},
        {"NMEAUserTrigChar", "", "Enter the Termination Character value in decimal (0-255).", "Termination Character"},
        {"NMEADeltaEnable", "Reserved", "Click to enable or disable Course Delta.", ""},
        {"NMEAAdaptiveTransmitEnable", "Reserved", "Click to enable or disable Adaptive Transmit", ""},
        {"NMEASSID", "SSID", "", "Profile # Settings"},
        {"NMEAPath1", "Path 1", "", "Profile # Settings"},
        {"NMEAPath4", "Path 4", "", "Profile # Settings"},
        {"NMEATmrMin", "Transmit Timer", "", "Profile # Settings"},
        {"NMEATmrSec", "Sec", "", "Profile # Settings"},
        {"NMEATxDelay", "Transmit Delay", "", "Profile # Settings"},
        {"NMEATxTail", "Tail Delay", "", "Profile # Settings"},
        {"NMEAHelpBox", "", "", "NMEA Mode"},
        {"TrkMyCall", "My Call", "", ""},
        {"TrkToCall", "To Call", "", ""},
        {"TrkSpecPath1", "Special Paths", "", ""},
        {"TrkPrefix", "Prefix", "Enter the Prefix (Normally '!' for APRS).", ""},
        {"TrkSeparator", "Separator", "Enter the Separator (Normally '/' for APRS).", ""},
        {"TrkComments", "Comments:", "Enter any comments here (21 characters max).", ""},
        {"TrkDeltaEnable", "Reserved", "Click to enable or disable Course Delta", ""},
        {"TrkAdaptiveTransmitEnable", "Reserved", "Click to enable or disable Adaptive Transmit", ""},
        {"TrkSSID", "SSID", "", "Profile # Settings"},
        {"TrkPath2", "Path 2", "", "Profile # Settings"},
        {"TrkSymbol", "Symbol", "", "Profile # Settings"},
        {"TrkSendComments", "Send Comments", "Click to enable or disable sending comments in this profile.",
         "Profile # Settings"},
        {"TrkTmrMin", "Transmit Timer", "", "Profile # Settings"},
        {"TrkTxDelay", "Transmit Delay", "", "Profile # Settings"},
        {"TrkTxTail", "Tail Delay", "", "Profile # Settings"},
        {"TrkHelpBox", "", "", "Tracking Mode"},
    };
    for (const auto& row : expected) {
        QWidget* widget = control(row.control);
        ASSERT_NE(widget, nullptr) << row.control;
        QWidget* parent = window(*forms::controlMode(row.control));
        if (*row.caption) {
            EXPECT_TRUE(hasCaption(parent, widget, row.caption)) << row.control << " lacks " << row.caption;
        }
        if (*row.toolTip) {
            EXPECT_EQ(widget->toolTip(), row.toolTip) << row.control;
        }
        EXPECT_EQ(enclosingFrame(parent, widget), row.frame) << row.control;
    }
}

TEST_F(ModeWindowsTest, EveryInputControlHasAToolTip)
{
    forEachModeControl([&](const std::string& name, forms::Control item) {
        if (!std::holds_alternative<forms::Panel*>(item)) {
            EXPECT_FALSE(control(name)->toolTip().isEmpty()) << name;
        }
    });
}

TEST_F(ModeWindowsTest, TextFieldsHaveRoomForTheirTypingLimitAndShowALongerTextWhole)
{
    showAll();
    forEachModeControl([&](const std::string& name, forms::Control item) {
        auto** field = std::get_if<forms::TextField*>(&item);
        if (!field || name == "BcnMsgText")
            return;
        auto* edit = qobject_cast<QLineEdit*>(control(name));
        ASSERT_NE(edit, nullptr) << name;
        const int limit = static_cast<int>((*field)->maxLength());
        EXPECT_GE(textAreaWidth(edit), edit->fontMetrics().horizontalAdvance(QString(limit, QLatin1Char('W')))) << name;
        const QString longer(limit + 5, QLatin1Char('7'));
        edit->setText(longer);
        EXPECT_EQ(edit->text(), longer) << name;
    });
}

TEST_F(ModeWindowsTest, ProfileStripsHaveTenNumberedTabsAndAFrameAroundTheProfileFields)
{
    const struct
    {
        forms::Mode mode;
        const char* strip;
        const char* frame;
        std::vector<const char*> profileFields;
        std::vector<const char*> sharedFields;
    } windows[] = {
        {forms::Mode::Nmea,
         "NMEAProfile",
         "NMEAProfileFrame",
         {"NMEASSID", "NMEAPath1", "NMEAPath2", "NMEAPath3", "NMEAPath4", "NMEATmrMin", "NMEATmrSec", "NMEATxDelay",
          "NMEATxTail"},
         {"NMEAMyCall", "NMEAToCall", "NMEASpecPath1", "NMEASpecPath4", "NMEAUserTrigChar", "NMEADeltaEnable"}},
        {forms::Mode::Tracking,
         "TrkProfile",
         "TrkProfileFrame",
         {"TrkSSID", "TrkPath1", "TrkPath2", "TrkPath3", "TrkPath4", "TrkSymbol", "TrkSendComments", "TrkTmrMin",
          "TrkTmrSec", "TrkTxDelay", "TrkTxTail"},
         {"TrkMyCall", "TrkToCall", "TrkSpecPath1", "TrkSpecPath4", "TrkPrefix", "TrkSeparator", "TrkComments",
          "TrkDeltaEnable"}},
    };
    for (const auto& expected : windows) {
        auto* tabs = window(expected.mode)->findChild<QTabBar*>(expected.strip);
        ASSERT_NE(tabs, nullptr) << expected.strip;
        ASSERT_EQ(tabs->count(), 10) << expected.strip;
        for (int tab = 0; tab < 10; ++tab)
            EXPECT_EQ(tabs->tabText(tab), QString::number(tab + 1)) << expected.strip;
        auto* frame = window(expected.mode)->findChild<QGroupBox*>(expected.frame);
        ASSERT_NE(frame, nullptr) << expected.frame;
        EXPECT_EQ(frame->title(), "Profile # Settings");
        EXPECT_FALSE(frame->isAncestorOf(tabs)) << expected.strip;
        for (const char* name : expected.profileFields)
            EXPECT_TRUE(frame->isAncestorOf(control(name))) << name;
        for (const char* name : expected.sharedFields)
            EXPECT_FALSE(frame->isAncestorOf(control(name))) << name;
    }
}

TEST_F(ModeWindowsTest, ControlsAndLabelsFitTheWindowWithoutOverlapping)
{
    showAll();
    for (auto& shown : m_windows) {
        QWidget* parent = shown.get();
        std::vector<QWidget*> visible;
        for (QWidget* widget : parent->findChildren<QWidget*>())
            if (widget->isVisibleTo(parent) &&
                (qobject_cast<QLabel*>(widget) || qobject_cast<QLineEdit*>(widget) ||
                 qobject_cast<QComboBox*>(widget) || qobject_cast<QAbstractButton*>(widget) ||
                 qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QTabBar*>(widget)))
                visible.push_back(widget);
        auto area = [&](const QWidget* widget) { return QRect(widget->mapTo(parent, QPoint(0, 0)), widget->size()); };
        for (std::size_t i = 0; i < visible.size(); ++i) {
            const QWidget* widget = visible[i];
            EXPECT_TRUE(parent->rect().contains(area(widget))) << describe(widget).toStdString();
            EXPECT_GE(widget->width(), widget->minimumSizeHint().width()) << describe(widget).toStdString();
            EXPECT_GE(widget->height(), widget->minimumSizeHint().height()) << describe(widget).toStdString();
            if (auto* label = qobject_cast<const QLabel*>(widget); label && label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << describe(widget).toStdString();
            }
            for (std::size_t j = i + 1; j < visible.size(); ++j) {
                const QWidget* other = visible[j];
                if (widget->isAncestorOf(other) || other->isAncestorOf(widget))
                    continue;
                EXPECT_FALSE(area(widget).intersects(area(other)))
                    << describe(widget).toStdString() << " overlaps " << describe(other).toStdString();
            }
        }
    }
}

} // namespace
} // namespace qm::app
