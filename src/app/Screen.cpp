// Window placement shared by the program's windows.
#include "app/Screen.h"

#include <QRect>
#include <QScreen>
#include <QWidget>

namespace qm::app
{

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace qm::app
