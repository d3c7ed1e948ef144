// The five mode windows as widgets: every control a child whose objectName is the control's name.
#pragma once

#include "forms/Windows.h"

class QWidget;

namespace qm::app
{

/// Builds the window of a mode with every control of its window model (labels, tool tips, text limits, the help
/// frame and box, and for NMEA and Tracking the ten-tab strip and the profile frame). The window's own
/// objectName is its window model's name; it holds no state of its own beyond what the widgets show.
QWidget* createModeWindow(forms::Mode mode, QWidget* parent = nullptr);

} // namespace qm::app
