// The default printer, looked up on a thread of its own.
#include "app/PrinterLookup.h"

#include <QDeadlineTimer>
#include <QThread>

namespace qm::app
{

namespace
{

/// How long the program's end waits for a look-up the print system still holds up.
constexpr int kEndWaitMs = 1000;

} // namespace

SystemPrinterLookup::SystemPrinterLookup() = default;

SystemPrinterLookup::~SystemPrinterLookup()
{
    // A thread still running cannot be destroyed: it is left to end with the process, its answer no longer wanted.
    if (m_thread && !m_thread->wait(QDeadlineTimer(kEndWaitMs))) {
        QObject::disconnect(m_thread.get(), nullptr, nullptr, nullptr);
        static_cast<void>(m_thread.release());
    }
}

void SystemPrinterLookup::start(QObject& receiver, Answer answered)
{
    if (m_thread)
        return;
    // The thread touches nothing but the name it writes; the answer is made on the event thread once it ended.
    m_thread.reset(QThread::create([found = m_found] { found->name = qt::QtPrinter::defaultPrinterName(); }));
    QObject::connect(m_thread.get(), &QThread::finished, &receiver, [found = m_found, answered = std::move(answered)] {
        if (!found->name.empty() && !found->printer)
            found->printer.emplace(qt::QtPrinter::systemPrinter(found->name));
        answered(found->printer ? &*found->printer : nullptr);
    });
    m_thread->start(QThread::LowPriority);
}

} // namespace qm::app
