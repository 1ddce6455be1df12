// The planilla in its file: saved whole or not at all, never undoing what
// someone else wrote since it was read.

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

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
    static void changeLuis(PlanillaFile& file, std::size_t row = 1)
    {
        auto luis = std::get<table::RowInput>(file.table().input(row));
        luis.entry.seniorityOption = 3;
        file.table().replaceRow(row, luis);
    }

    QTemporaryDir folder_;
};

TEST_F(PlanillaFileTest, SavedWithOnlyTheChangedCell)
{
    PlanillaFile file = opened();
    changeLuis(file);
    EXPECT_EQ(file.save(path()).saved, PlanillaFile::Saved::Yes);
    EXPECT_EQ(contents(path()), QByteArray(kTable).replace("Luis,medio,,2", "Luis,medio,,3"));
}

// Luis changed here (seniority 3) while someone else changed the file; both
// teachers followed to their rows.
TEST_F(PlanillaFileTest, ChangedOnDiskGetsOnlyThisTeachersRowAndConflictsAreAskedAbout)
{
    using Conflicts = table::Planilla::Conflicts;
    using Places = std::map<std::size_t, std::size_t>;
    const QByteArray header = "docente,tipo,codcargo,antiguedad\r\n";
    const QByteArray ana = "\"Gómez, Ana\",cargo,645,4\r\n", luis = "Luis,medio,,2\r\n", mine = "Luis,medio,,3\r\n";
    const QByteArray anaThere = "\"Gómez, Ana\",cargo,645,5\r\n", eva = "Eva,cargo,650,1\r\n";
    const struct {
        const char* what;
        QByteArray theirs;
        std::optional<Conflicts> settle;
        PlanillaFile::Saved saved;
        QByteArray expected;  // the file afterwards
        Places followed;
    } cases[] = {
        {"another row changed",
         header + anaThere + luis,
         {},
         PlanillaFile::Saved::Yes,
         header + anaThere + mine,
         Places{{0, 0}, {1, 1}}},
        {"a row added before",
         header + eva + ana + luis,
         {},
         PlanillaFile::Saved::Yes,
         header + eva + ana + mine,
         Places{{0, 1}, {1, 2}}},
        {"a row added before one changed there",
         header + eva + anaThere + luis,
         {},
         PlanillaFile::Saved::Yes,
         header + eva + anaThere + mine,
         Places{{0, 1}, {1, 2}}},
        {"a row removed there", header + luis, {}, PlanillaFile::Saved::Yes, header + mine, Places{{1, 0}}},
        {"the same row changed",
         header + ana + "Luis,medio,,5\r\n",
         {},
         PlanillaFile::Saved::Conflict,
         header + ana + "Luis,medio,,5\r\n",
         Places{}},
        {"theirs kept", header + eva + ana + "Luis,medio,,5\r\n", Conflicts::KeepTheirs, PlanillaFile::Saved::Yes,
         header + eva + ana + "Luis,medio,,5\r\n", Places{{0, 1}, {1, 2}}},
        {"mine kept", header + ana + "Luis,medio,,5\r\n", Conflicts::KeepMine, PlanillaFile::Saved::Yes,
         header + ana + mine, Places{{0, 0}, {1, 1}}},
        {"mine kept over the row moved there", header + eva + ana + "Luis,medio,,5\r\n", Conflicts::KeepMine,
         PlanillaFile::Saved::Yes, header + eva + ana + mine, Places{{0, 1}, {1, 2}}},
        {"mine kept, the row removed there", header + eva + ana, Conflicts::KeepMine, PlanillaFile::Saved::Yes,
         header + eva + ana + mine, Places{{0, 1}, {1, 2}}},
        {"no longer a planilla", "hola,chau\r\n", {}, PlanillaFile::Saved::Conflict, "hola,chau\r\n", Places{}},
        {"no longer a planilla, mine kept", "hola,chau\r\n", Conflicts::KeepMine, PlanillaFile::Saved::Yes,
         header + ana + mine, Places{{0, 0}, {1, 1}}},
    };
    const std::size_t both[] = {0, 1};
    for (const auto& c : cases) {
        write(path(), header + ana + luis);
        PlanillaFile file = opened();
        changeLuis(file);
        write(path(), c.theirs);
        const auto result = file.save(path(), c.settle, both);
        EXPECT_EQ(result.saved, c.saved) << c.what;
        EXPECT_EQ(contents(path()), c.expected) << c.what;
        EXPECT_EQ(result.followed, c.followed) << c.what;
        if (result.saved != PlanillaFile::Saved::Yes)
            continue;
        EXPECT_EQ(file.table().text(), c.expected.toStdString()) << c.what << ": the table is the file saved";
        changeLuis(file, c.followed.at(1));
        EXPECT_EQ(file.save(path()).saved, PlanillaFile::Saved::Yes) << c.what << ": saved again without asking";
    }
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

// "Guardar como…" onto a FIFO writes nothing and leaves it a FIFO (a device
// is refused the same way; /dev/null is not put at risk here).
TEST_F(PlanillaFileTest, ASaveNeverReplacesWhatIsNotAFile)
{
    const QString fifo = folder_.filePath("tubo.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    PlanillaFile file = opened();
    const PlanillaFile::SaveResult result = file.save(fifo);
    EXPECT_EQ(result.saved, PlanillaFile::Saved::Failed);
    EXPECT_TRUE(result.problem.contains("es una tubería (FIFO), no un archivo")) << result.problem.toStdString();
    EXPECT_TRUE(std::filesystem::is_fifo(fifo.toStdString()));
}

TEST_F(PlanillaFileTest, UnusableFilesAreRefusedNamingThemAndTheCause)
{
    write(path(), "docente,sueldo\nAna,1\n");
    const struct {
        QString file;
        QString cause;
    } cases[] = {
        {path(), "columna desconocida"},
        {folder_.filePath("no-existe.csv"), "el archivo no existe"},
        {folder_.path(), "es una carpeta, no un archivo"},
    };
    for (const auto& c : cases) {
        const auto read = PlanillaFile::open(c.file);
        ASSERT_TRUE(std::holds_alternative<Unusable>(read));
        const QString message = QString::fromStdString(std::get<Unusable>(read).message);
        EXPECT_TRUE(message.contains("planilla") && message.contains(c.cause)) << message.toStdString();
    }
}

}  // namespace
}  // namespace recibo::planilla
