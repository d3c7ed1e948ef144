// The program's side of the link with the unit.
#include "shell/UnitLink.h"

#include "link/LinkMessages.h"
#include "shell/Backups.h"
#include "shell/ImageSummary.h"
#include "shell/IniSettings.h"

#include <utility>

namespace qm::shell
{

UnitLink::UnitLink(Session& session, Ui& ui, link::SerialPort& port, link::Timer& probeTimer,
                   link::Timer& readTimeOutTimer, link::Timer& writeTimeOutTimer, IniSettings* ini, Records records)
    : m_session(session), m_ui(ui), m_ini(ini), m_records(std::move(records)), m_display(session.windows()),
      m_engine(port, probeTimer, readTimeOutTimer, writeTimeOutTimer, m_display, session.state().link, *this)
{}

void UnitLink::testPort()
{
    m_engine.testPort();
}

void UnitLink::openPort()
{
    m_engine.openPort();
    // The unit is looked for at once rather than one probe period after start-up.
    m_engine.probeNow();
}

void UnitLink::askToChoosePort()
{
    m_engine.askToChoosePort();
}

void UnitLink::closePort()
{
    m_engine.closePort();
}

bool UnitLink::transferUnderWay() const
{
    return m_engine.transferUnderWay();
}

void UnitLink::closeWhenSent(std::function<void()> closed)
{
    m_whenClosed = std::move(closed);
    m_engine.closeWhenSent();
}

void UnitLink::startDownload(const std::string& downloadImage)
{
    // The write replaces what the unit holds for good: when no backup of it could be kept, the user decides.
    const std::string held = m_session.state().link.unitImage;
    if (m_records.unkeptBackup && !held.empty())
        if (const auto unkept = m_records.unkeptBackup(held)) {
            m_ui.setMousePointer(Pointer::Normal);
            if (m_ui.messageBox(unkeptBackupBox(*unkept)) != forms::Button::Yes)
                return;
            // While the question was up the unit may have gone, or a read begun.
            if (!m_session.windows().main.menus.write.enabled())
                return;
        }
    m_engine.startDownload(downloadImage);
}

void UnitLink::read()
{
    m_engine.read();
}

void UnitLink::selectComPort(int n)
{
    m_engine.selectComPort(n);
}

void UnitLink::selectOtherDevice(const std::string& path)
{
    m_engine.selectOtherDevice(path);
}

void UnitLink::disconnectUnit()
{
    m_engine.disconnectUnit();
}

void UnitLink::showBox(const forms::MessageBox& box)
{
    m_ui.setMousePointer(Pointer::Normal);
    // A write broken off may have left the unit with part of the new configuration: the box ends with where the
    // configuration the unit held before it is kept.
    const std::string& held = m_session.state().link.uploadData;
    if (m_records.findBackup && !held.empty() &&
        (box == link::writeTimeOutBox() || box == link::echoMismatchBox() || box == link::readBackFailedBox()))
        if (const std::string path = m_records.findBackup(held); !path.empty()) {
            forms::MessageBox told = box;
            forms::appendParagraph(told, earlierConfigurationSentence(path));
            m_ui.messageBox(told);
            return;
        }
    m_ui.messageBox(box);
}

void UnitLink::setBusyPointer(bool busy)
{
    m_ui.setMousePointer(busy ? Pointer::Busy : Pointer::Normal);
    // The link gives the normal pointer back whenever a read or write ends, however it ends (complete, refused,
    // failed, timed out, abandoned) and before any box: its progress display ends there too.
    if (!busy && m_progressShown) {
        m_progressShown = false;
        m_ui.showProgress(m_progressTotal, m_progressTotal);
    }
}

void UnitLink::saveShownProfiles()
{
    m_session.saveShownProfiles();
}

void UnitLink::decodeUpload(const std::string& uploadData)
{
    m_session.decodeUpload(uploadData);
    // The read asked about every window's unsaved changes before it began, so what it changed is no one's work. The
    // window of the unit's mode now holds the unit's configuration, not a file's; the unit keeps it, and so does its
    // backup.
    Document& document = m_session.document();
    document.settleAllBut({}, m_session.windows());
    if (const auto mode = m_session.state().currentMode)
        document.setUntitled(*mode, m_session.windows());
}

void UnitLink::saveComPortToIni()
{
    if (m_ini)
        m_ini->saveComPort();
}

void UnitLink::transactionCompleted(link::Transaction transaction, const std::string& imageBytes)
{
    if (m_records.record)
        m_records.record(transaction, m_session.state().link, imageBytes);
}

void UnitLink::progress(int done, int total)
{
    m_progressShown = done < total;
    m_progressTotal = total;
    m_ui.showProgress(done, total);
}

link::WriteMismatch UnitLink::describeMismatch(const std::string& written, const std::string& readBack,
                                               const std::string& before)
{
    link::WriteMismatch mismatch;
    mismatch.field = describeReadBackDifference(written, readBack);
    if (!before.empty() && m_records.findBackup)
        mismatch.backup = m_records.findBackup(before);
    return mismatch;
}

void UnitLink::portClosed()
{
    if (auto closed = std::exchange(m_whenClosed, {}))
        closed();
}

} // namespace qm::shell
