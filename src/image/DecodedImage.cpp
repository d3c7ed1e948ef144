// 128 image bytes decoded into windows: the header bytes into the main window, then the field store and the
// mode's window fill.
#include "image/DecodedImage.h"

#include "forms/PickLists.h"
#include "forms/ProfileEditing.h"
#include "image/Decode.h"
#include "image/HeaderBytes.h"

#include <cassert>
#include <cstdint>

namespace qm::image
{

namespace
{

std::uint8_t byteAt(const std::string& image, std::size_t index)
{
    return static_cast<std::uint8_t>(image[index]);
}

/// The first three bytes into the main window: baud rate menus, delay and tail lists, options.
void fillHeaderControls(const std::string& image, std::optional<forms::Mode> mode, forms::Windows& windows,
                        const forms::WindowDefaults& defaults)
{
    forms::MainWindowControls& main = windows.main;
    const ModeByte modeByte = decodeModeByte(byteAt(image, 0));
    // Beacon and Alarm leave the input baud rate menu as it is: their windows disable it.
    if (mode != forms::Mode::Beacon && mode != forms::Mode::Alarm) {
        const auto items = main.menus.inputBaudItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            items[i]->setChecked(static_cast<int>(i) == modeByte.inputBaudCode);
    }
    main.menus.out300.setChecked(modeByte.output300);
    main.menus.out1200.setChecked(!modeByte.output300);
    forms::rebuildTxLists(windows, modeByte.output300, defaults.txDelayIndex, defaults.txTailIndex);
    const OptionByte options = decodeOptionByte(byteAt(image, 1));
    main.LEDDisable.setValue(options.ledDisable ? 1 : 0);
    main.MicEncode.setValue(options.micEncode ? 1 : 0);
    main.ModeLock.setValue(options.modeLock ? 1 : 0);
    if (const auto autoMode = decodeAutoModeByte(byteAt(image, 2)))
        main.AutoMode.setValue(*autoMode ? 1 : 0);
}

} // namespace

std::optional<forms::Mode> decodeIntoWindows(const std::string& image, forms::Windows& windows, ImageFields& fields,
                                             const forms::WindowDefaults& defaults)
{
    assert(image.size() == kImageSize);
    const std::optional<forms::Mode> mode = forms::modeOfCode(modeCode(byteAt(image, 0)));
    fillHeaderControls(image, mode, windows, defaults);
    splitUpload(image, fields);
    if (!mode)
        return std::nullopt;
    forms::setMyCall(windows, fields.stationCallsign);
    windows.station(*mode).ToCall.setText(fields.toCall);
    fillMode(*mode, windows, fields);
    return mode;
}

std::variant<DecodedImage, DecodeRefusal> decodeImage(const std::string& image)
{
    if (image.size() != kImageSize)
        return DecodeRefusal{image.size(), std::nullopt};
    const forms::WindowDefaults defaults;
    DecodedImage decoded{forms::Mode::Telemetry, forms::startUpWindows(defaults)};
    ImageFields fields;
    const auto mode = decodeIntoWindows(image, decoded.windows, fields, defaults);
    if (!mode)
        return DecodeRefusal{image.size(), modeCode(byteAt(image, 0))};
    decoded.mode = *mode;
    forms::storeShownNmeaProfile(decoded.windows);
    forms::storeShownTrackingProfile(decoded.windows);
    return decoded;
}

} // namespace qm::image
