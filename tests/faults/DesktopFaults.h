// The desktop program on real files with a scripted Ui, shared by the fault-injection tests: the fixture, a
// snapshot of every window's values, and file helpers.
#pragma once

#include "app/Desktop.h"
#include "fakes/ScriptedUi.h"
#include "qt/PosixFileSystem.h"
#include "storage/ConfigFile.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace qm::app::faults
{

inline std::string readAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline void writeAll(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::vector<std::string> windowsSnapshot(const forms::Windows& windows)
{
    std::vector<std::string> lines;
    for (const forms::Mode mode : forms::kModes)
        for (const auto& line : storage::configurationLines(windows, mode))
            lines.push_back(line);
    return lines;
}

inline const std::string kIni =
    storage::joinLines({"1", "N0CALL", "0", "0", "6", "2", "FALSE", "Reserved", "Reserved", "Reserved"});

inline forms::MessageBox fileBox(const char* title, const char* text)
{
    return forms::messageBox(title, text, forms::Icon::Warning);
}

class DesktopFaultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther |
                                                 QFile::ExeOther);
        files.writeFileAtomically(path("vq3.ini"), kIni);
    }

    std::string path(const QString& name) const { return folder.filePath(name).toStdString(); }

    QAction* action(const char* name) { return desktop->window().findChild<QAction*>(name); }
    forms::Windows& windows() { return desktop->program().session().windows(); }

    void openExample(const char* name)
    {
        const auto shown = ui.boxes.size();
        ui.paths.push_back(QM_EXAMPLES_DIR "/" + std::string(name));
        action("openconfiguration")->trigger();
        ASSERT_EQ(ui.boxes.size(), shown) << ui.boxes.back().title;
    }

    shell::Environment environment() const
    {
        const std::string programFolder = folder.path().toStdString();
        return shell::Environment{{programFolder, programFolder}, programFolder, {}};
    }

    QTemporaryDir folder;
    qt::PosixFileSystem files;
    fakes::ScriptedUi ui;
    std::unique_ptr<Desktop> desktop;
};

} // namespace qm::app::faults
