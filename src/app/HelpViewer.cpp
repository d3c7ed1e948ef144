// The program's own help viewer: an HTML help file shown from its contents page, with back, forward and home.
#include "app/HelpViewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qm::app
{

namespace
{

constexpr const char* kTitle = "Quellmark Configuration Program Help";

QToolButton* navigationButton(const char* name, const QString& text, const QIcon& icon)
{
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("HelpViewer");
    setWindowTitle(kTitle);

    m_back = navigationButton("helpBack", "&Back", style()->standardIcon(QStyle::SP_ArrowBack));
    m_forward = navigationButton("helpForward", "&Forward", style()->standardIcon(QStyle::SP_ArrowForward));
    m_home = navigationButton("helpHome", "&Contents", style()->standardIcon(QStyle::SP_DirHomeIcon));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_home->setEnabled(false);

    m_browser = new QTextBrowser;
    m_browser->setObjectName("helpBrowser");
    m_browser->setOpenExternalLinks(true);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_home, &QToolButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);

    auto* navigation = new QHBoxLayout;
    navigation->setContentsMargins(4, 4, 4, 0);
    navigation->addWidget(m_back);
    navigation->addWidget(m_forward);
    navigation->addWidget(m_home);
    navigation->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(navigation);
    layout->addWidget(m_browser, 1);
    resize(760, 640);

    // Escape closes the viewer, as it closes the program's other windows.
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void HelpViewer::open(const QString& path)
{
    const QFileInfo file(path);
    if (file.isFile() && file.isReadable()) {
        m_browser->clearHistory();
        // The file is HTML whatever its name ends with.
        m_browser->setSource(QUrl::fromLocalFile(file.absoluteFilePath()), QTextDocument::HtmlResource);
        m_home->setEnabled(true);
    } else {
        m_browser->setSource(QUrl());
        m_browser->clearHistory();
        m_browser->setHtml(QString("<h2>Help is not available</h2>"
                                   "<p>The help file <b>%1</b> could not be found or read.</p>"
                                   "<p>Install the program again, or place the file <b>vq3.hlp</b> in the "
                                   "program's folder.</p>")
                               .arg(path.toHtmlEscaped()));
        m_home->setEnabled(false);
    }
    m_browser->verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
}

} // namespace qm::app
