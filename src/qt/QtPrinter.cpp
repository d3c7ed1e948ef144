// The printer port on a Qt printer.
#include "qt/QtPrinter.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPrinter>
#include <QPrinterInfo>

namespace qm::qt
{

namespace
{

QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// Returns why a PDF file cannot be written, as the system says it.
std::string pdfOpenReason(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        file.close();
        return "The file could not be opened for writing.";
    }
    return file.errorString().toStdString() + ".";
}

} // namespace

QtPrinter QtPrinter::systemPrinter(const std::string& name)
{
    return QtPrinter(name, "");
}

QtPrinter QtPrinter::pdfFile(const std::string& path)
{
    return QtPrinter("", path);
}

std::string QtPrinter::defaultPrinterName()
{
    const QString standard = QPrinterInfo::defaultPrinterName();
    if (!standard.isEmpty())
        return standard.toStdString();
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        if (!name.isEmpty())
            return name.toStdString();
    return "";
}

QtPrinter::QtPrinter(std::string printerName, std::string pdfPath)
    : m_printerName(std::move(printerName)), m_pdfPath(std::move(pdfPath))
{
    m_failure.printer = m_pdfPath.empty() ? m_printerName : m_pdfPath;
}

QtPrinter::QtPrinter(QtPrinter&&) noexcept = default;

QtPrinter::~QtPrinter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void QtPrinter::fail(const std::string& reason)
{
    m_failure.reason = reason;
}

bool QtPrinter::beginDocument()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_pdfPath.empty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(m_printerName));
        // An unknown name would silently print on some other printer.
        if (info.isNull()) {
            fail("The printer is no longer installed.");
            return false;
        }
        // A stopped printer would keep the report in its queue without a word.
        if (info.state() == QPrinter::Error) {
            fail("The printer is stopped or reports an error.");
            return false;
        }
        m_printer->setPrinterName(QString::fromStdString(m_printerName));
    } else {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setOutputFileName(QString::fromStdString(m_pdfPath));
    }
    m_printer->setDocName("Profiles");
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        fail(m_pdfPath.empty() ? "The print system did not accept the document." : pdfOpenReason(m_pdfPath));
        m_painter.reset();
        return false;
    }
    m_x = 0;
    m_y = 0;
    m_failure.reason.clear();
    return true;
}

void QtPrinter::setFont(const std::string& name, int size, bool bold, bool italic, bool strikethrough, bool underline)
{
    m_font = QFont(QString::fromStdString(name), size > 0 ? size : 10);
    m_font.setBold(bold);
    m_font.setItalic(italic);
    m_font.setStrikeOut(strikethrough);
    m_font.setUnderline(underline);
    // Letters are printed one by one, as measured: no ligatures.
    m_font.setStyleStrategy(QFont::PreferNoShaping);
    if (m_painter)
        m_painter->setFont(m_font);
}

void QtPrinter::setUnderline(bool on)
{
    m_font.setUnderline(on);
    if (m_painter)
        m_painter->setFont(m_font);
}

void QtPrinter::print(const std::string& text, bool endLine)
{
    if (!m_painter)
        return;
    const QFontMetricsF metrics(m_font, m_printer.get());
    // Each piece is drawn at its own position: the report never relies on the painter's tab expansion.
    if (!text.empty())
        m_painter->drawText(QPointF(m_x * m_printer->resolution(), m_y + metrics.ascent()), latin1(text));
    m_x += textWidth(text);
    if (!endLine)
        return;
    m_x = 0;
    m_y += metrics.lineSpacing();
    // A very large printer font may need more than one page.
    if (m_y + metrics.lineSpacing() > m_printer->pageRect(QPrinter::DevicePixel).height()) {
        m_printer->newPage();
        m_y = 0;
    }
}

double QtPrinter::textWidth(const std::string& text) const
{
    if (!m_printer)
        return 0;
    return QFontMetricsF(m_font, m_printer.get()).horizontalAdvance(latin1(text)) / m_printer->resolution();
}

bool QtPrinter::endDocument()
{
    if (!m_painter)
        return false;
    const bool ended = m_painter->end();
    m_painter.reset();
    const bool failed = !ended || m_printer->printerState() == QPrinter::Error;
    if (failed) {
        fail("The print system stopped the document (the printer reports an error).");
        return false;
    }
    return true;
}

} // namespace qm::qt
