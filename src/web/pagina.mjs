// The page: the form's values become a table of one row, which the
// WebAssembly engine computes as recibo-lote would under es_AR; its JSON
// line is shown as the receipt's lines. Every keystroke computes again.
import cargarRecibo from "./recibo.mjs";

const form = document.getElementById("datos");
const estado = document.getElementById("estado");
const tabla = document.getElementById("lineas");
const decoder = new TextDecoder();

// The check boxes are columns of the table with their own names.
const casillas = [...form.querySelectorAll("input[type=checkbox]")].map((box) => box.name);

// A cell as the table quotes it: the text is the engine's to judge.
const celda = (texto) => `"${String(texto).replaceAll('"', '""')}"`;

function tablaDelFormulario() {
    const datos = new FormData(form);
    const tipo = datos.get("tipo");
    const columnas = {
        tipo,
        codcargo: datos.get("codcargo"),
        numerohorasmed: tipo === "medio" ? datos.get("horas") : "0",
        numerohorassup: tipo === "superior" ? datos.get("horas") : "0",
        antiguedad: datos.get("antiguedad"),
        zona: datos.get("zona"),
    };
    for (const nombre of casillas)
        columnas[nombre] = datos.has(nombre) ? "1" : "0";
    const nombres = Object.keys(columnas);
    return `${nombres.join(";")}\n${nombres.map((nombre) => celda(columnas[nombre])).join(";")}\n`;
}

function llenarOpciones(select, textos, primerValor) {
    textos.forEach((texto, i) => select.add(new Option(texto, String(primerValor + i))));
}

function fila(...celdas) {
    const tr = document.createElement("tr");
    celdas.forEach(([texto, clase]) => {
        const td = tr.insertCell();
        td.textContent = texto ?? "";
        if (clase)
            td.className = clase;
    });
    return tr;
}

function mostrar(recibo) {
    const cargo = document.getElementById("cargo");
    if (recibo.error !== undefined) {
        estado.textContent = recibo.error;
        estado.className = "error";
        cargo.textContent = "";
        tabla.hidden = true;
        return;
    }
    estado.textContent = "";
    estado.className = "";
    const cabecera = recibo.cabecera;
    cargo.textContent = cabecera.carsel ? `${cabecera.numcargo} · ${cabecera.carsel} · ${cabecera.punbasicos} puntos` : "";
    // Each line under its column's heading, in the receipt's order.
    for (const columna of ["haberes", "descuentos"]) {
        const grupo = document.getElementById(columna);
        const lineas = recibo.lineas.filter((linea) => linea[columna] !== undefined);
        grupo.replaceChildren(grupo.rows[0], ...lineas.map((linea) => fila(
            [linea.cod], [linea.cantidad], [linea.descripcion], [linea[columna], "importe"])));
        grupo.hidden = lineas.length === 0;
    }
    document.getElementById("total_haberes").textContent = recibo.total_haberes;
    document.getElementById("total_descuentos").textContent = recibo.total_descuentos;
    document.getElementById("liquido").textContent = recibo.liquido;
    tabla.hidden = false;
}

const motor = await cargarRecibo();
const opciones = motor.opciones();
llenarOpciones(form.elements.antiguedad, opciones.antiguedades, 1);
llenarOpciones(form.elements.zona, opciones.zonas, 0);
document.getElementById("escala").textContent = opciones.escala;

function calcular() {
    document.getElementById("horas").hidden = form.elements.tipo.value === "cargo";
    const resultado = motor.calcularTabla(tablaDelFormulario(), true);
    const texto = decoder.decode(resultado.problema.length > 0 ? resultado.problema : resultado.lineas);
    if (resultado.problema.length > 0)
        mostrar({ error: texto });
    else
        mostrar(JSON.parse(texto));
}

// A link may carry the form's values (?codcargo=645&antiguedad=4, a check
// box as 1 or 0): the page opens on that receipt.
for (const [nombre, valor] of new URLSearchParams(location.search)) {
    const control = form.elements.namedItem(nombre);
    if (control?.type === "checkbox")
        control.checked = valor === "1";
    else if (control)
        control.value = valor;
}

form.addEventListener("input", calcular);
form.addEventListener("submit", (event) => event.preventDefault());
calcular();
