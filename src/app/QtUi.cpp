// The user-interface port on Qt Widgets.
#include "app/QtUi.h"

#include "app/HelpViewer.h"
#include "app/WelcomeWindow.h"
#include "qt/Latin1.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <map>

namespace qm::app
{

namespace
{

using qt::latin1;

/// A box's text with its line breaks as the toolkit draws them: CR LF, LF CR, a lone CR and a lone LF are each
/// one line end, so CR LF CR LF leaves an empty line.
QString shownText(const std::string& text)
{
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            shown += QChar(static_cast<unsigned char>(c));
            continue;
        }
        if (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c)
            ++i;
        shown += QChar('\n');
    }
    return shown;
}

/// A window kept above all others (the welcome window) hides any box that is not kept there too.
void keepAboveTopmostWindows(QWidget& dialog)
{
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (window != &dialog && window->isVisible() && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
            return;
        }
}

/// The widest a prompt's text grows before it wraps, so that the prompts fit a screen 1280 pixels wide.
constexpr int kPromptTextWidth = 640;

} // namespace

QString qtFilter(const std::string& filter)
{
    const QStringList parts = latin1(filter).split('|');
    if (parts.size() < 2)
        return latin1(filter);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i].trimmed() + " (" + parts[i + 1].trimmed() + ")";
    return filters.join(";;");
}

QtUi::QtUi(QWidget& parent, QProgressBar& progress, std::function<void()> redraw)
    : m_parent(parent), m_progress(progress), m_redraw(std::move(redraw))
{
    m_progressDue.setSingleShot(true);
    QObject::connect(&m_progressDue, &QTimer::timeout, [this] { drawProgress(); });
}

QtUi::~QtUi()
{
    delete m_helpViewer;
}

void QtUi::prepareMessageBoxes()
{
    for (const QMessageBox::Icon icon : {QMessageBox::Information, QMessageBox::Warning, QMessageBox::Critical}) {
        QMessageBox dialog(icon, "Quellmark", "The configuration was written to the unit.", QMessageBox::Ok, &m_parent);
        dialog.setTextFormat(Qt::PlainText);
        dialog.ensurePolished();
        if (QLayout* layout = dialog.layout())
            layout->activate();
    }
}

