// File > Restore from Backup: the backups listed newest first, what differs between the windows and the backup
// chosen, and the button that opens it into the windows.
#pragma once

#include "shell/Backups.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace qm::app
{

class RestoreBackupDialog : public QDialog
{
    Q_OBJECT

public:
    /// Returns the lines that tell what differs between the windows and a backup.
    using Differences = std::function<std::vector<std::string>(const shell::BackupEntry&)>;

    RestoreBackupDialog(const std::string& folder, std::vector<shell::BackupEntry> entries, Differences differences,
                        QWidget* parent);

    /// The backup chosen when the dialog was accepted; nullptr when none is chosen.
    const shell::BackupEntry* chosen() const;

private:
    void showChosen();

    std::vector<shell::BackupEntry> m_entries;
    Differences m_differences;
    QTreeWidget* m_list = nullptr;
    QPlainTextEdit* m_shownDifferences = nullptr;
    QPushButton* m_open = nullptr;
};

} // namespace qm::app
