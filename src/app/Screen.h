// Window placement shared by the program's windows.
#pragma once

class QWidget;

namespace qm::app
{

/// Moves a window so that its frame is centred on the screen it is on.
void centreOnScreen(QWidget& window);

} // namespace qm::app
