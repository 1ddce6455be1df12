// Qt's own texts and the system's reasons for a file that cannot be written
// reach the user in Spanish, as the program's own texts do.

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "files/file_errors.h"
#include "regional/qt_translations.h"

class SpanishTextsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(recibo::regional::installQtTranslations()); }

    void standardButtons_data();
    void standardButtons();
    void fileErrors_data();
    void fileErrors();
};

void SpanishTextsTest::standardButtons_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("OK") << QMessageBox::Ok << "Aceptar";
    QTest::newRow("Cancel") << QMessageBox::Cancel << "Cancelar";
    QTest::newRow("Save") << QMessageBox::Save << "Guardar";
}

// A standard message box, whatever the system language.
void SpanishTextsTest::standardButtons()
{
    QFETCH(QMessageBox::StandardButton, button);
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::Warning, "Título", "Mensaje", button);
    QCOMPARE(box.button(button)->text().remove('&'), text);
}

void SpanishTextsTest::fileErrors_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("cause");
    QTest::newRow("folder missing") << QDir::tempPath() + "/recibo-no-existe/x.pdf"
                                    << "la carpeta no existe";
    QTest::newRow("no permission") << "/sys/recibo.pdf"
                                   << "no hay permiso para escribir en esa carpeta";
    QTest::newRow("disk full") << "/dev/full"
                               << "el disco está lleno";
}

// What the system says about a real file, as the messages show it.
void SpanishTextsTest::fileErrors()
{
    QFETCH(QString, path);
    QFETCH(QString, cause);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        QCOMPARE(file.write(QByteArray(4096, 'x')), -1);
    QCOMPARE(recibo::files::fileErrorText(file, recibo::files::Access::Write), cause);
}

QTEST_MAIN(SpanishTextsTest)
#include "spanish_texts_test.moc"
