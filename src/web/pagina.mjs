// The page: the form's values become a table of one row, which the
// WebAssembly engine computes as recibo-lote would under es_AR; its JSON
// line is shown as the receipt. Every keystroke computes again, and the
// address keeps the form's values after "#", so that a receipt can be
// bookmarked, sent or opened again.
import cargarRecibo from "./recibo.mjs";
import { Cargos } from "./cargos.mjs";
import { Comparacion } from "./comparacion.mjs";
import { Formulario } from "./formulario.mjs";
import { armarHoja } from "./hoja.mjs";
import { ReciboVista } from "./recibo-vista.mjs";

const form = document.getElementById("datos");
const formulario = new Formulario(form);
const vista = new ReciboVista((texto) => motor.citar(texto));
const decoder = new TextDecoder();
// Without the engine (recibo.wasm not served, or a browser without
// WebAssembly) nothing can be computed: the page says so instead of loading
// for ever.
const motor = await cargarRecibo().catch(() => {
    const estado = document.getElementById("estado");
    estado.textContent = "No se pudo cargar el cálculo (recibo.wasm): volvé a abrir la página; si sigue igual, usá un navegador actualizado o avisá a quien la publica.";
    estado.className = "error";
    throw new Error("sin WebAssembly");
});
const comparacion = new Comparacion(motor, formulario);
const cargos = new Cargos(() => calcular());

function llenarOpciones(select, textos, primerValor) {
    select.length = 1;
    textos.forEach((texto, i) => select.add(new Option(texto, String(primerValor + i))));
}

// The lists of the scale in use: the seniority brackets and their
// percentages, the zones, the positions.
let porcentajes = [];
let tituloRecibo = "";
let mostrada = null;  // the receipt's JSON line on the page, if any
function usarEscala() {
    const opciones = motor.opciones();
    for (const [select, textos, primero] of [[form.elements.antiguedad, opciones.antiguedades, 1],
                                              [form.elements.zona, opciones.zonas, 0]]) {
        const elegido = select.value;
        llenarOpciones(select, textos, primero);
        select.value = elegido;
    }
    porcentajes = opciones.porcentajes;
    tituloRecibo = opciones.tituloRecibo;
    cargos.usar(opciones.cargos);
    document.getElementById("escala").textContent = `${opciones.escala}. ${opciones.subtitulo}`;
    document.getElementById("escala-en-uso").textContent = `En uso: ${opciones.escala}.`;
}

// The points the receipt's panel shows beside the base points: the
// position's, or those typed over them; null for hours.
function puntosDelPanel() {
    if (formulario.tipo() !== "cargo")
        return null;
    const puntos = cargos.puntos();
    const valores = formulario.valores();
    for (const nombre of Object.keys(puntos))
        if (valores[nombre] !== "")
            puntos[nombre] = valores[nombre];
    return puntos;
}

function calcular() {
    const inicio = performance.now();
    // A seniority that is none of the options (from an address) has no percentage.
    const antiguedad = Number(form.elements.antiguedad.value);
    document.getElementById("porcantig").textContent =
        antiguedad > 0 ? porcentajes[antiguedad - 1] ?? "" : "0 %";
    cargos.mostrarElegido();
    const resultado = motor.calcularTabla(formulario.tabla(), true, true);
    mostrada = null;
    if (resultado.problema.length > 0) {
        vista.mostrar({ error: decoder.decode(resultado.problema) });
    } else {
        const linea = JSON.parse(decoder.decode(resultado.lineas));
        vista.mostrar(linea, formulario.tipo() === "cargo");
        if (linea.lineas)
            comparacion.ofrecerCodigos(linea.lineas.map((l) => l.cod));
        mostrada = linea.lineas ? linea : null;
    }
    comparacion.comparar();
    guardarEnDireccion();
    // What bench/medir-web.mjs reads: how long each receipt took.
    performance.measure("calculo", { start: inicio });
}

// The address follows the form once typing pauses: changing it costs more
// than the receipt, and a browser limits how often a page may.
const PAUSA_MS = 250;
let pendiente = 0;
function guardarEnDireccion() {
    clearTimeout(pendiente);
    pendiente = setTimeout(() => {
        const fragmento = formulario.fragmento();
        if (location.hash.slice(1) !== fragmento)
            history.replaceState(null, "", fragmento ? `#${fragmento}` : location.pathname + location.search);
    }, PAUSA_MS);
}

// Options and check boxes first follow the entry window's rules.
const marca = (control) => control.type === "radio" || control.type === "checkbox";
form.addEventListener("change", (evento) => {
    if (!marca(evento.target))
        return;
    if (evento.target.name === "tipo")
        formulario.elegirTipo(evento.target.value);
    else if (evento.target.dataset.cantidad)
        formulario.marcarConCantidad(evento.target);
    calcular();
});
form.addEventListener("input", (evento) => {
    if (!marca(evento.target) && evento.target.id !== "buscar" && evento.target.type !== "file")
        calcular();
});
form.addEventListener("submit", (evento) => evento.preventDefault());

// A scale file from the device: its receipts from then on, or the reason it
// cannot be used, beside the control (the scale in use stays).
const archivo = document.getElementById("archivo-escala");
const errorEscala = document.getElementById("error-escala");
const volver = document.getElementById("escala-incorporada");
archivo.addEventListener("change", async () => {
    const elegido = archivo.files[0];
    if (!elegido)
        return;
    const respuesta = motor.elegirEscala(await elegido.text(), elegido.name);
    errorEscala.hidden = respuesta.problema === undefined;
    errorEscala.textContent = respuesta.problema ?? "";
    archivo.toggleAttribute("aria-invalid", respuesta.problema !== undefined);
    if (respuesta.problema === undefined) {
        volver.hidden = false;
        usarEscala();
        calcular();
    }
});
volver.addEventListener("click", () => {
    motor.escalaIncorporada();
    volver.hidden = true;
    archivo.value = "";
    usarEscala();
    calcular();
});

// The printed sheet is laid out only when the page is printed, not at
// every keystroke.
window.addEventListener("beforeprint", () => {
    if (mostrada)
        armarHoja(mostrada, tituloRecibo, puntosDelPanel());
    else
        document.getElementById("hoja").replaceChildren();
});
document.getElementById("imprimir").addEventListener("click", () => print());

// The address's values, when it has them; again when only "#…" changes.
function abrirDireccion() {
    formulario.leerFragmento(location.hash.slice(1));
    calcular();
}
window.addEventListener("hashchange", abrirDireccion);
usarEscala();
abrirDireccion();
document.documentElement.dataset.listo = "1";
performance.mark("listo");
