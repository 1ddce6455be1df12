// The sheet the browser prints: the receipt as the receipt window lays it
// out, in the same words, without the form. The column of eight "AGMER"
// boxes in the margin, a framed grid with the earnings and the deductions
// in columns of their own and the three totals under it, and beside it the
// panel with the scale's title, the position or the hours, their points and
// the date. The print stylesheet shows it alone.

import { celda } from "./celdas.mjs";

const CAJAS_DEL_MARGEN = 8;  // their greys are the stylesheet's

const PANEL = [
    ["numcargo", null],  // its caption is the receipt's own ("Código del cargo", "Cantidad de horas")
    ["punbasicos", "Puntaje"],
    ["compbas", "Ptos. Comp Básico"],
    ["proljor", "Prol jorn"],
    ["jorcom", "Jorn Comp"],
    ["tardif", "Tarea dif"],
];

function elemento(etiqueta, clase, texto) {
    const nuevo = document.createElement(etiqueta);
    if (clase)
        nuevo.className = clase;
    if (texto !== undefined)
        nuevo.textContent = texto;
    return nuevo;
}

function fila(tabla, celdas, clase) {
    const tr = tabla.insertRow();
    if (clase)
        tr.className = clase;
    for (const [texto, claseCelda] of celdas)
        celda(tr, texto, claseCelda);
}

// `linea`: the receipt's JSON line; `titulo`: the scale's title for the
// receipt window; `puntos`: the position's points beside punbasicos
// (compbas, proljor, jorcom, tardif), or null for hours, whose panel shows
// only their number and their points.
export function armarHoja(linea, titulo, puntos) {
    const hoja = document.getElementById("hoja");
    const margen = elemento("div", "margen");
    for (let i = 0; i < CAJAS_DEL_MARGEN; ++i)
        margen.append(elemento("p", "agmer", "AGMER"));
    const marco = elemento("div", "marco");
    marco.append(elemento("p", "leyenda", "Recibo de haberes"));
    const encabezado = elemento("p", "de", "Recibo de sueldos de:");
    encabezado.append(elemento("span", "docente", linea.docente));
    marco.append(encabezado);
    const tabla = elemento("table", "grilla");
    for (const l of linea.lineas)
        fila(tabla, [[l.cod, "num"], [l.cantidad, "num"], [l.descripcion], [l.haberes, "num"], [l.descuentos, "num"]]);
    fila(tabla, [[], [], ["Total Haberes"], [linea.total_haberes, "num total"], []], "totales");
    fila(tabla, [[], [], ["Total descuentos"], [], [linea.total_descuentos, "num total"]]);
    fila(tabla, [[], [], ["Liquido a pagar"], [], [linea.liquido, "num total"]]);
    marco.append(tabla);

    const panel = elemento("div", "panel");
    panel.append(elemento("p", "titulo", titulo), elemento("p", "carsel", linea.cabecera.carsel));
    const valores = { ...linea.cabecera, ...puntos };
    for (const [clave, leyenda] of puntos ? PANEL : PANEL.slice(0, 2)) {
        panel.append(elemento("p", "leyenda-panel", leyenda ?? linea.cabecera.Label11 ?? ""));
        panel.append(elemento("p", "caja", valores[clave] ?? ""));
    }
    panel.append(elemento("p", "caja fecha", new Intl.DateTimeFormat("es-AR", { dateStyle: "short" }).format(new Date())));
    hoja.replaceChildren(margen, marco, panel);
}
