// A table cell with its text (and class), appended to a row: the receipt,
// its comparison and the printed sheet all build their rows of these.
export function celda(fila, texto, clase) {
    const td = fila.insertCell();
    td.textContent = texto ?? "";
    if (clase)
        td.className = clase;
    return td;
}
