// The NMEA and Tracking windows: the settings all ten profiles share, and the frame of the profile on show.
#include "app/ProfileWindows.h"

#include "app/ModeWindowBuilder.h"
#include "shell/AprsSymbols.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWidget>

namespace qm::app
{

namespace
{

const QString kDeltaToolTip = QStringLiteral("Click to enable or disable Course Delta");
const QString kAdaptiveToolTip = QStringLiteral("Click to enable or disable Adaptive Transmit");

int columnGap(const QWidget* window)
{
    return window->fontMetrics().averageCharWidth() * 4;
}

// The tab strip sits directly on top of the frame of the profile it shows; the button that copies the profile on
// show to others sits below it.
QVBoxLayout* profileColumn(QTabBar* tabs, QGroupBox* frame, const std::string& prefix)
{
    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    column->addWidget(tabs);
    column->addWidget(frame);
    auto* copy = new QPushButton(QStringLiteral("&Copy This Profile to..."));
    copy->setObjectName(toQString(prefix + "ProfileCopy"));
    copy->setToolTip(QStringLiteral("Click to copy the profile on show to other profiles."));
    copy->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(0, 6, 0, 0);
    buttons->addWidget(copy);
    buttons->addStretch(1);
    column->addLayout(buttons);
    return column;
}

} // namespace

QWidget* nmeaWindow(QWidget* parent)
{
    const forms::NmeaForm model;
    ModeWindowBuilder builder(model.station, parent);
    QWidget* window = builder.window();

    QGridLayout* shared = fieldGrid(2);
    int row = builder.addCallRows(shared, 0, false, window);
    row = builder.addSpecialPathRows(shared, row, window);
    shared->addWidget(builder.terminationGroup(model.NMEATxOn, model.NMEAUserTrigChar, window), row++, 0, 1, 3);
    shared->addWidget(builder.checkBox(model.NMEADeltaEnable, QStringLiteral("Reserved"), kDeltaToolTip + u'.', window),
                      row++, 0, 1, 2);
    shared->addWidget(
        builder.checkBox(model.NMEAAdaptiveTransmitEnable, QStringLiteral("Reserved"), kAdaptiveToolTip, window), row,
        0, 1, 2);

    QTabBar* tabs = builder.profileTabs(model.NMEAProfile, window);
    QGroupBox* frame = builder.frame(model.NMEAProfileFrame, window);
    QGridLayout* profile = fieldGrid(2);
    frame->setLayout(profile);
    row = builder.addSsidRow(profile, 0, frame);
    row = builder.addPathRows(profile, row, false, frame);
    builder.addTimerRows(profile, row, QStringLiteral("value"), frame);

    auto* fields = new QVBoxLayout;
    fields->addLayout(sideBySide(shared, profileColumn(tabs, frame, model.station.prefix()), columnGap(window)));
    return builder.finish(fields, forms::Mode::Nmea);
}

QWidget* trackingWindow(QWidget* parent)
{
    const forms::TrackingForm model;
    ModeWindowBuilder builder(model.station, parent);
    QWidget* window = builder.window();

    QGridLayout* shared = fieldGrid(2);
    int row = builder.addCallRows(shared, 0, false, window);
    row = builder.addSpecialPathRows(shared, row, window);
    const struct
    {
        const forms::TextField& field;
        QString label;
        QString toolTip;
    } extras[] = {
        {model.TrkPrefix, QStringLiteral("Prefix"), QStringLiteral("Enter the Prefix (Normally '!' for APRS).")},
        {model.TrkSeparator, QStringLiteral("Separator"),
         QStringLiteral("Enter the Separator (Normally '/' for APRS).")},
        {model.TrkComments, QStringLiteral("Comments:"),
         QStringLiteral("Enter any comments here (21 characters max).")},
    };
    for (const auto& extra : extras) {
        QLineEdit* edit = builder.lineEdit(extra.field, extra.toolTip, window);
        shared->addWidget(builder.label(extra.label, edit, window), row, 0);
        shared->addWidget(edit, row++, 1);
    }
    shared->addWidget(builder.checkBox(model.TrkDeltaEnable, QStringLiteral("Reserved"), kDeltaToolTip, window), row++,
                      0, 1, 2);
    shared->addWidget(
        builder.checkBox(model.TrkAdaptiveTransmitEnable, QStringLiteral("Reserved"), kAdaptiveToolTip, window), row, 0,
        1, 2);

    QTabBar* tabs = builder.profileTabs(model.TrkProfile, window);
    QGroupBox* frame = builder.frame(model.TrkProfileFrame, window);
    QGridLayout* profile = fieldGrid(2);
    frame->setLayout(profile);
    row = builder.addSsidRow(profile, 0, frame);
    row = builder.addPathRows(profile, row, false, frame);
    QLineEdit* symbol =
        builder.lineEdit(model.TrkSymbol, QStringLiteral("Enter the Symbol character of this profile."), frame);
    auto* symbolRow = new QHBoxLayout;
    symbolRow->addWidget(symbol);
    // The symbol's name as a map shows it, and the common symbols offered by name.
    auto* symbolName = new QLabel(frame);
    symbolName->setObjectName(QStringLiteral("TrkSymbolName"));
    symbolName->setTextFormat(Qt::PlainText);
    symbolName->setMinimumWidth(symbolName->fontMetrics().averageCharWidth() * 14);
    symbolRow->addWidget(symbolName);
    auto* symbolPick = new QComboBox(frame);
    symbolPick->setObjectName(QStringLiteral("TrkSymbolPick"));
    symbolPick->setToolTip(QStringLiteral("Click to choose a common symbol by its name."));
    symbolPick->setAccessibleName(QStringLiteral("Common Symbols"));
    symbolPick->setPlaceholderText(QStringLiteral("Common..."));
    for (const shell::AprsSymbol& common : shell::commonSymbols())
        symbolPick->addItem(toQString(common.name + " (" + common.table + common.code + ")"),
                            QString(QChar::fromLatin1(common.table)) + QChar::fromLatin1(common.code));
    symbolPick->setCurrentIndex(-1);
    symbolPick->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    symbolRow->addWidget(symbolPick);
    symbolRow->addSpacing(columnGap(window));
    symbolRow->addWidget(
        builder.checkBox(model.TrkSendComments, QStringLiteral("Send Comments"),
                         QStringLiteral("Click to enable or disable sending comments in this profile."), frame));
    symbolRow->addStretch(1);
    profile->addWidget(builder.label(QStringLiteral("Symbol"), symbol, frame), row, 0);
    profile->addLayout(symbolRow, row++, 1);
    builder.addTimerRows(profile, row, QStringLiteral("value"), frame);

    auto* fields = new QVBoxLayout;
    fields->addLayout(sideBySide(shared, profileColumn(tabs, frame, model.station.prefix()), columnGap(window)));
    return builder.finish(fields, forms::Mode::Tracking);
}

} // namespace qm::app
