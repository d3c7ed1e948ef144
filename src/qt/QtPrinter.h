// The printer port on a Qt printer: the system's printer by name, or a PDF document drawn in memory.
#pragma once

#include "reports/Printer.h"

#include <QFont>
#include <QPainter>

#include <memory>
#include <string>

class QBuffer;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace qm::qt
{

class QtPrinter : public reports::Printer
{
public:
    /// The installed printer with this name.
    static QtPrinter systemPrinter(const std::string& name);
    /// A PDF document drawn in memory, laid out as a PDF printer lays out its page; pdfBytes() holds it once
    /// the document has ended, for the caller to write as it writes any file.
    static QtPrinter pdfDocument();

    /// Draws on a printer set up elsewhere, such as the one a print preview shows its pages on; the printer must
    /// outlive this object.
    static QtPrinter onPrinter(QPrinter& printer);

    /// Returns the printer the system prints on by default: its default printer, or else the first installed
    /// printer with a name; "" when there is none.
    static std::string defaultPrinterName();

    QtPrinter(QtPrinter&&) noexcept;
    ~QtPrinter() override;

    bool beginDocument() override;
    void setFont(const std::string& name, int size, bool bold, bool italic, bool strikethrough,
                 bool underline) override;
    void setUnderline(bool on) override;
    void print(const std::string& text, bool endLine) override;
    double currentX() const override { return m_x; }
    void setCurrentX(double inches) override { m_x = inches; }
    double textWidth(const std::string& text) const override;
    bool endDocument() override;
    reports::PrintFailure failure() const override { return m_failure; }

    /// Returns the PDF document's bytes after endDocument ("" for a system printer).
    std::string pdfBytes() const;

private:
    QtPrinter(std::string printerName, bool pdf);

    void fail(const std::string& reason);
    /// Sets up the system printer or the PDF document; returns the device to draw on, or nothing.
    QPagedPaintDevice* makeDevice();
    /// The printer drawn on: the one given, or the one this object set up.
    QPrinter* printer() const { return m_given ? m_given : m_printer.get(); }
    double resolution() const;
    double pageHeight() const;

    std::string m_printerName;
    bool m_pdf;
    std::unique_ptr<QPrinter> m_printer;
    /// The printer set up elsewhere, when drawing on one.
    QPrinter* m_given = nullptr;
    std::unique_ptr<QBuffer> m_pdfBuffer;
    std::unique_ptr<QPdfWriter> m_pdfWriter;
    QPagedPaintDevice* m_device = nullptr;
    std::unique_ptr<QPainter> m_painter;
    QFont m_font;
    double m_x = 0;
    /// The top of the current line in device pixels.
    double m_y = 0;
    reports::PrintFailure m_failure;
};

} // namespace qm::qt
