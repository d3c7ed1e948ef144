// The program's side of the link with the unit: owns the link engine, gives it what it needs from the program
// (message boxes, the pointer, decoding a read, saving the port number), shows what it reports about the connection
// in the windows (ConnectionDisplay) and passes the program's commands on.
#pragma once

#include "link/Link.h"
#include "shell/Backups.h"
#include "shell/ConnectionDisplay.h"
#include "shell/LinkRequests.h"
#include "shell/Session.h"
#include "shell/Ui.h"

#include <functional>
#include <optional>
#include <string>

namespace qm::shell
{

class IniSettings;

class UnitLink : public LinkRequests, private link::LinkHost
{
public:
    /// What the program keeps of the link's transactions; either may be empty (nothing is kept).
    struct Records
    {
        /// Runs after each completed identification, read and write, with the 128 image bytes.
        std::function<void(link::Transaction, const link::LinkStatus&, const std::string&)> record;
        /// Returns where the backup of the given 128 bytes is kept ("" when nowhere).
        std::function<std::string(const std::string& imageBytes)> findBackup;
        /// Returns why the last backup taken of the given 128 bytes was not kept (nothing when it was, or when none
        /// was taken). With it, Write asks before it replaces a configuration that is kept nowhere.
        std::function<std::optional<UnkeptBackup>(const std::string& imageBytes)> unkeptBackup;
    };

    /// ini is where a successful port change is remembered (none: nothing is written).
    UnitLink(Session& session, Ui& ui, link::SerialPort& port, link::Timer& probeTimer, link::Timer& readTimeOutTimer,
             link::Timer& writeTimeOutTimer, IniSettings* ini = nullptr, Records records = {});

    link::Link& engine() { return m_engine; }

    // LinkRequests
    void testPort() override;
    void openPort() override;
    void askToChoosePort() override;
    void closePort() override;
    bool transferUnderWay() const override;
    void closeWhenSent(std::function<void()> closed) override;
    void startDownload(const std::string& downloadImage) override;
    void read() override;
    void selectComPort(int n) override;
    void selectOtherDevice(const std::string& path) override;
    void disconnectUnit() override;

private:
    // link::LinkHost
    void showBox(const forms::MessageBox& box) override;
    void setBusyPointer(bool busy) override;
    void saveShownProfiles() override;
    void decodeUpload(const std::string& uploadData) override;
    void saveComPortToIni() override;
    void transactionCompleted(link::Transaction transaction, const std::string& imageBytes) override;
    void progress(int done, int total) override;
    link::WriteMismatch describeMismatch(const std::string& written, const std::string& readBack,
                                         const std::string& before) override;
    void portClosed() override;

    Session& m_session;
    Ui& m_ui;
    IniSettings* m_ini;
    Records m_records;
    /// A read or write's progress is on show (of m_progressTotal bytes).
    bool m_progressShown = false;
    int m_progressTotal = 0;
    std::function<void()> m_whenClosed;
    ConnectionDisplay m_display;
    link::Link m_engine;
};

} // namespace qm::shell