forms::Button QtUi::messageBox(const forms::MessageBox& box)
{
    // Ending (a signal, say) closes the boxes that are up; one asked for after that would hold the end up.
    if (m_ended)
        return box.buttons == forms::Buttons::YesNo ? forms::Button::No
               : box.buttons == forms::Buttons::Ok  ? forms::Button::Ok
                                                    : forms::Button::Cancel;
    m_redraw();
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (box.icon) {
    case forms::Icon::None:
        break;
    case forms::Icon::Information:
        icon = QMessageBox::Information;
        break;
    case forms::Icon::Warning:
        icon = QMessageBox::Warning;
        break;
    case forms::Icon::Critical:
        icon = QMessageBox::Critical;
        break;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (box.buttons == forms::Buttons::OkCancel)
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
    else if (box.buttons == forms::Buttons::YesNo || box.buttons == forms::Buttons::YesNoDefaultNo)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (box.buttons == forms::Buttons::SaveDiscardCancel)
        buttons = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    // While the welcome window has the keys the box belongs to it: the window manager then stacks the box in front
    // of it and gives it the focus, which it withholds from a window that is no child of the focused one.
    QWidget* owner = qobject_cast<WelcomeWindow*>(QApplication::activeWindow());
    QMessageBox dialog(icon, latin1(box.title), shownText(box.text), buttons, owner ? owner : &m_parent);
    if (box.buttons == forms::Buttons::SaveDiscardCancel) {
        // The platform's own words for Discard vary ("Close without Saving"); the question asks about more than
        // closing, so the buttons say what they do.
        dialog.button(QMessageBox::Save)->setText("&Save");
        dialog.button(QMessageBox::Discard)->setText("&Discard");
        dialog.button(QMessageBox::Cancel)->setText("Cancel");
    }
    dialog.setObjectName("MessageBox");
    keepAboveTopmostWindows(dialog);
    dialog.setTextFormat(Qt::PlainText);
    if (!box.details.empty())
        dialog.setDetailedText(QString::fromLocal8Bit(box.details.c_str()));
    if (box.buttons == forms::Buttons::SaveDiscardCancel) {
        dialog.setDefaultButton(QMessageBox::Save);
        dialog.setEscapeButton(QMessageBox::Cancel);
    } else if (box.buttons == forms::Buttons::YesNoDefaultNo) {
        dialog.setDefaultButton(QMessageBox::No);
        dialog.setEscapeButton(QMessageBox::No);
    } else {
        dialog.setDefaultButton(box.buttons == forms::Buttons::YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    }
    switch (dialog.exec()) {
    case QMessageBox::Cancel:
        return forms::Button::Cancel;
    case QMessageBox::Save:
        return forms::Button::Save;
    case QMessageBox::Discard:
        return forms::Button::Discard;
    case QMessageBox::Yes:
        return forms::Button::Yes;
    case QMessageBox::No:
        return forms::Button::No;
    default:
        return forms::Button::Ok;
    }
}

std::optional<std::string> QtUi::inputBox(const std::string& prompt, const std::string& title,
                                          const std::string& defaultText)
{
    if (m_ended)
        return std::nullopt;
    m_redraw();
    QInputDialog dialog(&m_parent);
    dialog.setObjectName("InputBox");
    dialog.setWindowTitle(latin1(title));
    dialog.setLabelText(shownText(prompt));
    dialog.setTextValue(latin1(defaultText));
    keepAboveTopmostWindows(dialog);
    // A long prompt wraps instead of widening the box past the screen.
    if (auto* label = dialog.findChild<QLabel*>()) {
        label->setWordWrap(true);
        label->setMinimumWidth(std::min(kPromptTextWidth, label->sizeHint().width()));
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return qt::toLatin1(dialog.textValue());
}

std::string QtUi::openFileDialog(const shell::FileDialogRequest& request)
{
    if (m_ended)
        return {};
    m_redraw();
    return QFileDialog::getOpenFileName(&m_parent, latin1(request.title), QString::fromStdString(request.initialFolder),
                                        qtFilter(request.filter))
        .toStdString();
}

shell::FileDialogChoice QtUi::saveFileDialog(const shell::FileDialogRequest& request)
{
    if (m_ended)
        return {};
    m_redraw();
    const QString filters = qtFilter(request.filter);
    QString chosenFilter;
    // The dialog starts in the folder with the name offered, if any, already typed.
    QString start = QString::fromStdString(request.initialFolder);
    if (!request.initialName.empty())
        start = QDir(start).filePath(latin1(request.initialName));
    // The program asks about overwriting itself, with its own words.
    const QString path = QFileDialog::getSaveFileName(&m_parent, latin1(request.title), start, filters, &chosenFilter,
                                                      QFileDialog::DontConfirmOverwrite);
    const auto index = filters.split(";;").indexOf(chosenFilter);
    return {path.toStdString(), index < 0 ? 1 : static_cast<int>(index) + 1};
}

shell::FontSettings QtUi::fontDialog(const shell::FontSettings& preset)
{
    if (m_ended)
        return preset;
    m_redraw();
    QFont font(QString::fromStdString(preset.name), preset.size);
    font.setBold(preset.bold);
    font.setItalic(preset.italic);
    font.setStrikeOut(preset.strikethrough);
    font.setUnderline(preset.underline);
    bool ok = false;
    // Printers take scalable fonts only.
    const QFont chosen = QFontDialog::getFont(&ok, font, &m_parent, "Select Printer Font", QFontDialog::ScalableFonts);
    if (!ok)
        return preset;
    shell::FontSettings settings;
    settings.name = chosen.family().toStdString();
    settings.size = static_cast<int>(std::lround(chosen.pointSizeF()));
    settings.bold = chosen.bold();
    settings.italic = chosen.italic();
    settings.strikethrough = chosen.strikeOut();
    settings.underline = chosen.underline();
    return settings;
}

void QtUi::setFocus(const std::string& control)
{
    m_redraw();
    QWidget* widget = m_finder ? m_finder(control) : nullptr;
    if (!widget)
        return;
    for (QWidget* ancestor = widget->parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(ancestor)) {
            sub->show();
            if (auto* area = sub->mdiArea())
                area->setActiveSubWindow(sub);
            break;
        }
    widget->setFocus(Qt::OtherFocusReason);
}

void QtUi::setMousePointer(shell::Pointer pointer)
{
    const bool busy = pointer == shell::Pointer::Busy;
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void QtUi::beep()
{
    QApplication::beep();
}

void QtUi::showProgress(int done, int total)
{
    const bool sameTransfer = total == m_progressTotal && done >= m_progressDone && m_progress.isVisible();
    m_progressDone = done;
    m_progressTotal = total;
    if (!sameTransfer || done >= total || !m_progressDrawn.isValid() ||
        m_progressDrawn.hasExpired(kProgressIntervalMs)) {
        drawProgress();
        return;
    }
    if (!m_progressDue.isActive())
        m_progressDue.start(static_cast<int>(kProgressIntervalMs - m_progressDrawn.elapsed()));
}

void QtUi::drawProgress()
{
    m_progressDue.stop();
    m_progressDrawn.start();
    // A bar that goes away is hidden first: a visible bar repaints at once whenever its text changes.
    const bool running = m_progressDone < m_progressTotal;
    if (!running)
        m_progress.setVisible(false);
    m_progress.setRange(0, m_progressTotal);
    m_progress.setValue(m_progressDone);
    m_progress.setFormat(QString("%v of %m bytes"));
    if (running)
        m_progress.setVisible(true);
}

void QtUi::paintNow()
{
    m_redraw();
    // Paints at once without running the event loop, so no other handler can run in the middle of the command.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            window->repaint();
}

void QtUi::showHelp(const std::string& helpFile)
{
    if (!m_helpViewer)
        m_helpViewer = new HelpViewer();
    m_helpViewer->open(QString::fromStdString(helpFile));
}

std::optional<std::string> QtUi::chooseDevice(const std::vector<shell::SerialDevice>& present,
                                              const std::string& current)
{
    if (m_ended)
        return std::nullopt;
    m_redraw();
    QInputDialog dialog(&m_parent);
    dialog.setObjectName("DeviceChoice");
    dialog.setWindowTitle("Other Serial Device");
    dialog.setLabelText("Choose the serial device the VQ-3 is attached to, or type its path:");
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setComboBoxEditable(true);
    // Each present device is offered by its line as the Serial Port menu words it; a typed path is taken as is.
    QStringList items;
    std::map<QString, std::string> paths;
    for (const shell::SerialDevice& device : present) {
        const QString line = QString::fromStdString(shell::deviceLine(device));
        items << line;
        paths[line] = device.path;
    }
    // The current choice is preset: by its line when it is present, else by its path.
    QString preset = items.isEmpty() ? QString() : items.front();
    if (!current.empty()) {
        preset = QString::fromStdString(current);
        for (const auto& [line, path] : paths)
            if (path == current)
                preset = line;
        if (!items.contains(preset))
            items.prepend(preset);
    }
    dialog.setComboBoxItems(items);
    dialog.setTextValue(preset);
    if (auto* list = dialog.findChild<QComboBox*>()) {
        list->setObjectName("DevicePath");
        list->setMinimumContentsLength(40);
    }
    keepAboveTopmostWindows(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const auto chosen = paths.find(dialog.textValue());
    if (chosen != paths.end())
        return chosen->second;
    return dialog.textValue().toStdString();
}

void QtUi::endProgram()
{
    // quit() only asks: the main window refuses to close on its own (it hands the close to the program), which
    // would cancel the request. The core has closed what it must; the event loop ends.
    m_ended = true;
    QCoreApplication::exit(0);
}

} // namespace qm::app
