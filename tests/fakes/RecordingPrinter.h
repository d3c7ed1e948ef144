// A printer double: measures every text as 0.1 inch per byte and records each printed piece with its position.
#pragma once

#include "reports/Printer.h"

#include <string>
#include <vector>

namespace qm::fakes
{

class RecordingPrinter : public reports::Printer
{
public:
    struct Piece
    {
        double x = 0;
        std::string text;
        bool underline = false;
    };
    using Line = std::vector<Piece>;

    static constexpr double kCharWidth = 0.1;

    /// Finished lines, each with its printed pieces in order.
    std::vector<Line> lines;
    /// Every call in order: "beginDocument", "font NAME SIZE BISU", "underline 1", "print TEXT", "endLine",
    /// "endDocument", plus whatever the test appends (progress).
    std::vector<std::string> calls;
    bool underline = false;
    /// Makes beginDocument or endDocument fail with this printer name and reason.
    bool failOnBegin = false;
    bool failOnEnd = false;
    reports::PrintFailure failureToReport{"Office Laser", "The printer is out of paper."};

    bool beginDocument() override
    {
        calls.push_back("beginDocument");
        return !failOnBegin;
    }
    void setFont(const std::string& name, int size, bool bold, bool italic, bool strikethrough,
                 bool fontUnderline) override
    {
        calls.push_back("font " + name + " " + std::to_string(size) + " " + flag(bold) + flag(italic) +
                        flag(strikethrough) + flag(fontUnderline));
    }
    void setUnderline(bool on) override
    {
        underline = on;
        calls.push_back(std::string("underline ") + flag(on));
    }
    void print(const std::string& text, bool endLine) override
    {
        m_line.push_back({m_x, text, underline});
        calls.push_back("print " + text);
        m_x += textWidth(text);
        if (endLine) {
            lines.push_back(m_line);
            m_line.clear();
            m_x = 0;
            calls.push_back("endLine");
        }
    }
    double currentX() const override { return m_x; }
    void setCurrentX(double inches) override { m_x = inches; }
    double textWidth(const std::string& text) const override { return kCharWidth * static_cast<double>(text.size()); }
    bool endDocument() override
    {
        calls.push_back("endDocument");
        return !failOnEnd;
    }
    reports::PrintFailure failure() const override { return failureToReport; }

    /// Returns the texts of a finished line joined without gaps.
    std::string lineText(std::size_t line) const
    {
        std::string text;
        for (const Piece& piece : lines.at(line))
            text += piece.text;
        return text;
    }

private:
    static const char* flag(bool on) { return on ? "1" : "0"; }

    Line m_line;
    double m_x = 0;
};

} // namespace qm::fakes
