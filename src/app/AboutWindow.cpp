// The About window: the program's title and version, OK, and a button that starts the system's
// information tool.
#include "app/AboutWindow.h"

#include "app/Logo.h"

#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

namespace qm::app
{

const QStringList AboutWindow::kSystemInfoTools = {"hardinfo",          "gnome-system-monitor", "kinfocenter",
                                                   "xfce4-taskmanager", "mate-system-monitor",  "lxtask"};

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName("Form7");
    setWindowTitle("About The Quellmark Configuration Program");

    auto* logo = new QLabel;
    logo->setObjectName("picIcon");
    logo->setPixmap(quellmarkLogo(64, devicePixelRatio()));
    logo->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* title = new QLabel("Quellmark VQ-3 Configuration Program v2.00");
    title->setObjectName("lblTitle");
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);

    auto* description = new QLabel("Reads, edits and writes the configuration of VQ-3 and VQ-3+ packet-radio units.");
    description->setObjectName("lblDescription");
    description->setWordWrap(true);

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* ok = new QPushButton("OK");
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    m_systemInfoTool = findSystemInfoTool();
    m_sysInfo = new QPushButton("System Info");
    m_sysInfo->setObjectName("cmdSysInfo");
    m_sysInfo->setAutoDefault(false);
    m_sysInfo->setEnabled(!m_systemInfoTool.isEmpty());
    m_sysInfo->setToolTip(m_systemInfoTool.isEmpty() ? QString("No system information tool is installed.")
                                                     : QString("Starts %1.").arg(m_systemInfoTool));
    connect(m_sysInfo, &QPushButton::clicked, this, &AboutWindow::startSystemInfo);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(18, 18, 18, 14);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(10);
    layout->addWidget(logo, 0, 0, 2, 1);
    layout->addWidget(title, 0, 1);
    layout->addWidget(description, 1, 1);
    layout->addWidget(line, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(m_sysInfo);
    layout->addLayout(buttons, 3, 0, 1, 2);
    setFixedSize(sizeHint());
}

QString AboutWindow::findSystemInfoTool()
{
    for (const QString& tool : kSystemInfoTools) {
        QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

void AboutWindow::startSystemInfo()
{
    if (!QProcess::startDetached(m_systemInfoTool, {}))
        m_sysInfo->setToolTip(QString("%1 could not be started.").arg(m_systemInfoTool));
}

} // namespace qm::app
