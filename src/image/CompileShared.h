// The steps every compile shares: header bytes, callsigns, paths, timer, TX codes, the refusal of a value
// that has no place in the image, and the join of the stream. Used by the compile of each mode.
#pragma once

#include "forms/MessageBox.h"
#include "forms/Windows.h"
#include "image/Compile.h"
#include "image/ImageFields.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace qm::image
{

/// Returns the box that refuses a value: "Invalid Setting", naming the field (and its profile) and the reason.
forms::MessageBox refusalBox(const std::string& focus, const std::string& label, std::optional<int> profile,
                             const std::string& reason);

/// Returns the reason text "It must be a whole number from low to high."
std::string wholeNumberReason(int low, int high);

/// Returns the reason text "It can contain at most N characters." ("one character" for 1).
std::string lengthReason(std::size_t width);

/// A compile under way: the image pieces built so far, and the first refusal. Every step returns false once
/// the compile is refused; the windows and the field store change only when the whole compile succeeds.
class CompileDraft
{
public:
    CompileDraft(forms::Windows& windows, forms::Mode mode, const ImageFields& fields);

    /// Returns the image pieces built so far.
    ImageFields& fields() { return m_fields; }

    /// Refuses the compile; always returns false.
    bool refuse(const std::string& focus, const std::string& label, std::optional<int> profile,
                const std::string& reason);

    /// Sets the station callsign from a My Call field.
    bool stationCallsign(const forms::TextField& myCall);
    /// ORs the SSID nibble (0 to 15) of a profile; shown names the profile of an NMEA or Tracking store entry.
    bool stationSsid(int profile, const std::string& text, const std::string& focus, std::optional<int> shown);
    /// Sets the to-call and its SSID byte from a To Call list's text.
    bool toCall(const forms::PickList& toCall);
    /// Sets special paths 1 to 4 from the window's Special Path fields.
    bool specialPaths(const forms::StationControls& station);
    /// ORs the four path codes of a profile from the selector indexes.
    void pathCodes(int profile, const std::array<int, 4>& indexes);
    /// Sets the timer of a profile from stored texts; those that read 0 become "0" when the compile succeeds.
    bool timer(int profile, std::string& minutes, std::string& seconds, const forms::StationControls& station,
               std::optional<int> shown);
    /// Sets the timer of profile 1 from the window's timer fields.
    bool timer(forms::StationControls& station);
    /// Sets profile byte 6 of a profile from the delay and tail list positions.
    bool txCodes(int profile, int delayIndex, int tailIndex, const forms::StationControls& station,
                 std::optional<int> shown);
    /// Returns a text field's bytes padded with zero bytes to its width in the image; refuses a longer text.
    bool fixedText(const forms::TextField& field, const std::string& label, std::size_t width, std::string& bytes);
    /// Returns a one-character field's byte (0 when empty); refuses a longer text.
    bool singleByte(const forms::TextField& field, const std::string& label, std::uint8_t& byte);
    /// Reads a termination character choice: CR 13, LF 10, the user's number, or 0 with none chosen.
    bool terminationCharacter(const forms::OptionGroup& choice, const forms::TextField& userValue, std::uint8_t& code);

    /// Returns the refused result.
    CompileResult refused() const;
    /// Applies the timer normalisations, stores the fields and returns the stream.
    CompileResult finish(ImageFields& target, std::string stream);

private:
    bool baud1200() const;
    bool printableCallsign(const std::string& text, const std::string& focus, const std::string& label);
    bool timerBytes(int profile, double minuteValue, double secondValue, const forms::StationControls& station,
                    std::optional<int> shown);

    forms::Windows& m_windows;
    ImageFields m_fields;
    std::optional<forms::MessageBox> m_refusal;
    std::vector<forms::TextField*> m_zeroFields;
    std::vector<std::string*> m_zeroTexts;
};

/// Returns "D", the four header bytes, the station callsign, the to-call and the four special paths.
std::string frameStart(const ImageFields& fields);

/// Returns the six bytes of a profile (1 to 10).
std::string profileBytes(const ImageFields& fields, int profile);

/// Returns the list position a stored text names (its number value rounded), or nothing for a value far
/// outside any list.
std::optional<int> storedPosition(const std::string& text);

} // namespace qm::image
