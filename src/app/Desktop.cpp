// The desktop program put together.
#include "app/Desktop.h"

#include "app/KeyboardNavigation.h"
#include "app/ModeWindows.h"
#include "app/QtUi.h"
#include "qt/Latin1.h"

#include "app/CopyProfileDialog.h"
#include "app/RestoreBackupDialog.h"
#include "forms/Text.h"
#include "qt/QtPrinter.h"
#include "shell/BackupRestore.h"
#include "shell/WindowAids.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>

#include <QMenu>
#include <optional>
#include <variant>

namespace qm::app
{

Desktop::Desktop(DesktopPorts ports, shell::Ui* ui) : m_files(ports.files), m_backups(ports.backups)
{
    // Every window by its object name, the name of its window model.
    std::map<std::string, QWidget*> windows{{m_window.objectName().toStdString(), &m_window},
                                            {m_welcome.objectName().toStdString(), &m_welcome}};
    std::vector<QWidget*> roots{&m_window, &m_welcome};
    for (const forms::Mode mode : forms::kModes) {
        QWidget* form = createModeWindow(mode);
        QMdiSubWindow* sub = m_window.addModeWindow(form);
        sub->hide();
        windows[form->objectName().toStdString()] = sub;
        roots.push_back(form);
    }
    m_about = new AboutWindow(&m_window);
    m_printProgress = new PrintProgressWindow(&m_window);
    windows[m_printProgress->objectName().toStdString()] = m_printProgress;

    if (!ui) {
        m_qtUi = std::make_unique<QtUi>(m_window, *m_window.progressBar(), [this] { redraw(); });
        m_qtUi->prepareMessageBoxes();
        ui = m_qtUi.get();
    }
    m_ui = ui;

    const auto afterEvent = [this] { redraw(); };
    m_port = std::make_unique<ObservedSerialPort>(ports.port, afterEvent);
    m_probeTimer = std::make_unique<ObservedTimer>(ports.probeTimer, afterEvent);
    m_readTimeOutTimer = std::make_unique<ObservedTimer>(ports.readTimeOutTimer, afterEvent);
    m_writeTimeOutTimer = std::make_unique<ObservedTimer>(ports.writeTimeOutTimer, afterEvent);
    shell::UnitLink::Records records;
    if (shell::Backups* backups = ports.backups) {
        m_backupWriter = std::make_unique<BackupWriter>(*backups);
        records.record = [this](link::Transaction transaction, const link::LinkStatus& state,
                                const std::string& bytes) {
            m_backupWriter->record(transaction, state.modelName, state.firmwareVersion, bytes);
        };
        records.findBackup = [this](const std::string& bytes) { return m_backupWriter->markHeldBeforeWrite(bytes); };
        records.unkeptBackup = [this](const std::string& bytes) { return m_backupWriter->unkeptBackup(bytes); };
    }
    m_program = std::make_unique<shell::Program>(
        ports.files, *m_ui, ports.environment,
        [this, &records](shell::Session& session, shell::IniSettings& ini) -> shell::LinkRequests& {
            m_link = std::make_unique<shell::UnitLink>(session, *m_ui, *m_port, *m_probeTimer, *m_readTimeOutTimer,
                                                       *m_writeTimeOutTimer, &ini, std::move(records));
            return *m_link;
        });
    m_program->reports().setPrinter(ports.printer, ports.clock);
#ifndef Q_OS_WIN
    // On Windows COM1 to COM4 are the system's own names and need no explaining.
    m_program->ports().setSerialDevices(ports.devices);
#endif
    m_printerLookup = ports.printerLookup;

    m_binder = std::make_unique<ViewBinder>(*m_program, roots, windows);
    if (m_qtUi)
        m_qtUi->setWidgetFinder([this](const std::string& control) { return m_binder->widget(control); });
    m_program->setBackupsKept(m_backups != nullptr);
    QObject::connect(m_binder.get(), &ViewBinder::desktopCommand, [this](forms::MenuId item) { desktopCommand(item); });
    connectAids();
    m_binder->setAfterDraw([this] { drawAids(); });
    QObject::connect(&m_window, &MainWindow::closeRequested, [this] {
        m_program->exit();
        redraw();
    });
    QObject::connect(&m_window, &MainWindow::menuOpening, [this](forms::MenuId menu) {
        m_program->menuOpened(menu);
        redraw();
    });
    QObject::connect(&m_window, &MainWindow::fileDropped, [this](const QString& path) { openFile(path); });
    QObject::connect(&m_welcome, &WelcomeWindow::okClicked, [this] {
        m_program->confirmWelcome();
        redraw();
        // The keys go back to the main window, now that it takes them.
        m_window.activateWindow();
        m_window.restFocus();
    });
    new KeyboardNavigation(*m_program, m_window, *m_binder);
}

Desktop::~Desktop()
{
    // The port is closed (sending "E") before the windows and the adapters go away.
    if (m_link)
        m_link->closePort();
}

void Desktop::openFile(const std::string& path)
{
    m_program->openFile(path);
    redraw();
}

void Desktop::openFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    openFile(std::string(name.constData(), static_cast<std::size_t>(name.size())));
}

