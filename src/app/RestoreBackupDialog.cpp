// File > Restore from Backup.
#include "app/RestoreBackupDialog.h"

#include "qt/Latin1.h"
#include "shell/BackupRestore.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qm::app
{

namespace
{

using qt::latin1;

} // namespace

RestoreBackupDialog::RestoreBackupDialog(const std::string& folder, std::vector<shell::BackupEntry> entries,
                                         Differences differences, QWidget* parent)
    : QDialog(parent), m_entries(std::move(entries)), m_differences(std::move(differences))
{
    setObjectName("RestoreBackup");
    setWindowTitle("Restore from Backup");
    auto* layout = new QVBoxLayout(this);

    auto* where = new QLabel(
        latin1(m_entries.empty() ? "No backups in " + folder + " yet." : "Backups in " + folder + ", newest first:"));
    where->setObjectName("BackupFolder");
    where->setTextInteractionFlags(Qt::TextSelectableByMouse);
    where->setWordWrap(true);
    layout->addWidget(where);

    m_list = new QTreeWidget;
    m_list->setObjectName("BackupList");
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    QStringList headers;
    for (const char* column : shell::kBackupColumns)
        headers << QString::fromLatin1(column);
    m_list->setHeaderLabels(headers);
    for (const shell::BackupEntry& entry : m_entries) {
        QStringList columns;
        for (const std::string& column : shell::backupColumns(entry))
            columns << latin1(column);
        auto* item = new QTreeWidgetItem(m_list, columns);
        item->setToolTip(0, latin1(entry.configurationPath.value_or(entry.rawPath)));
    }
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    layout->addWidget(m_list, 2);

    auto* label = new QLabel("&What differs from the windows (windows -> backup):");
    layout->addWidget(label);
    m_shownDifferences = new QPlainTextEdit;
    m_shownDifferences->setObjectName("BackupDifferences");
    m_shownDifferences->setReadOnly(true);
    m_shownDifferences->setLineWrapMode(QPlainTextEdit::NoWrap);
    label->setBuddy(m_shownDifferences);
    layout->addWidget(m_shownDifferences, 1);

    auto* buttons = new QDialogButtonBox;
    m_open = buttons->addButton("&Open into the Windows", QDialogButtonBox::AcceptRole);
    m_open->setObjectName("OpenBackup");
    m_open->setToolTip("Opens the backup as Open Configuration File does; Write then puts it back on the unit.");
    buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("CancelBackup");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { showChosen(); });
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (m_open->isEnabled())
            accept();
    });
    if (!m_entries.empty())
        m_list->setCurrentItem(m_list->topLevelItem(0));
    showChosen();
    resize(760, 460);
}

const shell::BackupEntry* RestoreBackupDialog::chosen() const
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || row >= static_cast<int>(m_entries.size()))
        return nullptr;
    return &m_entries[static_cast<std::size_t>(row)];
}

void RestoreBackupDialog::showChosen()
{
    const shell::BackupEntry* entry = chosen();
    m_open->setEnabled(entry && entry->configurationPath);
    QStringList lines;
    if (entry)
        for (const std::string& line : m_differences(*entry))
            lines << latin1(line);
    m_shownDifferences->setPlainText(lines.join('\n'));
}

} // namespace qm::app
