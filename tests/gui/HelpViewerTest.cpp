// The help viewer: the file at its contents page, moving back, forward and home, a missing file, and the
// program's help file whose every link leads somewhere.
#include "app/HelpViewer.h"

#include "gui/OffscreenApplication.h"

#include <QFile>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>

using qm::app::HelpViewer;

namespace
{

QString writeHelp(const QTemporaryDir& folder)
{
    QString html = "<html><head><title>Test help</title></head><body><h1>Contents</h1>"
                   "<p><a href=\"#second\">Second topic</a></p>";
    for (int i = 0; i < 200; ++i)
        html += "<p>Filler line</p>";
    html += "<h2><a name=\"second\"></a>Second topic</h2><p>The second topic.</p></body></html>";
    const QString path = folder.filePath("vq3.hlp");
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(html.toLatin1());
    return path;
}

struct Links
{
    QSet<QString> anchors;
    QStringList targets;
};

Links linksOf(const QTextDocument& document)
{
    Links links;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            for (const QString& name : format.anchorNames())
                links.anchors.insert(name);
            if (format.anchorHref().startsWith('#'))
                links.targets << format.anchorHref().mid(1);
        }
    }
    return links;
}

} // namespace

class HelpViewerTest : public QObject
{
    Q_OBJECT

public:
    static void initMain() { qm::guitest::prepareOffscreen(); }

private slots:
    void opensTheFileAtItsTopAndNavigates()
    {
        QTemporaryDir folder;
        const QString path = writeHelp(folder);
        HelpViewer viewer;
        viewer.open(path);
        QVERIFY(viewer.isVisible());
        QTextBrowser* browser = viewer.browser();
        const QUrl contents = QUrl::fromLocalFile(path);
        QCOMPARE(browser->source(), contents);
        QVERIFY(browser->toPlainText().startsWith("Contents"));
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        auto* back = viewer.findChild<QToolButton*>("helpBack");
        auto* forward = viewer.findChild<QToolButton*>("helpForward");
        auto* home = viewer.findChild<QToolButton*>("helpHome");
        QVERIFY(!back->isEnabled());

        browser->setSource(contents.resolved(QUrl("#second")));
        QVERIFY(back->isEnabled());
        back->click();
        QCOMPARE(browser->source(), contents);
        QVERIFY(forward->isEnabled());
        forward->click();
        QCOMPARE(browser->source().fragment(), QString("second"));
        home->click();
        QCOMPARE(browser->source(), contents);

        browser->verticalScrollBar()->setValue(browser->verticalScrollBar()->maximum());
        viewer.open(path);
        QCOMPARE(browser->verticalScrollBar()->value(), 0);
        QVERIFY(!back->isEnabled());
    }

    void namesAMissingFile()
    {
        QTemporaryDir folder;
        HelpViewer viewer;
        viewer.open(folder.filePath("vq3.hlp"));
        QVERIFY(viewer.isVisible());
        const QString shown = viewer.browser()->toPlainText();
        QVERIFY(shown.contains("Help is not available"));
        QVERIFY(shown.contains(folder.filePath("vq3.hlp")));
        QVERIFY(!viewer.findChild<QToolButton*>("helpHome")->isEnabled());
    }

    void programHelpLinksAllLeadToTopics()
    {
        HelpViewer viewer;
        viewer.open(QM_HELP_FILE);
        const Links links = linksOf(*viewer.browser()->document());
        QVERIFY(links.targets.size() >= 10);
        for (const QString& target : links.targets)
            QVERIFY2(links.anchors.contains(target), qPrintable(target));
        for (const char* topic : {"Telemetry", "Beacon", "NMEA", "Tracking", "Alarm", "Profiles", "Serial Port",
                                  "Input Baud Rate", "Memorize Defaults", "dialout", "QUELLMARK_COM1", "vq3 sim",
                                  "vq3 backups", ".local/share/quellmark/backups", "WIDEn-N", "N0CALL-9>APRS", "--set"})
            QVERIFY2(viewer.browser()->toPlainText().contains(QLatin1String(topic)), topic);
    }
};

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
