// The printer port the profile reports draw on: positions and widths in inches, one font, underline on and off.
#pragma once

#include <string>

namespace qm::reports
{

/// The printer font: name, whole-point size and the four styles.
struct PrinterFont
{
    std::string name;
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool strikethrough = false;
    bool underline = false;

    bool operator==(const PrinterFont&) const = default;
};

/// Why a document did not reach the printer: the printer's name and the system's reason.
struct PrintFailure
{
    std::string printer;
    std::string reason;

    bool operator==(const PrintFailure&) const = default;
};

/// A page printer measured in inches. The reports place every cell with setCurrentX and never print a tab.
class Printer
{
public:
    virtual ~Printer() = default;

    /// Opens the printer for a new document; false when it cannot be opened (failure() tells why).
    virtual bool beginDocument() = 0;

    /// Sets the font used by the following prints and measurements.
    virtual void setFont(const std::string& name, int size, bool bold, bool italic, bool strikethrough,
                         bool underline) = 0;
    /// Switches underline on or off for the following prints.
    virtual void setUnderline(bool on) = 0;
    /// Prints a text at the current position; endLine moves to the start of the next line afterwards,
    /// otherwise the position moves to the end of the text.
    virtual void print(const std::string& text, bool endLine) = 0;
    /// Returns the horizontal print position in inches.
    virtual double currentX() const = 0;
    /// Moves the horizontal print position on the current line.
    virtual void setCurrentX(double inches) = 0;
    /// Returns the printed width of a text in the current font, in inches.
    virtual double textWidth(const std::string& text) const = 0;
    /// Ends the document and sends it to the printer; false when that fails (failure() tells why).
    virtual bool endDocument() = 0;
    /// Returns the printer's name and the reason of the latest failure.
    virtual PrintFailure failure() const = 0;
};

} // namespace qm::reports
