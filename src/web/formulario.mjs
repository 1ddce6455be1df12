// The form as the entry window's rules keep it (which boxes show, which
// reset to "0"), and as a table of one row with the planilla's column names,
// which is also what the page's address keeps after "#".

// The columns a table may have, in the planilla's order; `inasist` is a
// check box of the window that no column holds (its days do).
const COLUMNAS = [
    "docente", "tipo", "codcargo", "compbas", "proljor", "jorcom", "tardif",
    "numerohorasmed", "numerohorassup", "numhorascod06", "numhorasincen", "numhorascod113",
    "antiguedad", "zona", "opincentivo", "dinasist", "transporte", "hijos", "hijosdisc", "conyuge",
    "cantkm", "cantidadhijos", "cantidadhijosdisc",
    "Iosper", "Osplad", "APORTEJUB", "Ley4035", "AGMER", "cajacomp", "Seguro3011",
];
const HORAS_EXTRA = ["numhorascod06", "numhorasincen", "numhorascod113"];

// A list set to an address's value. One that is none of its options is
// added as it came, so that the receipt says what is wrong with it (as
// recibo-lote does) instead of the list quietly showing another; it goes
// once another option is chosen.
function elegirEnLista(lista, valor) {
    for (const ajena of lista.querySelectorAll("option[data-ajena]"))
        ajena.remove();
    if (![...lista.options].some((opcion) => opcion.value === valor)) {
        const ajena = new Option(valor, valor);
        ajena.dataset.ajena = "";
        lista.add(ajena);
        lista.addEventListener("change", () => ajena.remove(), { once: true });
    }
    lista.value = valor;
}

export class Formulario {
    constructor(form) {
        this.form = form;
        // What each control holds before anything is typed.
        this.inicial = this.valores();
    }

    control(nombre) {
        return this.form.elements.namedItem(nombre);
    }

    tipo() {
        return this.form.querySelector("input[name=tipo]:checked")?.value ?? "";
    }

    // Every control's value as a cell: check boxes "1" or "0".
    valores() {
        const valores = {};
        for (const nombre of [...COLUMNAS, "inasist"]) {
            const control = this.control(nombre);
            if (nombre === "tipo")
                valores.tipo = this.tipo();
            else if (control?.type === "checkbox")
                valores[nombre] = control.checked ? "1" : "0";
            else if (control)
                valores[nombre] = control.value;
        }
        return valores;
    }

    // The teacher as a table of one row: the column names and the cells.
    fila() {
        const valores = this.valores();
        return { nombres: COLUMNAS, celdas: COLUMNAS.map((nombre) => valores[nombre]) };
    }

    // The same as CSV text, every cell quoted: the text is the engine's to judge.
    tabla() {
        const { nombres, celdas } = this.fila();
        const celda = (texto) => `"${String(texto).replaceAll('"', '""')}"`;
        return `${nombres.join(";")}\n${celdas.map(celda).join(";")}\n`;
    }

    // The values that differ from a new form, as the address keeps them:
    // "tipo=cargo&codcargo=645&antiguedad=3".
    fragmento() {
        const valores = this.valores();
        const cambiados = new URLSearchParams();
        for (const [nombre, valor] of Object.entries(valores))
            if (valor !== this.inicial[nombre])
                cambiados.set(nombre, valor);
        return cambiados.toString();
    }

    // The form set to an address's values; the others as on a new form.
    leerFragmento(fragmento) {
        const valores = { ...this.inicial };
        for (const [nombre, valor] of new URLSearchParams(fragmento))
            if (Object.hasOwn(valores, nombre))
                valores[nombre] = valor;
        // A day of absence shows its box, as the check box would.
        if (valores.dinasist !== this.inicial.dinasist && !new URLSearchParams(fragmento).has("inasist"))
            valores.inasist = "1";
        for (const [nombre, valor] of Object.entries(valores)) {
            if (nombre === "tipo") {
                for (const opcion of this.form.querySelectorAll("input[name=tipo]"))
                    opcion.checked = opcion.value === valor;
                continue;
            }
            const control = this.control(nombre);
            if (control.type === "checkbox")
                control.checked = valor === "1";
            else if (control.tagName === "SELECT")
                elegirEnLista(control, valor);
            else
                control.value = valor;
        }
        this.mostrarSegunElegido();
    }

    // A click on one of the three options, as the entry window handles it.
    elegirTipo(tipo) {
        if (tipo === "cargo") {
            for (const nombre of ["numerohorasmed", "numerohorassup", ...HORAS_EXTRA])
                this.control(nombre).value = "0";
        } else if (tipo === "medio") {
            this.control("numerohorassup").value = "0";
        } else if (tipo === "superior") {
            this.control("numerohorasmed").value = "0";
        }
        this.mostrarSegunElegido();
    }

    // A check box with a count: unchecked, its box hides and holds "0".
    marcarConCantidad(casilla) {
        const cantidad = this.control(casilla.dataset.cantidad);
        if (!casilla.checked)
            cantidad.value = "0";
        this.mostrarSegunElegido();
    }

    mostrarSegunElegido() {
        const tipo = this.tipo();
        document.getElementById("bloque-cargo").hidden = tipo !== "cargo";
        document.getElementById("bloque-horas").hidden = tipo !== "medio" && tipo !== "superior";
        document.getElementById("caja-numerohorasmed").hidden = tipo !== "medio";
        document.getElementById("caja-numerohorassup").hidden = tipo !== "superior";
        for (const casilla of this.form.querySelectorAll("input[data-cantidad]"))
            document.getElementById(`caja-${casilla.dataset.cantidad}`).hidden = !casilla.checked;
    }
}
