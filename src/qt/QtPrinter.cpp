// The printer port on a Qt printer.
#include "qt/QtPrinter.h"
#include "qt/Latin1.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace qm::qt
{

QtPrinter QtPrinter::systemPrinter(const std::string& name)
{
    return QtPrinter(name, false);
}

QtPrinter QtPrinter::pdfDocument()
{
    return QtPrinter("", true);
}

QtPrinter QtPrinter::onPrinter(QPrinter& printer)
{
    QtPrinter drawing(printer.printerName().toStdString(), false);
    drawing.m_given = &printer;
    return drawing;
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

QtPrinter::QtPrinter(std::string printerName, bool pdf) : m_printerName(std::move(printerName)), m_pdf(pdf)
{
    m_failure.printer = m_printerName;
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

QPagedPaintDevice* QtPrinter::makeDevice()
{
    // The PDF page is laid out exactly as a PDF printer at high resolution lays it out: the same page size,
    // margins and resolution.
    if (m_given)
        return m_given;
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_pdf) {
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_pdfBuffer = std::make_unique<QBuffer>();
        m_pdfBuffer->open(QIODevice::WriteOnly);
        m_pdfWriter = std::make_unique<QPdfWriter>(m_pdfBuffer.get());
        m_pdfWriter->setResolution(m_printer->resolution());
        m_pdfWriter->setPageLayout(m_printer->pageLayout());
        m_pdfWriter->setTitle("Profiles");
        return m_pdfWriter.get();
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(QString::fromStdString(m_printerName));
    // An unknown name would silently print on some other printer.
    if (info.isNull()) {
        fail("The printer is no longer installed.");
        return nullptr;
    }
    // A stopped printer would keep the report in its queue without a word.
    if (info.state() == QPrinter::Error) {
        fail("The printer is stopped or reports an error.");
        return nullptr;
    }
    m_printer->setPrinterName(QString::fromStdString(m_printerName));
    m_printer->setDocName("Profiles");
    return m_printer.get();
}

bool QtPrinter::beginDocument()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_pdfWriter.reset();
    m_pdfBuffer.reset();
    m_device = makeDevice();
    if (m_device == nullptr)
        return false;
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_device)) {
        fail("The print system did not accept the document.");
        m_painter.reset();
        return false;
    }
    m_x = 0;
    m_y = 0;
    m_failure.reason.clear();
    return true;
}

double QtPrinter::resolution() const
{
    return m_pdfWriter ? m_pdfWriter->resolution() : printer()->resolution();
}

double QtPrinter::pageHeight() const
{
    if (m_pdfWriter)
        return m_pdfWriter->pageLayout().paintRectPixels(m_pdfWriter->resolution()).height();
    return printer()->pageRect(QPrinter::DevicePixel).height();
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
    const QFontMetricsF metrics(m_font, m_device);
    // Each piece is drawn at its own position: the report never relies on the painter's tab expansion.
    if (!text.empty())
        m_painter->drawText(QPointF(m_x * resolution(), m_y + metrics.ascent()), latin1(text));
    m_x += textWidth(text);
    if (!endLine)
        return;
    m_x = 0;
    m_y += metrics.lineSpacing();
    // A very large printer font may need more than one page.
    if (m_y + metrics.lineSpacing() > pageHeight()) {
        m_device->newPage();
        m_y = 0;
    }
}

double QtPrinter::textWidth(const std::string& text) const
{
    if (m_device == nullptr)
        return 0;
    return QFontMetricsF(m_font, m_device).horizontalAdvance(latin1(text)) / resolution();
}

bool QtPrinter::endDocument()
{
    if (!m_painter)
        return false;
    const bool ended = m_painter->end();
    m_painter.reset();
    const bool failed = !ended || (!m_pdfWriter && printer()->printerState() == QPrinter::Error);
    if (failed) {
        fail("The print system stopped the document (the printer reports an error).");
        return false;
    }
    return true;
}

std::string QtPrinter::pdfBytes() const
{
    if (!m_pdfBuffer)
        return {};
    const QByteArray& bytes = m_pdfBuffer->data();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace qm::qt
