// The NMEA and Tracking windows: shared settings on the left, the ten-tab profile strip and its frame on the right.
#pragma once

class QWidget;

namespace qm::app
{

/// Builds the NMEA window.
QWidget* nmeaWindow(QWidget* parent);

/// Builds the Tracking window.
QWidget* trackingWindow(QWidget* parent);

} // namespace qm::app
