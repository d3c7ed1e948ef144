// The printer port on a Qt printer: the system's printer by name, or a PDF file.
#pragma once

#include "reports/Printer.h"

#include <QFont>
#include <QPainter>

#include <memory>
#include <string>

class QPrinter;

namespace qm::qt
{

class QtPrinter : public reports::Printer
{
public:
    /// The installed printer with this name.
    static QtPrinter systemPrinter(const std::string& name);
    /// A PDF file written at the printer's resolution instead of a printer.
    static QtPrinter pdfFile(const std::string& path);

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

private:
    QtPrinter(std::string printerName, std::string pdfPath);

    void fail(const std::string& reason);

    std::string m_printerName;
    std::string m_pdfPath;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    QFont m_font;
    double m_x = 0;
    /// The top of the current line in device pixels.
    double m_y = 0;
    reports::PrintFailure m_failure;
};

} // namespace qm::qt
