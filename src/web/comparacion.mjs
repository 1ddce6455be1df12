// The official payslip typed or pasted beside the computed receipt, and the
// engine's comparison of the two: each line's state in words, the verdict
// and the likely causes, as the desktop's window shows them.

import { celda } from "./celdas.mjs";

// A payslip has no more lines than this; a longer paste is cut.
const MAS_FILAS = 100;

export class Comparacion {
    constructor(motor, formulario) {
        this.motor = motor;
        this.formulario = formulario;
        this.cuerpo = document.querySelector("#oficial tbody");
        this.recortadas = 0;
        this.cuerpo.addEventListener("input", () => this.comparar());
        this.cuerpo.addEventListener("paste", (evento) => this.pegar(evento));
        document.getElementById("otra-linea").addEventListener("click", () => {
            this.agregarFila("", "").querySelector("input").focus();
        });
        document.getElementById("comparar").addEventListener("toggle", () => this.comparar());
    }

    filas() {
        return [...this.cuerpo.rows].map((fila) => [...fila.querySelectorAll("input")].map((input) => input.value));
    }

    tieneImportes() {
        return this.filas().some(([, importe]) => importe !== "");
    }

    agregarFila(codigo, importe) {
        const fila = this.cuerpo.insertRow();
        const numero = this.cuerpo.rows.length;
        fila.insertCell().textContent = String(numero);
        for (const [valor, nombre, modo] of [[codigo, "Código", "numeric"], [importe, "Importe oficial", "decimal"]]) {
            const input = document.createElement("input");
            input.value = valor;
            input.inputMode = modo;
            input.maxLength = 40;
            input.setAttribute("aria-label", `${nombre}, fila ${numero}`);
            const td = fila.insertCell();
            td.append(input);
            if (nombre !== "Código")
                td.className = "importe";
        }
        return fila;
    }

    // The receipt's codes, offered while no amount has been typed.
    ofrecerCodigos(codigos) {
        if (this.tieneImportes() || this.filas().map(([codigo]) => codigo).join() === codigos.join())
            return;
        this.cuerpo.replaceChildren();
        for (const codigo of codigos)
            this.agregarFila(codigo, "");
    }

    // A column pasted from a spreadsheet fills the rows from the one pasted
    // into down: amounts alone, or code and amount separated by a tab.
    pegar(evento) {
        const texto = evento.clipboardData?.getData("text/plain") ?? "";
        if (!texto.includes("\n") && !texto.includes("\t"))
            return;
        evento.preventDefault();
        const lineas = texto.replace(/\r/g, "").replace(/\n+$/, "").split("\n");
        const desde = evento.target.closest("tr").rowIndex - 1;
        this.recortadas = Math.max(0, desde + lineas.length - MAS_FILAS);
        lineas.length -= this.recortadas;
        lineas.forEach((linea, i) => {
            const fila = this.cuerpo.rows[desde + i] ?? this.agregarFila("", "");
            const [codigo, importe] = fila.querySelectorAll("input");
            const partes = linea.split("\t");
            if (partes.length > 1)
                codigo.value = partes[0].trim();
            importe.value = partes.at(-1).trim();
        });
        this.comparar();
    }

    comparar() {
        if (!document.getElementById("comparar").open)
            return;
        const { nombres, celdas } = this.formulario.fila();
        const resultado = this.motor.compararOficial(nombres, celdas, this.filas(), true);
        const problemas = [...(resultado.problemas ?? [])];
        if (this.recortadas > 0)
            problemas.unshift(`Se dejaron afuera las últimas ${this.recortadas} líneas pegadas: un recibo no tiene más de ${MAS_FILAS} líneas. Revisá que copiaste sólo la columna de importes.`);
        const lista = document.getElementById("problemas-oficial");
        lista.replaceChildren(...problemas.map((problema) => Object.assign(document.createElement("li"), { textContent: problema })));
        lista.hidden = problemas.length === 0;
        const veredicto = document.getElementById("veredicto");
        const tabla = document.getElementById("comparacion");
        const causas = document.getElementById("causas");
        if (resultado.error !== undefined) {
            veredicto.textContent = `No hay un recibo calculado: ${resultado.error}`;
            tabla.hidden = true;
            causas.hidden = true;
            return;
        }
        if (veredicto.textContent !== resultado.veredicto)
            veredicto.textContent = resultado.veredicto;
        causas.querySelector("ul").replaceChildren(...resultado.causas.map((causa) => Object.assign(document.createElement("li"), { textContent: causa })));
        causas.hidden = resultado.causas.length === 0;
        tabla.tBodies[0].replaceChildren(...resultado.filas.map((fila) => {
            const tr = document.createElement("tr");
            if (fila.difiere)
                tr.className = "difiere";
            for (const [texto, clase] of [[fila.cod], [fila.descripcion, "descripcion"], [fila.oficial, "importe"], [fila.calculado, "importe"], [fila.diferencia, "importe"], [fila.estado, "estado"]])
                celda(tr, texto, clase);
            // Where our differing amount comes from, and the changes after
            // which it agrees, one tap away.
            if (fila.difiere && fila.explicacion) {
                const detalle = document.createElement("details");
                const resumen = document.createElement("summary");
                resumen.textContent = "De dónde sale";
                const texto = document.createElement("p");
                texto.textContent = fila.explicacion;
                detalle.append(resumen, texto);
                tr.cells[5].append(detalle);
            }
            return tr;
        }));
        tabla.hidden = false;
    }
}
