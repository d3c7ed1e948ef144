// The parts every mode window shares, sized from the fonts they use so they fit at any scaling.
#include "app/ModeWindowBuilder.h"

#include "app/TextBox.h"
#include "shell/HelpTexts.h"
#include "shell/WindowAids.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <array>

namespace qm::app
{

namespace
{

// What a line edit adds around its text (frame, margins, cursor) beyond the text itself: its own size hint
// is seventeen "x" wide plus exactly that.
int lineEditWidth(const QLineEdit* edit, int characters)
{
    const QFontMetrics metrics(edit->font());
    const int chrome = edit->sizeHint().width() - metrics.horizontalAdvance(QLatin1Char('x')) * 17;
    const int text = metrics.horizontalAdvance(QString(characters, QLatin1Char('W')));
    return std::max(text + chrome + metrics.averageCharWidth() / 2, edit->minimumSizeHint().width());
}

QHBoxLayout* rowLayout()
{
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

} // namespace

QString toQString(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void offerCommonPaths(QLineEdit* special)
{
    QStringList paths;
    for (const std::string& path : shell::commonPaths())
        paths << toQString(path);
    // Completions only: the field takes any text its rules take, and its typing filter still sees every key.
    auto* completer = new QCompleter(paths, special);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    special->setCompleter(completer);
}

QGridLayout* fieldGrid(int columns)
{
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(columns, 1);
    return grid;
}

QHBoxLayout* sideBySide(QLayout* left, QLayout* right, int gap)
{
    auto* columns = rowLayout();
    for (QLayout* column : {left, right}) {
        auto* top = new QVBoxLayout;
        top->addLayout(column);
        top->addStretch(1);
        columns->addLayout(top);
        if (column == left)
            columns->addSpacing(gap);
    }
    columns->addStretch(1);
    return columns;
}

ModeWindowBuilder::ModeWindowBuilder(const forms::StationControls& station, QWidget* parent)
    : m_station(station), m_window(new QWidget(parent))
{
    m_window->setObjectName(toQString(station.window.name()));
    m_window->setWindowTitle(toQString(station.window.caption()));
}

void ModeWindowBuilder::follow(QWidget* control)
{
    m_tabOrder.push_back(control);
}

QLabel* ModeWindowBuilder::label(const QString& text, QWidget* buddy, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLineEdit* ModeWindowBuilder::lineEdit(const forms::TextField& field, const QString& toolTip, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(toQString(field.name()));
    edit->setToolTip(toolTip);
    // The field's typing limit is kept by the view's input rules (typing only); the widget just has room for it.
    edit->setFixedWidth(lineEditWidth(edit, static_cast<int>(field.maxLength())));
    follow(edit);
    return edit;
}

QPlainTextEdit* ModeWindowBuilder::textBox(const forms::TextField& field, int lines, const QString& toolTip,
                                           QWidget* parent)
{
    auto* box = new TextBox(parent);
    box->setObjectName(toQString(field.name()));
    box->setToolTip(toolTip);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setTabChangesFocus(true);
    const QFontMetrics metrics(box->font());
    const int chrome = 2 * box->frameWidth() + 2 * static_cast<int>(box->document()->documentMargin()) + 2;
    box->setFixedHeight(std::max(metrics.lineSpacing() * lines + chrome, box->minimumSizeHint().height()));
    box->setMinimumWidth(metrics.averageCharWidth() * 40 + chrome);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    follow(box);
    return box;
}

QComboBox* ModeWindowBuilder::pickList(const forms::PickList& list, int characters, const QString& toolTip,
                                       QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(toQString(list.name()));
    combo->setToolTip(toolTip);
    combo->setEditable(list.editable());
    combo->setMinimumContentsLength(characters);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    follow(combo);
    return combo;
}

QCheckBox* ModeWindowBuilder::checkBox(const forms::CheckBox& box, const QString& caption, const QString& toolTip,
                                       QWidget* parent)
{
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(toQString(box.name()));
    check->setToolTip(toolTip);
    follow(check);
    return check;
}

QGroupBox* ModeWindowBuilder::terminationGroup(const forms::OptionGroup& options, const forms::TextField& userValue,
                                               QWidget* parent)
{
    static const std::array<QString, 3> kCaptions{QStringLiteral("Carriage Return"), QStringLiteral("Line Feed"),
                                                  QStringLiteral("User Defined (0-255 decimal) --->")};
    static const std::array<QString, 3> kToolTips{
        QStringLiteral("Click to end each packet at a Carriage Return (13 decimal)."),
        QStringLiteral("Click to end each packet at a Line Feed (10 decimal)."),
        QStringLiteral("Click to end each packet at the character entered to the right.")};

    auto* group = new QGroupBox(QStringLiteral("Termination Character"), parent);
    auto* grid = fieldGrid(2);
    group->setLayout(grid);
    for (int option = 0; option < options.size() && option < 3; ++option) {
        auto* button = new QRadioButton(kCaptions.at(static_cast<std::size_t>(option)), group);
        button->setObjectName(toQString(options.name(option)));
        button->setToolTip(kToolTips.at(static_cast<std::size_t>(option)));
        grid->addWidget(button, option, 0);
        follow(button);
    }
    grid->addWidget(
        lineEdit(userValue, QStringLiteral("Enter the Termination Character value in decimal (0-255)."), group),
        forms::kUserDefined, 1);
    return group;
}

QTabBar* ModeWindowBuilder::profileTabs(const forms::TabStrip& strip, QWidget* parent)
{
    auto* tabs = new QTabBar(parent);
    tabs->setObjectName(toQString(strip.name()));
    tabs->setToolTip(QStringLiteral("Click a tab to show the settings of that profile."));
    tabs->setExpanding(false);
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideNone);
    for (int profile = 1; profile <= forms::kProfileCount; ++profile)
        tabs->addTab(QString::number(profile));
    follow(tabs);
    return tabs;
}

QGroupBox* ModeWindowBuilder::frame(const forms::Panel& panel, QWidget* parent)
{
    auto* box = new QGroupBox(toQString(panel.caption()), parent);
    box->setObjectName(toQString(panel.name()));
    return box;
}

int ModeWindowBuilder::addCallRows(QGridLayout* grid, int row, bool withSsid, QWidget* parent)
{
    QLineEdit* myCall = lineEdit(m_station.MyCall, QStringLiteral("Enter your callsign."), parent);
    grid->addWidget(label(QStringLiteral("My Call"), myCall, parent), row, 0);
    if (withSsid) {
        auto* call = rowLayout();
        call->addWidget(myCall);
        QLineEdit* ssid = lineEdit(m_station.SSID, QStringLiteral("Enter your SSID."), parent);
        call->addSpacing(myCall->fontMetrics().averageCharWidth() * 2);
        call->addWidget(label(QStringLiteral("SSID"), ssid, parent));
        call->addWidget(ssid);
        call->addStretch(1);
        grid->addLayout(call, row, 1);
    } else {
        grid->addWidget(myCall, row, 1);
    }
    ++row;
    QComboBox* toCall =
        pickList(m_station.ToCall, 10, QStringLiteral("Enter (or click to select) the To Call."), parent);
    grid->addWidget(label(QStringLiteral("To Call"), toCall, parent), row, 0);
    grid->addWidget(toCall, row, 1);
    return row + 1;
}

int ModeWindowBuilder::addSsidRow(QGridLayout* grid, int row, QWidget* parent)
{
    QLineEdit* ssid = lineEdit(m_station.SSID, QStringLiteral("Enter the SSID of this profile."), parent);
    grid->addWidget(label(QStringLiteral("SSID"), ssid, parent), row, 0);
    grid->addWidget(ssid, row, 1);
    return row + 1;
}

int ModeWindowBuilder::addPathRows(QGridLayout* grid, int row, bool withSpecialPaths, QWidget* parent)
{
    const int first = withSpecialPaths ? row + 1 : row;
    for (int path = 0; path < 4; ++path) {
        const QString number = QString::number(path + 1);
        QComboBox* list = pickList(m_station.Path.at(static_cast<std::size_t>(path)), 14,
                                   QStringLiteral("Click to select Path %1.").arg(number), parent);
        grid->addWidget(label(QStringLiteral("Path %1").arg(number), list, parent), first + path, 0);
        grid->addWidget(list, first + path, 1);
    }
    if (!withSpecialPaths)
        return first + 4;
    QLineEdit* firstSpecial = nullptr;
    for (int path = 0; path < 4; ++path) {
        QLineEdit* special = lineEdit(
            m_station.SpecPath.at(static_cast<std::size_t>(path)),
            QStringLiteral("Enter Special Path %1 (a path callsign with optional SSID, e.g. WIDE3-3).").arg(path + 1),
            parent);
        offerCommonPaths(special);
        grid->addWidget(special, first + path, 2);
        if (path == 0)
            firstSpecial = special;
    }
    grid->addWidget(label(QStringLiteral("Special Paths"), firstSpecial, parent), row, 2);
    return first + 4;
}

int ModeWindowBuilder::addSpecialPathRows(QGridLayout* grid, int row, QWidget* parent)
{
    for (int path = 0; path < 4; ++path) {
        QLineEdit* special = lineEdit(
            m_station.SpecPath.at(static_cast<std::size_t>(path)),
            QStringLiteral("Enter Special Path %1 (a path callsign with optional SSID, e.g. WIDE3-3).").arg(path + 1),
            parent);
        offerCommonPaths(special);
        grid->addWidget(special, row + path, 1);
        if (path == 0)
            grid->addWidget(label(QStringLiteral("Special Paths"), special, parent), row, 0);
    }
    return row + 4;
}

int ModeWindowBuilder::addTimerRows(QGridLayout* grid, int row, const QString& timerNoun, QWidget* parent)
{
    QLineEdit* minutes =
        lineEdit(m_station.TmrMin, QStringLiteral("Enter the transmit timer %1 in minutes.").arg(timerNoun), parent);
    QLineEdit* seconds =
        lineEdit(m_station.TmrSec, QStringLiteral("Enter the transmit timer %1 in seconds.").arg(timerNoun), parent);
    auto* timer = rowLayout();
    timer->addWidget(minutes);
    timer->addWidget(label(QStringLiteral("Min"), minutes, parent));
    timer->addSpacing(minutes->fontMetrics().averageCharWidth());
    timer->addWidget(seconds);
    timer->addWidget(label(QStringLiteral("Sec"), seconds, parent));
    timer->addStretch(1);
    grid->addWidget(label(QStringLiteral("Transmit Timer"), minutes, parent), row, 0);
    grid->addLayout(timer, row, 1);
    ++row;

    QComboBox* delay = pickList(m_station.TxDelay, 8, QStringLiteral("Click to select the Transmit Delay."), parent);
    grid->addWidget(label(QStringLiteral("Transmit Delay"), delay, parent), row, 0);
    grid->addWidget(delay, row, 1);
    ++row;
    QComboBox* tail = pickList(m_station.TxTail, 8, QStringLiteral("Click to select the Tail Delay."), parent);
    grid->addWidget(label(QStringLiteral("Tail Delay"), tail, parent), row, 0);
    grid->addWidget(tail, row, 1);
    return row + 1;
}

QWidget* ModeWindowBuilder::finish(QVBoxLayout* fields, forms::Mode mode)
{
    auto* layout = new QVBoxLayout(m_window);
    layout->addLayout(fields);
    // What the configuration sends, as a monitor shows the packet: drawn from the window's values as they change.
    auto* header = new QLabel(m_window);
    header->setObjectName(toQString(m_station.prefix() + "PacketHeader"));
    header->setTextFormat(Qt::PlainText);
    header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    header->setWordWrap(true);
    layout->addWidget(header);

    QGroupBox* helpFrame = frame(m_station.HelpFrame, m_window);
    helpFrame->setTitle(m_window->windowTitle());
    auto* helpBox = new QLabel(helpFrame);
    helpBox->setObjectName(toQString(m_station.HelpBox.name()));
    helpBox->setTextFormat(Qt::PlainText);
    helpBox->setWordWrap(true);
    helpBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const std::string& help = shell::modeHelpText(mode);
    helpBox->setText(QString::fromUtf8(help.data(), static_cast<qsizetype>(help.size())));
    auto* helpLayout = new QVBoxLayout(helpFrame);
    helpLayout->addWidget(helpBox);
    // APRS advice on the values typed, below the help text; hidden while there is none.
    auto* advice = new QLabel(helpFrame);
    advice->setObjectName(toQString(m_station.prefix() + "Advice"));
    advice->setTextFormat(Qt::PlainText);
    advice->setWordWrap(true);
    advice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    advice->hide();
    helpLayout->addWidget(advice);
    layout->addWidget(helpFrame);

    for (std::size_t index = 1; index < m_tabOrder.size(); ++index)
        QWidget::setTabOrder(m_tabOrder[index - 1], m_tabOrder[index]);

    // A word-wrapping label asks for the height of its text only at the width it is given: reserve the height
    // the help text needs at the narrowest the window can be, so a window sized to its hints never cuts it off.
    m_window->resize(layout->minimumSize());
    layout->activate();
    helpLayout->activate();
    helpBox->setMinimumHeight(helpBox->heightForWidth(helpBox->width()));
    m_window->adjustSize();
    return m_window;
}

} // namespace qm::app
