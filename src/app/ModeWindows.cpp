// The Telemetry, Beacon and Alarm windows, and the choice of window by mode.
#include "app/ModeWindows.h"

#include "app/ModeWindowBuilder.h"
#include "app/ProfileWindows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>

namespace qm::app
{

namespace
{

int columnGap(const QWidget* window)
{
    return window->fontMetrics().averageCharWidth() * 4;
}

// Call, to-call and the paths on the left, the timer and delays (and what the mode adds) on the right.
struct StationColumns
{
    QGridLayout* left;
    QGridLayout* right;
    int rightRow;
};

StationColumns stationColumns(ModeWindowBuilder& builder, const QString& timerNoun)
{
    QWidget* window = builder.window();
    StationColumns columns{fieldGrid(3), fieldGrid(2), 0};
    const int row = builder.addCallRows(columns.left, 0, true, window);
    builder.addPathRows(columns.left, row, true, window);
    columns.rightRow = builder.addTimerRows(columns.right, 0, timerNoun, window);
    return columns;
}

QWidget* telemetryWindow(QWidget* parent)
{
    const forms::TelemetryForm model;
    ModeWindowBuilder builder(model.station, parent);
    QWidget* window = builder.window();
    const StationColumns columns = stationColumns(builder, QStringLiteral("interval"));
    columns.right->addWidget(builder.terminationGroup(model.TelTxOn, model.TelUserTrigChar, window), columns.rightRow,
                             0, 1, 3);

    auto* fields = new QVBoxLayout;
    fields->addLayout(sideBySide(columns.left, columns.right, columnGap(window)));
    return builder.finish(fields, forms::Mode::Telemetry);
}

QWidget* beaconWindow(QWidget* parent)
{
    const forms::BeaconForm model;
    ModeWindowBuilder builder(model.station, parent);
    QWidget* window = builder.window();
    const StationColumns columns = stationColumns(builder, QStringLiteral("value"));

    auto* fields = new QVBoxLayout;
    fields->addLayout(sideBySide(columns.left, columns.right, columnGap(window)));
    auto* text = builder.textBox(
        model.BcnMsgText, 3,
        QStringLiteral("Enter the Beacon Text here (%1 characters max).").arg(model.BcnMsgText.maxLength()), window);
    fields->addSpacing(window->fontMetrics().height() / 2);
    fields->addWidget(builder.label(QStringLiteral("Beacon Text"), text, window));
    fields->addWidget(text);
    return builder.finish(fields, forms::Mode::Beacon);
}

QWidget* alarmWindow(QWidget* parent)
{
    const forms::AlarmForm model;
    ModeWindowBuilder builder(model.station, parent);
    QWidget* window = builder.window();
    const StationColumns columns = stationColumns(builder, QStringLiteral("value"));
    int row = columns.rightRow;
    QLineEdit* armDelay =
        builder.lineEdit(model.AlmArmDelay, QStringLiteral("Enter the Arm Delay in seconds (0 - 128)."), window);
    columns.right->addWidget(builder.label(QStringLiteral("Arm Delay (Secs)"), armDelay, window), row, 0);
    columns.right->addWidget(armDelay, row, 1);
    ++row;
    QLineEdit* count =
        builder.lineEdit(model.AlmTxCntrLimit, QStringLiteral("Enter the Number Of Times To Send (0 - 255)."), window);
    columns.right->addWidget(builder.label(QStringLiteral("Number Times To Send"), count, window), row, 0);
    columns.right->addWidget(count, row, 1);

    // Each message sits on the row of its input's normal state: the two belong to the same alarm.
    QGridLayout* alarms = fieldGrid(5);
    alarms->setColumnMinimumWidth(2, columnGap(window));
    for (int alarm = 0; alarm < 4; ++alarm) {
        const auto index = static_cast<std::size_t>(alarm);
        const forms::TextField& message = model.AlarmMsgText.at(index);
        QLineEdit* text = builder.lineEdit(
            message,
            QStringLiteral("Enter the message for Alarm %1 (%2 char max).").arg(alarm + 1).arg(message.maxLength()),
            window);
        if (alarm == 0)
            alarms->addWidget(builder.label(QStringLiteral("Alarm Messages"), text, window), 0, 0);
        alarms->addWidget(text, alarm, 1);
        QComboBox* condition =
            builder.pickList(model.AlmCondition.at(index), 5,
                             QStringLiteral("Select the normal (un-alarmed) state for this alarm."), window);
        alarms->addWidget(builder.label(QStringLiteral("%1- Normal State").arg(alarm + 1), condition, window), alarm,
                          3);
        alarms->addWidget(condition, alarm, 4);
    }

    auto* fields = new QVBoxLayout;
    fields->addLayout(sideBySide(columns.left, columns.right, columnGap(window)));
    fields->addSpacing(window->fontMetrics().height() / 2);
    fields->addLayout(alarms);
    return builder.finish(fields, forms::Mode::Alarm);
}

} // namespace

QWidget* createModeWindow(forms::Mode mode, QWidget* parent)
{
    switch (mode) {
    case forms::Mode::Telemetry:
        return telemetryWindow(parent);
    case forms::Mode::Beacon:
        return beaconWindow(parent);
    case forms::Mode::Nmea:
        return nmeaWindow(parent);
    case forms::Mode::Tracking:
        return trackingWindow(parent);
    case forms::Mode::Alarm:
        return alarmWindow(parent);
    }
    return nullptr;
}

} // namespace qm::app
