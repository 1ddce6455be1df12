// The planilla in its file: saved whole or not at all, never over a version
// someone else wrote since it was read.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/file_size_limit.h"
#include "planilla/planilla_file.h"

namespace recibo::planilla {
namespace {

const QByteArray kTable = "docente,tipo,codcargo,antiguedad\r\n\"Gómez, Ana\",cargo,645,4\r\nLuis,medio,,2\r\n";

class PlanillaFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        write(path(), kTable);
    }
    QString path() const { return folder_.filePath("planilla.csv"); }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    PlanillaFile opened()
    {
        auto read = PlanillaFile::open(path());
        EXPECT_TRUE(std::holds_alternative<PlanillaFile>(read));
        return std::get<PlanillaFile>(std::move(read));
    }
    // Luis gets the seniority option 3.
    static void changeLuis(PlanillaFile& file)
    {
        auto luis = std::get<table::RowInput>(file.table().input(1));
        luis.entry.seniorityOption = 3;
        file.table().replaceRow(1, luis);
    }

    QTemporaryDir folder_;
};

TEST_F(PlanillaFileTest, SavedWithOnlyTheChangedCell)
{
    PlanillaFile file = opened();
    changeLuis(file);
    EXPECT_EQ(file.save(path()), (PlanillaFile::SaveResult{PlanillaFile::Saved::Yes, {}}));
    EXPECT_EQ(contents(path()), QByteArray(kTable).replace("Luis,medio,,2", "Luis,medio,,3"));
}

TEST_F(PlanillaFileTest, ChangedOnDiskIsNotOverwrittenUnlessTheUserSaysSo)
{
    PlanillaFile file = opened();
    changeLuis(file);
    const QByteArray theirs = QByteArray(kTable).replace("Luis", "Luisa");
    write(path(), theirs);
    EXPECT_EQ(file.save(path()).saved, PlanillaFile::Saved::ChangedOnDisk);
    EXPECT_EQ(contents(path()), theirs);
    EXPECT_EQ(file.save(path(), true).saved, PlanillaFile::Saved::Yes);
    EXPECT_EQ(contents(path()), QByteArray(kTable).replace("Luis,medio,,2", "Luis,medio,,3"));
    // Saved: the file is ours again, and saves go on without asking.
    changeLuis(file);
    EXPECT_EQ(file.save(path()).saved, PlanillaFile::Saved::Yes);
}

// A disk that takes no more than 40 bytes in a file: the save fails, says
// so, and the old file stays whole.
TEST_F(PlanillaFileTest, AFailedSaveLeavesTheOldFileWhole)
{
    PlanillaFile file = opened();
    changeLuis(file);
    const PlanillaFile::SaveResult result = [&] {
        const FileSizeLimit disk(40);
        return file.save(path());
    }();
    EXPECT_EQ(result.saved, PlanillaFile::Saved::Failed);
    EXPECT_TRUE(result.problem.contains("No se pudo guardar la planilla")) << result.problem.toStdString();
    EXPECT_EQ(contents(path()), kTable);
}

TEST_F(PlanillaFileTest, UnusableFilesAreRefusedNamingThem)
{
    write(path(), "docente,sueldo\nAna,1\n");
    for (const QString& name : {path(), folder_.filePath("no-existe.csv")}) {
        const auto read = PlanillaFile::open(name);
        ASSERT_TRUE(std::holds_alternative<QString>(read));
        EXPECT_TRUE(std::get<QString>(read).contains("planilla")) << std::get<QString>(read).toStdString();
    }
    EXPECT_TRUE(std::get<QString>(PlanillaFile::open(path())).contains("columna desconocida"));
}

}  // namespace
}  // namespace recibo::planilla
