// The receipt on the page: a JSON line as recibo-lote writes it, shown line
// by line with the three totals. Each amount is a button; its explanation
// opens below it on a tap, a click or when the keyboard reaches it.

import { celda } from "./celdas.mjs";

const TOTALES = [
    ["total_haberes", "Total haberes"],
    ["total_descuentos", "Total descuentos"],
    ["liquido", "Líquido"],
];

export class ReciboVista {
    // `citar`: a typed text quoted as the engine's messages quote it.
    constructor(citar) {
        this.citar = citar;
        this.tabla = document.getElementById("lineas");
        this.estado = document.getElementById("estado");
        this.abierta = null;  // the key of the explanation shown
    }

    // The form's fields with the message of the one that is wrong, beside it.
    marcarError(campo, mensaje) {
        for (const error of document.querySelectorAll("#datos .error:not(#error-escala)")) {
            error.hidden = true;
            error.textContent = "";
        }
        for (const control of document.querySelectorAll("#datos [aria-invalid]"))
            control.removeAttribute("aria-invalid");
        const junto = campo && document.getElementById(`error-${campo}`);
        if (!junto)
            return;
        junto.textContent = mensaje;
        junto.hidden = false;
        document.getElementById(campo)?.setAttribute("aria-invalid", "true");
    }

    mostrarError(linea) {
        // "No seleccionaste cargo ni horas" belongs beside the three options;
        // the base points are the code's, so their message beside the code.
        const campo = linea.campo === "punbas" ? "codcargo"
            : linea.campo ?? (linea.error === "No seleccionaste cargo ni horas" ? "tipo" : undefined);
        const mensaje = this.mensajeDeLista(campo, linea) ?? linea.error;
        this.marcarError(campo, mensaje);
        this.estado.textContent = mensaje;
        this.estado.className = "error";
        document.getElementById("cabecera").hidden = true;
        this.tabla.hidden = true;
        document.getElementById("ayuda-importes").hidden = true;
        document.getElementById("imprimir").hidden = true;
    }

    // A list holding a value an address brought that is none of its options:
    // the engine words it as a table's column, which the page has not.
    mensajeDeLista(campo, linea) {
        const lista = campo && document.getElementById(campo);
        if (lista?.tagName !== "SELECT" || lista.selectedOptions[0]?.dataset.ajena === undefined)
            return undefined;
        const nombre = document.querySelector(`label[for="${campo}"]`).textContent;
        return `La dirección de la página trae ${this.citar(linea.texto)} en «${nombre}», que no es una de sus opciones: elegí una de la lista.`;
    }

    // `esCargo`: the receipt is of a position, not of hours.
    mostrar(linea, esCargo) {
        if (linea.error !== undefined) {
            this.mostrarError(linea);
            return;
        }
        this.marcarError();
        this.estado.textContent = "";
        this.estado.className = "";
        const cabecera = linea.cabecera;
        document.getElementById("recibo-docente").textContent = linea.docente ? `Docente: ${linea.docente}` : "";
        // A position with its code and points; hours by their kind alone.
        document.getElementById("cargo").textContent = esCargo
            ? `${cabecera.numcargo} · ${cabecera.carsel} · Puntos básicos: ${cabecera.punbasicos}`
            : cabecera.carsel;
        document.getElementById("recibo-escala").textContent = linea.escala;
        document.getElementById("cabecera").hidden = false;
        // Each line under its column's heading, in the receipt's order.
        for (const [columna, titulo] of [["haberes", "Haberes"], ["descuentos", "Descuentos"]]) {
            const grupo = document.getElementById(columna);
            grupo.replaceChildren();
            const lineas = linea.lineas.map((l, i) => [l, i]).filter(([l]) => l[columna] !== undefined);
            if (lineas.length > 0) {
                const fila = grupo.insertRow();
                fila.className = "grupo";
                const th = document.createElement("th");
                th.colSpan = 4;
                th.scope = "colgroup";
                th.textContent = titulo;
                fila.append(th);
            }
            for (const [l, i] of lineas)
                this.agregarLinea(grupo, `linea-${i}`, [l.cod, l.cantidad, l.descripcion], l[columna], l.explicacion);
        }
        const totales = document.getElementById("totales");
        totales.replaceChildren();
        for (const [clave, titulo] of TOTALES)
            this.agregarLinea(totales, clave, ["", "", titulo], linea[clave], linea[`explicacion_${clave}`], true);
        this.tabla.hidden = false;
        document.getElementById("ayuda-importes").hidden = false;
        document.getElementById("imprimir").hidden = false;
        if (this.abierta)
            this.abrir(this.abierta);
    }

    agregarLinea(grupo, clave, textos, importe, explicacion, total = false) {
        const fila = grupo.insertRow();
        fila.className = total ? "total" : "linea";
        for (const texto of textos)
            celda(fila, texto);
        const td = celda(fila, "", "importe");
        const boton = document.createElement("button");
        boton.type = "button";
        boton.className = "importe-boton";
        boton.textContent = importe;
        boton.dataset.clave = clave;
        boton.setAttribute("aria-expanded", "false");
        boton.setAttribute("aria-controls", `explicacion-${clave}`);
        boton.setAttribute("aria-label", `${textos[2]}: ${importe}`);
        boton.addEventListener("click", () => this.abrir(clave, true));
        // Reached with the keyboard: open at once. A tap or a click focuses
        // it too, but opens through "click" alone, so that it does not open
        // and close in one touch.
        boton.addEventListener("focus", () => {
            if (boton.matches(":focus-visible"))
                this.abrir(clave);
        });
        td.append(boton);
        const debajo = grupo.insertRow();
        debajo.className = "explicacion";
        debajo.id = `explicacion-${clave}`;
        debajo.hidden = true;
        const texto = celda(debajo, explicacion ?? "");
        texto.colSpan = 4;
        boton.setAttribute("aria-describedby", `explicacion-${clave}`);
    }

    // Shows one explanation and hides the one shown before; a second tap on
    // the same amount closes it.
    abrir(clave, alternar = false) {
        const cerrar = alternar && this.abierta === clave
            && document.getElementById(`explicacion-${clave}`)?.hidden === false;
        for (const fila of this.tabla.querySelectorAll("tr.explicacion"))
            fila.hidden = true;
        for (const boton of this.tabla.querySelectorAll("button[aria-expanded]"))
            boton.setAttribute("aria-expanded", "false");
        this.abierta = cerrar ? null : clave;
        if (cerrar)
            return;
        const fila = document.getElementById(`explicacion-${clave}`);
        if (!fila)
            return;
        fila.hidden = false;
        this.tabla.querySelector(`button[data-clave="${clave}"]`)?.setAttribute("aria-expanded", "true");
    }
}
