// "Recibos de la planilla en PDF…": a page per teacher in the planilla's
// order, the teachers without a receipt reported, nothing written when the
// user cancels.

#include <fstream>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/planilla_pdf.h"
#include "gui_driver.h"
#include "pdf_tools.h"
#include "regional/regional.h"

using namespace recibo;

class PlanillaPdfTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        gui::quietPlatformWarnings();
        std::ifstream file(RECIBO_EXAMPLE_CSV, std::ios::binary);
        std::string text{std::istreambuf_iterator<char>(file), {}};
        // A teacher whose hours are not a number has no receipt.
        text += "\"Sin Horas, Ana\",medio,0,muchas,0,0,0,0,4,0,1,0,0,0,0,0,0,0,0,1,0,1,1,1,0,0\n";
        auto read = table::Planilla::read(text);
        QVERIFY(std::holds_alternative<table::Planilla>(read));
        table_ = std::make_unique<table::Planilla>(std::get<table::Planilla>(std::move(read)));
    }

    void aPagePerTeacherInTheTablesOrder()
    {
        const QString path = folder_.filePath("recibos.pdf");
        int told = 0;
        const auto result = write(path, [&](int done, int total) {
            told = done;
            return total == int(table_->rows());
        });
        QVERIFY2(result.saved, qPrintable(result.problem));
        QCOMPARE(told, int(table_->rows()));
        QCOMPARE(result.pages, int(table_->rows()) - 1);
        QCOMPARE(pdf::pages(path), result.pages);
        QCOMPARE(result.skipped.size(), 1);
        QVERIFY2(result.skipped[0].startsWith("fila 12 (Sin Horas, Ana): "), qPrintable(result.skipped[0]));
        // Page by page, each teacher in turn.
        const QString text = pdf::text(path);
        qsizetype at = 0;
        for (std::size_t row = 0; row + 1 < table_->rows(); ++row) {
            const QString name = QString::fromStdString(table_->docente(row));
            at = text.indexOf(name, at);
            QVERIFY2(at >= 0, qPrintable(name));
        }
    }

    void cancelledWritesNothing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("antes.pdf");
        {
            QFile before(path);
            QVERIFY(before.open(QIODevice::WriteOnly));
            before.write("el de antes");
        }
        const auto result = write(path, [](int done, int) { return done < 3; });
        QVERIFY(result.cancelled && !result.saved);
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), QByteArray("el de antes"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"antes.pdf"});
    }

private:
    app::PlanillaPdfResult write(const QString& path, const std::function<bool(int, int)>& going)
    {
        return app::writePlanillaPdf(*table_, scales::builtInScale(), regional::systemSettings(), "08/12/26", path,
                                     going);
    }

    QTemporaryDir folder_;
    std::unique_ptr<table::Planilla> table_;
};

QTEST_MAIN(PlanillaPdfTest)
#include "planilla_pdf_test.moc"
