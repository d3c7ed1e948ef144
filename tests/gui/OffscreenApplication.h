// Runs the window tests without a display: the offscreen platform and a private runtime folder, set before the
// application object exists.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>

namespace qm::guitest
{

inline void prepareOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir runtime;
    if (runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
}

} // namespace qm::guitest
