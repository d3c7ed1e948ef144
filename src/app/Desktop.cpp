// The desktop program put together.
#include "app/Desktop.h"

#include "app/ModeWindows.h"
#include "app/QtUi.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QMenu>

namespace qm::app
{

Desktop::Desktop(DesktopPorts ports, shell::Ui* ui)
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
    m_echoTimer = std::make_unique<ObservedTimer>(ports.echoTimer, afterEvent);
    m_readTimeOutTimer = std::make_unique<ObservedTimer>(ports.readTimeOutTimer, afterEvent);
    m_writeTimeOutTimer = std::make_unique<ObservedTimer>(ports.writeTimeOutTimer, afterEvent);
    m_program = std::make_unique<shell::Program>(ports.files, *m_ui, ports.environment);
    m_link = std::make_unique<shell::UnitLink>(m_program->session(), *m_ui, *m_port, *m_echoTimer, *m_readTimeOutTimer,
                                               *m_writeTimeOutTimer);
    m_link->setIniSettings(&m_program->ini());
    if (shell::Backups* backups = ports.backups) {
        m_backupWriter = std::make_unique<BackupWriter>(*backups);
        m_link->setTransactionRecorder(
            [this](link::Transaction transaction, const link::LinkState& state, const std::string& bytes) {
                m_backupWriter->record(transaction, state.modelName, state.firmwareVersion, bytes);
            });
        m_link->setBackupFinder(
            [this](const std::string& bytes) { return m_backupWriter->markHeldBeforeWrite(bytes); });
    }
    m_program->setLink(m_link.get());
    m_program->setPrinter(ports.printer, ports.clock);
#ifndef Q_OS_WIN
    // On Windows COM1 to COM4 are the system's own names and need no explaining.
    m_program->setSerialDevices(ports.devices);
#endif
    m_printerLookup = ports.printerLookup;

    m_binder = std::make_unique<ViewBinder>(*m_program, roots, windows);
    if (m_qtUi)
        m_qtUi->setWidgetFinder([this](const std::string& control) { return m_binder->widget(control); });
    QObject::connect(m_binder.get(), &ViewBinder::aboutRequested, m_about, &QWidget::show);
    QObject::connect(&m_window, &MainWindow::closeRequested, [this] {
        m_program->exit();
        redraw();
    });
    if (auto* serialPort = m_window.findChild<QMenu*>("serialport"))
        QObject::connect(serialPort, &QMenu::aboutToShow, serialPort, [this] {
            m_program->refreshPortMenu();
            redraw();
        });
    QObject::connect(&m_welcome, &WelcomeWindow::okClicked, [this] {
        m_program->confirmWelcome();
        redraw();
    });
}

Desktop::~Desktop()
{
    // The port is closed (sending "E") before the windows and the adapters go away.
    if (m_link)
        m_link->closePort();
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
    // Print Profiles and Select Printer Font stay unusable until the print system has answered.
    if (running && m_printerLookup)
        m_printerLookup->start(m_window, [this](reports::Printer* printer) {
            if (!printer)
                return;
            const QFont font = QApplication::font();
            m_program->printerFound(*printer, shell::FontSettings{font.family().toStdString(), font.pointSize(), false,
                                                                  false, false, false});
            redraw();
        });
    return running;
}

void Desktop::keepWindowPlace()
{
    const QRect place = m_window.normalGeometry();
    if (place.isValid())
        m_program->keepWindowPlace({place.x(), place.y(), place.width(), place.height()});
}

} // namespace qm::app
