// The yardstick for the desktop program's start-up and memory: one plain Qt
// Widgets window with what "Ingreso de datos" has at start, built the plain
// way: a title in bold, about as many controls of each kind (22 labels, 12 text boxes, 15
// option buttons, 13 check boxes, an editable list of 5 items, 2 buttons,
// 4 frames) in ordinary layouts; a menu bar with "Archivo" (9 actions, 6 of
// them with shortcuts, and a submenu) and "Escala" (a checkable choice and
// one action); and Qt's own texts in Spanish. Nothing else: no other window,
// no data, no handlers.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QMenuBar* menus(QWidget* window)
{
    auto* bar = new QMenuBar(window);
    QMenu* file = bar->addMenu("&Archivo");
    file->addAction("&Nueva")->setShortcut(QKeySequence::New);
    file->addAction("&Abrir…")->setShortcut(QKeySequence::Open);
    file->addMenu("&Recientes")->setEnabled(false);
    file->addAction("&Guardar")->setShortcut(QKeySequence::Save);
    file->addAction("Guardar &como…")->setShortcut(QKeySequence::SaveAs);
    file->addSeparator();
    file->addAction("&Exportar…");
    file->addAction("C&omparar…")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    file->addAction("Exportar &todo…");
    file->addSeparator();
    file->addAction("&Salir")->setShortcut(QKeySequence::Quit);

    QMenu* choice = bar->addMenu("&Escala");
    auto* group = new QActionGroup(choice);
    QAction* only = choice->addAction("Única");
    only->setCheckable(true);
    only->setChecked(true);
    group->addAction(only);
    choice->addSeparator();
    choice->addAction("&Abrir…");
    return bar;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QTranslator qtTexts;
    if (qtTexts.load(QLocale::system(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QWidget window;
    window.setObjectName("referencia");
    window.setWindowTitle("Ventana de referencia");

    auto* body = new QHBoxLayout(&window);
    body->setMenuBar(menus(&window));
    auto* layout = new QVBoxLayout;
    body->addLayout(layout, 1);
    // A title in bold, larger than the rest, as "Ingreso de datos" has.
    auto* title = new QLabel("Ventana de referencia");
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);
    layout->addWidget(title);
    layout->addWidget(new QLabel("Controles comunes"));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Nombre:"));
    nameRow->addWidget(new QLineEdit, 1);
    layout->addLayout(nameRow);

    auto* columns = new QHBoxLayout;
    layout->addLayout(columns);

    // 3 option buttons, 5 labelled boxes, 13 labels.
    auto* first = new QGroupBox("Primero");
    auto* firstGrid = new QGridLayout(first);
    for (int i = 0; i < 3; ++i)
        firstGrid->addWidget(new QRadioButton(QStringLiteral("Opción %1").arg(i + 1)), 0, i);
    for (int i = 0; i < 5; ++i) {
        firstGrid->addWidget(new QLabel(QStringLiteral("Cantidad %1").arg(i + 1)), i + 1, 0, 1, 2);
        firstGrid->addWidget(new QLineEdit("0"), i + 1, 2);
    }
    for (int i = 0; i < 13; ++i)
        firstGrid->addWidget(new QLabel(QStringLiteral("Dato %1").arg(i + 1)), 6 + i / 3, i % 3);
    columns->addWidget(first);

    // 6 check boxes, 4 boxes, 1 label, the editable list.
    auto* second = new QGroupBox("Segundo");
    auto* secondGrid = new QGridLayout(second);
    for (int i = 0; i < 6; ++i)
        secondGrid->addWidget(new QCheckBox(QStringLiteral("Marca %1").arg(i + 1)), i, 0);
    for (int i = 0; i < 4; ++i)
        secondGrid->addWidget(new QLineEdit("0"), i, 1);
    secondGrid->addWidget(new QLabel("Detalle"), 4, 1);
    auto* list = new QComboBox;
    list->setEditable(true);
    for (int i = 0; i < 5; ++i)
        list->addItem(QStringLiteral("Elemento %1").arg(i + 1));
    secondGrid->addWidget(list, 6, 0, 1, 2);
    columns->addWidget(second);

    // 12 option buttons and a box.
    auto* third = new QGroupBox("Tercero");
    auto* thirdColumn = new QVBoxLayout(third);
    for (int i = 0; i < 12; ++i)
        thirdColumn->addWidget(new QRadioButton(QStringLiteral("Elección %1").arg(i + 1)));
    thirdColumn->addWidget(new QLineEdit("0 %"));
    columns->addWidget(third);

    // 7 check boxes.
    auto* fourth = new QGroupBox("Cuarto");
    auto* fourthColumn = new QVBoxLayout(fourth);
    for (int i = 0; i < 7; ++i)
        fourthColumn->addWidget(new QCheckBox(QStringLiteral("Casilla %1").arg(i + 1)));
    fourthColumn->addStretch(1);
    columns->addWidget(fourth);

    // 1 box, 2 buttons.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLineEdit("Si"));
    buttons->addStretch(1);
    buttons->addWidget(new QPushButton("Aceptar"));
    buttons->addWidget(new QPushButton("Salir"));
    layout->addLayout(buttons);

    window.show();
    return QApplication::exec();
}
