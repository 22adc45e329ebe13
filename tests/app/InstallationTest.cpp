// What an installed program relies on: the id that ties the window to its desktop entry, and
// where HELP finds the manual.
#include "app/CARNApp.h"
#include "app/ManualFile.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <optional>

namespace arx {
namespace {

TEST(Installation, ApplicationIdNamesTheDesktopEntryThePackageInstalls)
{
    nameTheApplication();
    const QString entry = QStringLiteral(ARX_DESKTOP_ENTRY_FOLDER "/")
        + QGuiApplication::desktopFileName() + QStringLiteral(".desktop");
    EXPECT_TRUE(QFileInfo(entry).isFile()) << qPrintable(entry);
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral(ARX_VERSION))
        << "--version prints the project's version";
}

struct LookupCase {
    const char *name;
    bool inFirst;
    bool inSecond;
    std::optional<int> found; // the folder HELP opens it from
};

void PrintTo(const LookupCase &c, std::ostream *out)
{
    *out << c.name;
}

class ManualLookup : public ::testing::TestWithParam<LookupCase> { };

TEST_P(ManualLookup, TakesTheFirstFolderThatHoldsTheManual)
{
    const LookupCase &c = GetParam();
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    const QStringList folders { first.path(), second.path() };
    for (int i : { 0, 1 }) {
        if (i == 0 ? !c.inFirst : !c.inSecond)
            continue;
        QFile file(QDir(folders[i]).filePath(ManualFileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }

    const QString found = findManual(folders);
    if (c.found)
        EXPECT_EQ(found, QDir(folders[*c.found]).filePath(ManualFileName));
    else
        EXPECT_TRUE(found.isEmpty()) << qPrintable(found);
}

INSTANTIATE_TEST_SUITE_P(Folders, ManualLookup,
    ::testing::Values(LookupCase { "BesideTheProgram", true, false, 0 },
        LookupCase { "InstalledOnly", false, true, 1 },
        LookupCase { "BothPreferTheProgramsFolder", true, true, 0 },
        LookupCase { "Neither", false, false, std::nullopt }),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ManualLookupFolders, AFolderNamedLikeTheManualIsPassedOver)
{
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(QDir(first.path()).mkdir(ManualFileName));
    QFile file(QDir(second.path()).filePath(ManualFileName));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_EQ(findManual({ first.path(), second.path() }), file.fileName());
}

TEST(ManualLookupFolders, TheProgramsFolderComesBeforeTheInstalledDataFolder)
{
    // /usr/bin/arx reads /usr/share/arx; a package unpacked elsewhere reads its own copy.
    const QString program = QCoreApplication::applicationDirPath();
    EXPECT_EQ(manualFolders(),
        QStringList({ program, QDir::cleanPath(program + QStringLiteral("/../share/arx")) }));
}

} // namespace
} // namespace arx
