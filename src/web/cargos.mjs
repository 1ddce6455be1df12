// The position chosen by its code, or found by a word of its name in a list
// that shows each code beside its name; a choice fills the code, as picking
// a name in the selection dialog does.

// More matches than this are not listed: a longer word narrows them.
const MAS_RESULTADOS = 30;

// Compared without accents or case: "MAESTRO" finds "Maestro".
const simple = (texto) => texto.normalize("NFD").replace(/[\u0300-\u036f]/g, "").toLowerCase();

export class Cargos {
    constructor(alElegir) {
        this.codigo = document.getElementById("codcargo");
        this.buscar = document.getElementById("buscar");
        this.resultados = document.getElementById("resultados");
        this.cuantos = document.getElementById("cuantos-cargos");
        this.alElegir = alElegir;
        this.lista = [];
        this.buscar.addEventListener("input", () => this.filtrar());
    }

    // [code, name, base points, basic complement, extended day, full day,
    // differentiated task] of each position, in the catalogue's order.
    usar(lista) {
        this.lista = lista.map((cargo) => ({ cargo, clave: simple(`${cargo[0]} ${cargo[1]}`) }));
        this.filtrar();
        this.mostrarElegido();
    }

    filtrar() {
        const palabras = simple(this.buscar.value).split(/\s+/).filter(Boolean);
        if (palabras.length === 0) {
            this.resultados.replaceChildren();
            this.cuantos.textContent = "";
            return;
        }
        const hallados = this.lista.filter(({ clave }) => palabras.every((palabra) => clave.includes(palabra)));
        this.cuantos.textContent = hallados.length === 0 ? "Ningún cargo tiene ese nombre."
            : hallados.length === 1 ? "1 cargo."
            : hallados.length > MAS_RESULTADOS ? `${hallados.length} cargos; se muestran los primeros ${MAS_RESULTADOS}: escribí más del nombre.`
            : `${hallados.length} cargos.`;
        this.resultados.replaceChildren(...hallados.slice(0, MAS_RESULTADOS).map(({ cargo }) => {
            const boton = document.createElement("button");
            boton.type = "button";
            boton.textContent = `${cargo[0]} · ${cargo[1]}`;
            boton.addEventListener("click", () => this.elegir(cargo[0]));
            const item = document.createElement("li");
            item.append(boton);
            return item;
        }));
    }

    elegir(codigo) {
        this.codigo.value = codigo;
        this.buscar.value = "";
        this.filtrar();
        this.codigo.focus();
        this.alElegir();
    }

    // The catalogue's points of the position whose code is typed, beside
    // the base points, as the receipt's panel shows them.
    puntos() {
        const cargo = this.lista.find(({ cargo }) => cargo[0] === this.codigo.value)?.cargo;
        return cargo ? { compbas: cargo[3], proljor: cargo[4], jorcom: cargo[5], tardif: cargo[6] } : {};
    }

    // The name and points of the position whose code is typed, and the
    // catalogue's points shown in the boxes that may change them.
    mostrarElegido() {
        const cargo = this.lista.find(({ cargo }) => cargo[0] === this.codigo.value)?.cargo;
        document.getElementById("cargo-elegido").textContent = cargo
            ? `${cargo[1]} · Puntos básicos: ${cargo[2]}` : "";
        ["compbas", "proljor", "jorcom", "tardif"].forEach((nombre, i) => {
            document.getElementById(nombre).placeholder = cargo ? cargo[3 + i] : "";
        });
    }
}
