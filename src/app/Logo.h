// The program's logo, painted in code: a radio mast sending waves, with the unit's name below.
#pragma once

#include <QPixmap>

namespace qm::app
{

/// Returns the logo as a square pixmap of size device-independent pixels, sharp at the given pixel ratio.
QPixmap quellmarkLogo(int size, qreal devicePixelRatio = 1.0);

} // namespace qm::app
