// The default printer, looked up without holding up the windows: asking the print system takes a connection to
// it (11 to 32 ms here, longer when a print server is slow), so the desktop program asks once its main window
// is up, and Print Profiles waits for the answer.
#pragma once

#include "qt/QtPrinter.h"
#include "reports/Printer.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QThread;

namespace qm::app
{

class PrinterLookup
{
public:
    /// Receives the default printer; nullptr when there is none or the print system could not say.
    using Answer = std::function<void(reports::Printer* printer)>;

    virtual ~PrinterLookup() = default;

    /// Starts the look-up (once). answered runs once, on the event thread, unless receiver is gone by then.
    virtual void start(QObject& receiver, Answer answered) = 0;
};

/// Asks the print system on a thread of its own. The printer it finds lives as long as this object.
class SystemPrinterLookup : public PrinterLookup
{
public:
    SystemPrinterLookup();
    /// Waits a moment for a look-up still under way; one the print system holds up longer is left to end with
    /// the process.
    ~SystemPrinterLookup() override;
    SystemPrinterLookup(const SystemPrinterLookup&) = delete;
    SystemPrinterLookup& operator=(const SystemPrinterLookup&) = delete;

    void start(QObject& receiver, Answer answered) override;

private:
    /// What the look-up found: the name the thread writes before it ends ("" for none), and the printer made from
    /// it on the event thread. Shared with the answer, which may come while this object ends.
    struct Found
    {
        std::string name;
        std::optional<qt::QtPrinter> printer;
    };

    std::unique_ptr<QThread> m_thread;
    std::shared_ptr<Found> m_found = std::make_shared<Found>();
};

} // namespace qm::app