void Desktop::raise()
{
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

void Desktop::endOnSignal()
{
    m_program->endOnSignal();
    redraw();
}

void Desktop::redraw()
{
    if (m_binder)
        m_binder->draw();
}

bool Desktop::start()
{
    // The first frame already shows the models' state (Disconnected, no mode's controls in use).
    redraw();
    if (const auto place = m_program->rememberedWindowPlace())
        m_window.placeAt(QRect(place->x, place->y, place->width, place->height));
    m_window.show();
    const bool running = m_program->start();
    redraw();
    m_window.restFocus();
    // Print Profiles and Select Printer Font stay unusable until the print system has answered.
    if (running && m_printerLookup)
        m_printerLookup->start(m_window, [this](reports::Printer* printer) {
            if (!printer)
                return;
            const QFont font = QApplication::font();
            m_program->reports().printerFound(
                *printer,
                shell::FontSettings{font.family().toStdString(), font.pointSize(), false, false, false, false});
            redraw();
        });
    return running;
}

namespace
{

using qt::latin1;

using qt::toLatin1;

template <typename T>
bool setIfChanged(T* widget, const QString& text, void (T::*set)(const QString&), QString (T::*get)() const)
{
    if (!widget || (widget->*get)() == text)
        return false;
    (widget->*set)(text);
    return true;
}

/// Returns the smallest width from `least` to `most` at which the layout needs no more than `height`; none when
/// even `most` needs more. Its texts wrap into fewer lines the wider it is.
std::optional<int> widthForHeight(QLayout* layout, int least, int most, int height)
{
    if (layout->totalHeightForWidth(least) <= height || least >= most)
        return least;
    if (layout->totalHeightForWidth(most) > height)
        return std::nullopt;
    while (most - least > 1) {
        const int middle = least + (most - least) / 2;
        (layout->totalHeightForWidth(middle) <= height ? most : least) = middle;
    }
    return most;
}

/// A mode window takes the height its contents need at its width: the packet header and the advice grow and shrink
/// with what is typed, and a window kept at its first height would squeeze the fields over each other or leave a gap
/// where advice went. A window that would reach below the room the main window gives it is first made wider, up to
/// that room's width, so its texts take fewer lines; one that does not fit even so leaves room for the scroll bar.
/// The help text keeps the height it needs at the width it gets, so the window cannot be made to cut it off.
void fitHeight(QWidget* window, QLabel* helpBox)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    QLayout* layout = window->layout();
    if (!frame || !layout || frame->isMinimized() || frame->isMaximized())
        return;
    // A label whose text just changed has only asked for a new layout: lay it out now, so the sizes below are those
    // of the texts shown and not of the ones before.
    helpBox->setMinimumHeight(0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout->activate();
    const QSize chrome = frame->size() - window->size();
    int width = window->width();
    if (QMdiArea* area = frame->mdiArea(); area && layout->hasHeightForWidth()) {
        const QRect room = area->viewport()->rect();
        const int widest = std::max(width, room.width() - frame->x() - chrome.width());
        width = widthForHeight(layout, width, widest, room.height() - frame->y() - chrome.height())
                    .value_or(std::max(width, widest - area->style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
    }
    const int needed =
        layout->hasHeightForWidth() ? layout->totalHeightForWidth(width) : layout->totalMinimumSize().height();
    if (needed > 0 && (needed != window->height() || width != window->width()))
        frame->resize(width + chrome.width(), needed + chrome.height());
    layout->activate();
    helpBox->setMinimumHeight(helpBox->heightForWidth(helpBox->width()));
}

} // namespace

shell::FontSettings Desktop::standardFont() const
{
    const QFont font = QApplication::font();
    return shell::FontSettings{font.family().toStdString(), std::max(font.pointSize(), 1), false, false, false, false};
}

void Desktop::desktopCommand(forms::MenuId item)
{
    switch (item) {
    case forms::MenuId::About:
        m_about->show();
        break;
    case forms::MenuId::PrintPreview:
        printPreview();
        break;
    case forms::MenuId::ExportPdf:
        exportProfilesAsPdf();
        break;
    case forms::MenuId::RestoreBackup:
        restoreFromBackup();
        break;
    default:
        break;
    }
}

void Desktop::connectAids()
{
    for (const auto mode : {forms::Mode::Nmea, forms::Mode::Tracking}) {
        const QString name =
            QString::fromStdString(m_program->session().windows().station(mode).prefix() + "ProfileCopy");
        if (auto* button = m_window.findChild<QPushButton*>(name))
            QObject::connect(button, &QPushButton::clicked, [this, mode] { copyProfile(mode); });
    }
    if (auto* pick = m_window.findChild<QComboBox*>("TrkSymbolPick"))
        QObject::connect(pick, qOverload<int>(&QComboBox::activated), [this, pick](int index) {
            const std::string chosen = toLatin1(pick->itemData(index).toString());
            pick->setCurrentIndex(-1);
            if (chosen.size() != 2)
                return;
            // A symbol of the other table brings its table along: the Separator chooses it for every profile.
            const std::string table = chosen.substr(0, 1);
            if (m_program->session().windows().tracking.TrkSeparator.text() != table)
                m_program->textChanged("TrkSeparator", table);
            m_program->textChanged("TrkSymbol", chosen.substr(1));
            redraw();
        });
}

void Desktop::drawAids()
{
    const shell::Session& session = m_program->session();
    const forms::Windows& windows = session.windows();
    const forms::TrackingForm& tracking = windows.tracking;
    const std::string& separator = tracking.TrkSeparator.text();
    const std::string& symbol = tracking.TrkSymbol.text();
    setIfChanged(m_window.findChild<QLabel*>("TrkSymbolName"), latin1(shell::symbolCaption(separator, symbol)),
                 &QLabel::setText, &QLabel::text);
    if (QWidget* field = m_binder->widget("TrkSymbol"))
        setIfChanged(field, latin1(shell::symbolToolTip(separator, symbol)), &QWidget::setToolTip, &QWidget::toolTip);
    if (QWidget* field = m_binder->widget("TrkSeparator"))
        setIfChanged(field, latin1(shell::separatorToolTip(separator)), &QWidget::setToolTip, &QWidget::toolTip);
    for (const forms::Mode mode : forms::kModes) {
        const std::string& prefix = windows.station(mode).prefix();
        if (auto* copy = m_window.findChild<QPushButton*>(QString::fromStdString(prefix + "ProfileCopy")))
            copy->setEnabled(windows.station(mode).window.enabled());
        auto* header = m_window.findChild<QLabel*>(QString::fromStdString(prefix + "PacketHeader"));
        auto* advice = m_window.findChild<QLabel*>(QString::fromStdString(prefix + "Advice"));
        // Only the window being edited is described: the others are hidden and keep what they last showed.
        if (!header || !advice || session.state().currentMode != mode)
            continue;
        const shell::WindowPreview preview = shell::windowPreview(windows, mode);
        bool resized = setIfChanged(header, latin1(preview.header), &QLabel::setText, &QLabel::text);
        setIfChanged<QWidget>(header, latin1(preview.allHeaders), &QWidget::setToolTip, &QWidget::toolTip);
        resized = setIfChanged(advice, latin1(preview.advice), &QLabel::setText, &QLabel::text) || resized;
        if (advice->isVisibleTo(advice->parentWidget()) == preview.advice.empty()) {
            advice->setVisible(!preview.advice.empty());
            resized = true;
        }
        auto* helpBox = m_window.findChild<QLabel*>(QString::fromStdString(windows.station(mode).HelpBox.name()));
        if (resized && helpBox)
            fitHeight(header->parentWidget(), helpBox);
    }
}

void Desktop::restoreFromBackup()
{
    if (!m_backups)
        return;
    auto listed = shell::listBackups(m_files, m_backups->folder());
    if (const auto* error = std::get_if<storage::FileError>(&listed)) {
        m_program->showBox(storage::readErrorBox(*error));
        redraw();
        return;
    }
    m_program->session().saveShownProfiles();
    auto* dialog = new RestoreBackupDialog(
        m_backups->folder(), std::get<std::vector<shell::BackupEntry>>(std::move(listed)),
        [this](const shell::BackupEntry& entry) { return shell::backupDifferences(m_program->session(), entry); },
        &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, [this, dialog] {
        if (const shell::BackupEntry* entry = dialog->chosen(); entry && entry->configurationPath)
            m_program->fileCommands().openBackup(*entry->configurationPath);
        redraw();
    });
    dialog->open();
}

void Desktop::printPreview()
{
    if (!m_program->reports().profileReportAvailable())
        return;
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setDocName("Profiles");
    auto* preview = new QPrintPreviewDialog(printer, &m_window);
    preview->setObjectName("PrintPreview");
    preview->setWindowTitle("Print Preview");
    preview->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(preview, &QObject::destroyed, [printer] { delete printer; });
    QObject::connect(preview, &QPrintPreviewDialog::paintRequested, [this](QPrinter* shown) {
        qt::QtPrinter drawing = qt::QtPrinter::onPrinter(*shown);
        m_program->reports().drawProfileReport(drawing, standardFont());
    });
    preview->open();
}

void Desktop::exportProfilesAsPdf()
{
    qt::QtPrinter pdf = qt::QtPrinter::pdfDocument();
    m_program->reports().exportProfileReport(
        pdf, [&pdf] { return pdf.pdfBytes(); }, standardFont());
    redraw();
}

void Desktop::copyProfile(forms::Mode mode)
{
    const forms::Windows& windows = m_program->session().windows();
    const int shown = mode == forms::Mode::Nmea ? windows.nmea.NMEAProfile.selectedIndex() + 1
                                                : windows.tracking.TrkProfile.selectedIndex() + 1;
    auto* dialog = new CopyProfileDialog(shown, &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, [this, dialog, mode] {
        m_program->copyShownProfile(mode, dialog->ticked());
        redraw();
    });
    dialog->open();
}

void Desktop::keepWindowPlace()
{
    const QRect place = m_window.normalGeometry();
    if (place.isValid())
        m_program->keepWindowPlace({place.x(), place.y(), place.width(), place.height()});
}

} // namespace qm::app
