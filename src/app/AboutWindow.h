// The About window: the program's title and version, OK, and a button that starts the system's
// information tool.
#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;

namespace qm::app
{

class AboutWindow : public QWidget
{
    Q_OBJECT

public:
    /// The system-information tools looked for on the PATH, the first one found is used.
    static const QStringList kSystemInfoTools;

    explicit AboutWindow(QWidget* parent = nullptr);

    /// Returns the full path of the first system-information tool on the PATH, or an empty text.
    static QString findSystemInfoTool();

private:
    void startSystemInfo();

    QString m_systemInfoTool;
    QPushButton* m_sysInfo = nullptr;
};

} // namespace qm::app
